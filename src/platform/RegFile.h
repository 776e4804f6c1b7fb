#pragma once
// RegFile: the codec of registration files (.reg), shared by the registry store's hive files,
// the progress export and the zvregedit import tool. Pure functions over bytes, no I/O.
//
// A Document is the file's content as a sequence of operations, in file order: each Section
// names a key (created when missing, or deleted with its subkeys for "[-KEY]") and the values
// set or deleted in it. Value data is kept in the form the registry stores it: REG_SZ,
// REG_EXPAND_SZ and REG_MULTI_SZ as UTF-16LE with their terminators, REG_DWORD as 4 bytes
// little-endian, everything else as the raw bytes of its hex(N) list.
//
// Reading accepts what registry editors write:
//  - the headers "REGEDIT4" and "Windows Registry Editor Version 5.00";
//  - UTF-8 with or without BOM, and UTF-16LE with BOM (version-5 editors write that);
//  - CRLF or LF line ends, blank lines, whole-line ";" comments;
//  - [KEY], [-KEY], "name"="text", @=..., "name"=dword:..., hex:, hex(N): with "\" continuation
//    lines (indented or not), "name"=- to delete a value.
// Anything else is refused with the 1-based line number and an English message.
//
// The bytes of hex(1)/hex(2)/hex(7) values (text types) are UTF-16LE in version-5 documents.
// In REGEDIT4 documents registry editors write them in the ANSI code page (Windows-1251 here),
// but Write() writes them as UTF-16LE, as a version-5 editor does, so that text outside
// Windows-1251 survives. The caller therefore says which REGEDIT4 form it reads: Windows1251
// for files from registry editors, Utf16le for files this codec wrote (hive files, exports).
//
// Write() produces "REGEDIT4", a blank line, then each section followed by a blank line, CRLF
// line ends, UTF-8 without BOM; strings escape "\" and "\""; hex lists wrap with ",\" and
// two-space indentation so that no line passes 80 columns. A REG_SZ that cannot be written
// as a quoted string (control characters, embedded terminators, missing terminator, unpaired
// surrogates, text too long for one line) is written as hex(1): instead, so nothing is lost:
//   Read(Write(d), Regedit4Text::Utf16le).document == d for every document Read() returns.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace zv::regfile {

inline constexpr std::uint32_t kTypeString = 1;
inline constexpr std::uint32_t kTypeExpandString = 2;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDWord = 4;
inline constexpr std::uint32_t kTypeMultiString = 7;

// Limits that keep hostile input bounded; registry editors stay far below them.
inline constexpr qsizetype kMaxFileBytes = 64 * 1024 * 1024;
inline constexpr qsizetype kMaxLineChars = 1024 * 1024;
inline constexpr qsizetype kMaxKeyNameChars = 255;  // one path component
inline constexpr qsizetype kMaxValueNameChars = 16383;
inline constexpr qsizetype kMaxKeyDepth = 512;

struct Value {
  std::uint32_t type = 0;
  QByteArray data;
  friend bool operator==(const Value&, const Value&) = default;
};

struct ValueLine {
  QString name;                // "" is the default value, written "@"
  std::optional<Value> value;  // nothing: delete the value ("name"=-)
  friend bool operator==(const ValueLine&, const ValueLine&) = default;
};

struct Section {
  QString path;         // as written, e.g. HKEY_CURRENT_USER\Software\Ostwin\Zorvik
  bool remove = false;  // [-path]: delete the key with all its subkeys
  std::vector<ValueLine> values;
  friend bool operator==(const Section&, const Section&) = default;
};

struct Document {
  std::vector<Section> sections;
  friend bool operator==(const Document&, const Document&) = default;
};

struct ParseError {
  int line = 0;  // 1-based
  QString message;
};

// Where a section and each of its value lines start in the file (1-based), for messages about
// a line that parsed but cannot be applied.
struct SectionLines {
  int line = 0;
  std::vector<int> values;
};

struct ReadResult {
  Document document;
  std::vector<SectionLines> lines;  // parallel to document.sections
  std::optional<ParseError> error;
  bool ok() const { return !error; }
};

enum class Regedit4Text { Windows1251, Utf16le };

ReadResult Read(QByteArrayView bytes, Regedit4Text regedit4Text = Regedit4Text::Windows1251);
QByteArray Write(const Document& document);

// The root key names a section path may start with (HKEY_CURRENT_USER, ...).
bool IsRootKeyName(QStringView name);

// A name that Write() can put on a line: no control characters other than tab, valid UTF-16.
bool IsWritableName(QStringView name);

// Text <-> stored form of the string types.
QByteArray StringData(QStringView text);      // UTF-16LE plus terminator
QString StringFromData(QByteArrayView data);  // up to the first terminator; odd byte ignored

}  // namespace zv::regfile
