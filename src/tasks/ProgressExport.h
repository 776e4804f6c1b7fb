#pragma once
// The progress file: a registry-editor import file (REGEDIT4, ASCII, CR LF) that puts the
// program key into the state of the running program when it is imported.
//
// The writer is a pure function of the values: the key path, FirstDate (an OLE date), the
// stored states of the selectors that exist in this run and RCount. Each selector's bytes are
// exactly the binary value the settings store for it (little-endian 32-bit words, tail bits
// clear). The groups are written in the fixed order of kExportOrder whatever order the caller
// lists them in, so each owner (the main window, the correct-answer window, the sound layer)
// adds its own without knowing the others'; a name outside that order follows the known ones.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zv {

struct SelectorState {
  QString name;
  QByteArray bytes;
};

inline constexpr std::array<std::string_view, 19> kExportOrder = {"Heart",
                                                                  "DoneHeart",
                                                                  "HeartP",
                                                                  "HeartRC",
                                                                  "HeartF",
                                                                  "HeartM0",
                                                                  "HeartM1",
                                                                  "HeartM2",
                                                                  "HeartM3",
                                                                  "HeartM4",
                                                                  "HeartM5",
                                                                  "HeartN",
                                                                  "HeartS",
                                                                  "HeartT",
                                                                  "HeartY",
                                                                  "HeartOC",
                                                                  "HeartYC",
                                                                  "HeartNC",
                                                                  "HeartTC"};

// The whole file. `keyPath` is relative to HKEY_CURRENT_USER ("Software\Ostwin\Zorvik").
QByteArray ProgressExportBytes(const QString& keyPath, double firstDate, std::vector<SelectorState> selectors,
                               std::int32_t rCount);

// One binary value as the file writes it: "=hex:" and the bytes as upper-case pairs separated
// by commas, a "," + backslash continuation after every 32nd byte when more follow, CR LF.
QByteArray HexValueText(const QByteArray& bytes);

}  // namespace zv
