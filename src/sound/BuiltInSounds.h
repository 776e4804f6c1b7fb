#pragma once
// The two sounds the program holds itself: the tick (1664 bytes) and the tack (3068 bytes) of
// the time limit's tick-tock, complete WAV files. They are stored delta-coded behind one seed
// byte (BuiltInSoundData.cpp, made by tools/builtin/make_builtin_sounds.py) and restored once.

#include "sound/SoundService.h"

#include <QByteArray>

#include <array>
#include <span>

namespace zv {

namespace builtin {
extern const std::array<unsigned char, 1665> kTickStored;
extern const std::array<unsigned char, 3069> kTackStored;
}  // namespace builtin

// Each byte from the second on gets the byte before it (already restored) added, modulo 256;
// the first byte is the seed and is not part of the sound.
QByteArray DeltaDecode(std::span<const unsigned char> stored);

// The restored file of a built-in sound (decoded on first use).
const QByteArray& BuiltInSoundFile(BuiltInSound sound);

}  // namespace zv
