#include "platform/RegFile.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QStringList>

#include <random>
#include <string>

namespace zv::regfile {

// Readable failure output for documents.
void PrintTo(const Document& doc, std::ostream* os) { *os << Write(doc).toStdString(); }

namespace {

using namespace Qt::StringLiterals;

Value sz(const QString& text) { return {kTypeString, StringData(text)}; }
Value dword(std::uint32_t n) {
  QByteArray data;
  for (int i = 0; i < 4; ++i) data.append(char((n >> (8 * i)) & 0xFF));
  return {kTypeDWord, data};
}

// A byte string literal with its NULs.
template <std::size_t N>
QByteArray bytes(const char (&s)[N]) {
  return QByteArray(s, N - 1);
}
Value hex(std::uint32_t type, const char* hexBytes) { return {type, QByteArray::fromHex(hexBytes)}; }

Section key(const char* path, std::vector<ValueLine> values = {}) {
  return Section{QString::fromUtf8(path), false, std::move(values)};
}

QByteArray utf16leWithBom(const QString& text) {
  QByteArray out("\xFF\xFE", 2);
  for (QChar c : text) {
    out.append(char(c.unicode() & 0xFF));
    out.append(char(c.unicode() >> 8));
  }
  return out;
}

constexpr const char* kZorvik = "HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik";

// ---- what is accepted -------------------------------------------------------------------

struct Accepted {
  const char* name;
  QByteArray file;
  Regedit4Text text;
  Document expected;
};

void PrintTo(const Accepted& row, std::ostream* os) { *os << row.name; }

class RegFileAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(RegFileAccepts, ReadsTheDocumentAnEditorMeant) {
  const Accepted& row = GetParam();
  const ReadResult r = Read(row.file, row.text);
  ASSERT_TRUE(r.ok()) << "line " << r.error->line << ": " << r.error->message.toStdString();
  EXPECT_EQ(r.document, row.expected);
}

const QByteArray kHead = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Forms, RegFileAccepts,
    ::testing::Values(
        Accepted{"quotedStringWithEscapes",
                 kHead + "\"Name\"=\"Иван \\\"Ваня\\\" C:\\\\tmp\"\r\n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{u"Name"_s, sz(u"Иван \"Ваня\" C:\\tmp"_s)}})}}},
        Accepted{"lfLineEndsAndSpacesAroundEquals",
                 "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\n\"A\" = \"b\"  \n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{u"A"_s, sz(u"b"_s)}})}}},
        Accepted{"utf8Bom",
                 "\xEF\xBB\xBF" + kHead + "@=\"ё\"\r\n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{QString(), sz(u"ё"_s)}})}}},
        Accepted{"dwordShortAndUpperCase",
                 kHead + "\"A\"=dword:2a\r\n\"B\"=DWORD:FFFFFFFF\r\n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{u"A"_s, dword(42)}, {u"B"_s, dword(0xFFFFFFFF)}})}}},
        Accepted{"hexContinuationIndentedOrNot",
                 kHead + "\"B\"=hex:01,02,\\\r\n  03,04,\\\r\n05 , 06,\r\n\"E\"=hex:\r\n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{u"B"_s, hex(kTypeBinary, "010203040506")}, {u"E"_s, hex(kTypeBinary, "")}})}}},
        Accepted{"hexOtherTypesKeptRaw",
                 kHead + "\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n\"N\"=hex(0):\r\n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{u"Q"_s, hex(11, "0100000000000000")}, {u"N"_s, hex(0, "")}})}}},
        Accepted{"regedit4ExpandAndMultiAreWindows1251",
                 kHead + "\"X\"=hex(2):c0,e1,00\r\n\"M\"=hex(7):61,00,e1,00,00\r\n",
                 Regedit4Text::Windows1251,
                 {{key(kZorvik, {{u"X"_s, hex(2, "100431040000")}, {u"M"_s, hex(7, "61000000310400000000")}})}}},
        Accepted{"ownRegedit4ExpandIsUtf16",
                 kHead + "\"X\"=hex(2):25,00,41,00,00,00\r\n",
                 Regedit4Text::Utf16le,
                 {{key(kZorvik, {{u"X"_s, hex(2, "250041000000")}})}}},
        Accepted{
            "version5Utf16leWithBom",
            utf16leWithBom(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Я]\r\n"
                           u"\"X\"=hex(2):25,00,41,00,00,00\r\n\"S\"=\"мир\"\r\n"_s),
            Regedit4Text::Windows1251,
            {{key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Я", {{u"X"_s, hex(2, "250041000000")}, {u"S"_s, sz(u"мир"_s)}})}}},
        Accepted{"version5InUtf8",
                 "Windows Registry Editor Version 5.00\n\n[HKEY_USERS\\.DEFAULT]\n\"X\"=hex(2):41,00,00,00\n",
                 Regedit4Text::Windows1251,
                 {{key("HKEY_USERS\\.DEFAULT", {{u"X"_s, hex(2, "41000000")}})}}},
        Accepted{"commentsBlankLinesIndentation",
                 "REGEDIT4\r\n; exported\r\n\r\n  [HKEY_CURRENT_USER\\Software]  \r\n\t; note\r\n  \"A\"=\"1\"\r\n\r\n",
                 Regedit4Text::Windows1251,
                 {{key("HKEY_CURRENT_USER\\Software", {{u"A"_s, sz(u"1"_s)}})}}},
        Accepted{"deletionsAndDefaultValue",
                 "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Old]\r\n\r\n[HKEY_CURRENT_USER\\New]\r\n\"Gone\"=-\r\n"
                 "@=dword:00000001\r\n\"\"=\"x\"\r\n",
                 Regedit4Text::Windows1251,
                 {{Section{u"HKEY_CURRENT_USER\\Old"_s, true, {}},
                   key("HKEY_CURRENT_USER\\New",
                       {{u"Gone"_s, std::nullopt}, {QString(), dword(1)}, {QString(), sz(u"x"_s)}})}}},
        Accepted{"emptyKeyAndRepeatedSections",
                 "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n[HKEY_CURRENT_USER\\B]\n\"x\"=\"1\"\n[hkey_current_user\\a]\n",
                 Regedit4Text::Windows1251,
                 {{key("HKEY_CURRENT_USER\\A"),
                   key("HKEY_CURRENT_USER\\B", {{u"x"_s, sz(u"1"_s)}}),
                   key("hkey_current_user\\a")}}}),
    zv::test::RowName{});

// ---- what is refused --------------------------------------------------------------------

struct Refused {
  const char* name;
  QByteArray file;
  int line;
  const char* messagePart;
};

void PrintTo(const Refused& row, std::ostream* os) { *os << row.name; }

class RegFileRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(RegFileRefuses, NamesTheLineAndTheFault) {
  const Refused& row = GetParam();
  const ReadResult r = Read(row.file);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error->line, row.line);
  EXPECT_TRUE(r.error->message.contains(QString::fromUtf8(row.messagePart), Qt::CaseInsensitive))
      << r.error->message.toStdString();
  EXPECT_TRUE(r.document.sections.empty()) << "a refused file must not yield a partial document";
}

const QByteArray kKey = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n";  // value lines start at line 4

INSTANTIATE_TEST_SUITE_P(
    Faults, RegFileRefuses,
    ::testing::Values(
        Refused{"emptyFile", "", 1, "header"},
        Refused{"wrongHeader", "REGEDIT5\n\n[HKEY_CURRENT_USER\\K]\n", 1, "header"},
        Refused{"binaryGarbage",
                bytes("\x7F"
                      "ELF\x02\x01\x00\x00"),
                1,
                "header"},
        Refused{"valueBeforeAnyKey", "REGEDIT4\n\n\"a\"=\"b\"\n", 3, "before any [KEY]"},
        Refused{"valueUnderKeyDeletion", "REGEDIT4\n\n[-HKEY_CURRENT_USER\\K]\n\"a\"=-\n", 4, "deletion"},
        Refused{"unterminatedString", kKey + "\"a\"=\"abc\n\"b\"=\"c\"\n", 4, "unterminated string"},
        Refused{"unterminatedName", kKey + "\"abc=x\n", 4, "unterminated value name"},
        Refused{"unknownEscape", kKey + "\"a\"=\"x\\ty\"\n", 4, "unknown escape"},
        Refused{"textAfterClosingQuote", kKey + "\"a\"=\"x\" y\n", 4, "after the closing quote"},
        Refused{"missingEquals", kKey + "\"a\" \"x\"\n", 4, "expected '='"},
        Refused{"unknownData", kKey + "\"a\"=qword:1\n", 4, "unrecognised value data"},
        Refused{"dwordTooLong", kKey + "\"a\"=dword:123456789\n", 4, "dword"},
        Refused{"dwordNotHex", kKey + "\"a\"=dword:12g4\n", 4, "dword"},
        Refused{"badHexByte", kKey + "\"a\"=hex:01,zz\n", 4, "bad hex byte"},
        Refused{"threeDigitHexByte", kKey + "\"a\"=hex:010\n", 4, "bad hex byte"},
        Refused{"badHexOnContinuationLine", kKey + "\"a\"=hex:01,\\\n  02,\\\n  0x\n", 6, "bad hex byte"},
        Refused{"emptyByteBetweenCommas", kKey + "\"a\"=hex:01,,02\n", 4, "empty byte"},
        Refused{"continuationPastEnd", kKey + "\"a\"=hex:01,\\\n", 4, "past the end"},
        Refused{"badHexType", kKey + "\"a\"=hex(zz):00\n", 4, "hex(N)"},
        Refused{"hexWithoutColon", kKey + "\"a\"=hex 00\n", 4, "':'"},
        Refused{"unrecognisedLine", kKey + "\"a\"=\"1\"\nname=value\n", 5, "unrecognised line"},
        Refused{"keyWithoutClosingBracket", "REGEDIT4\n\n[HKEY_CURRENT_USER\\K\n", 3, "']'"},
        Refused{"unknownRoot", "REGEDIT4\n\n[HKEY_NOWHERE\\K]\n", 3, "unknown root"},
        Refused{"emptyKeyNameInPath", "REGEDIT4\n\n[HKEY_CURRENT_USER\\\\K]\n", 3, "empty key name"},
        Refused{
            "keyNameTooLong", "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + QByteArray(256, 'k') + "]\n", 3, "longer than 255"},
        Refused{"nulInText", bytes("REGEDIT4\n\n[HKEY_CURRENT_USER\\K\0]\n"), 3, "control character"},
        Refused{"invalidUtf8", kKey + "\"a\"=\"\xC3\x28\"\n", 4, "UTF-8"},
        Refused{"utf16BigEndian", bytes("\xFE\xFF\0R"), 1, "big-endian"},
        Refused{"utf16OddLength", utf16leWithBom(u"REGEDIT4\r\n"_s) + "X", 2, "middle of a character"},
        Refused{"overlongLine", kKey + "\"a\"=\"" + QByteArray(kMaxLineChars, 'x') + "\"\n", 4, "longer than"}),
    zv::test::RowName{});

// ---- writing ----------------------------------------------------------------------------

TEST(RegFileWrite, ProducesTheRegedit4FormWithCrlf) {
  const Document doc{{key(kZorvik,
                          {{u"Name"_s, sz(u"a\"b\\c Ж"_s)},
                           {u"Count"_s, dword(42)},
                           {QString(), hex(kTypeBinary, "01ff")},
                           {u"Path"_s, hex(kTypeExpandString, "25000000")},
                           {u"Gone"_s, std::nullopt}}),
                      Section{u"HKEY_CURRENT_USER\\Old"_s, true, {}}}};
  EXPECT_EQ(Write(doc).toStdString(),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n"
            "\"Name\"=\"a\\\"b\\\\c Ж\"\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "@=hex:01,ff\r\n"
            "\"Path\"=hex(2):25,00,00,00\r\n"
            "\"Gone\"=-\r\n"
            "\r\n"
            "[-HKEY_CURRENT_USER\\Old]\r\n"
            "\r\n");
}

TEST(RegFileWrite, WrapsHexListsAsRegistryEditorsDo) {
  QByteArray data;
  for (int i = 0; i < 50; ++i) data.append(char(i));
  const QString text = QString::fromUtf8(Write({{key(kZorvik, {{u"Data"_s, Value{kTypeBinary, data}}})}}));
  const QStringList lines = text.split(u"\r\n"_s);
  // "Data"=hex: takes 11 columns, so 22 bytes fit before column 78; then 25 per line.
  ASSERT_GE(lines.size(), 6);
  EXPECT_EQ(lines[3], u"\"Data\"=hex:"_s + QString::fromLatin1(data.first(22).toHex(',')) + u",\\"_s);
  EXPECT_EQ(lines[4], u"  "_s + QString::fromLatin1(data.sliced(22, 25).toHex(',')) + u",\\"_s);
  EXPECT_EQ(lines[5], u"  "_s + QString::fromLatin1(data.sliced(47).toHex(',')));
  for (const QString& line : lines) EXPECT_LE(line.size(), 80) << line.toStdString();
}

// Every document the reader can produce survives writing and reading back, including values
// that cannot be quoted strings (they fall back to hex(1)) and hex lists at every wrap point.
TEST(RegFileWrite, ReadOfWriteIsTheSameDocument) {
  std::vector<ValueLine> values = {
      {u"plain"_s, sz(u"Зорвик \"q\" \\ tab\there"_s)},
      {u"empty"_s, sz(QString())},
      {u"newline"_s, sz(u"line1\r\nline2"_s)},
      {u"embeddedNul"_s, hex(kTypeString, "410000004200000000")},
      {u"textPastTheLineLimit"_s, sz(QString(600000, u'ж'))},
      {u"noTerminator"_s, hex(kTypeString, "4100")},
      {u"oddSize"_s, hex(kTypeString, "410000")},
      {u"loneSurrogate"_s, hex(kTypeString, "00d80000")},
      {u"expand"_s, Value{kTypeExpandString, StringData(u"%TEMP%\\Ё中"_s)}},
      {u"multi"_s, hex(kTypeMultiString, "61000000620000000000")},
      {u"shortDword"_s, hex(kTypeDWord, "0102")},
      {u"dword"_s, dword(0x80000000)},
      {u"qword"_s, hex(11, "0102030405060708")},
      {u"typeZero"_s, hex(0, "")},
      {u"bigType"_s, hex(0xFFFFFFFF, "00")},
      {u"deleted"_s, std::nullopt},
      {QString(), sz(u"default"_s)},
      {u"name with \"quotes\" and \\ [brackets] = ; @"_s, dword(1)},
      {QString(200, u'n'), hex(kTypeBinary, "0102")},
  };
  for (int n : {0, 1, 21, 22, 23, 24, 46, 47, 48, 1000}) {
    QByteArray bytes;
    for (int i = 0; i < n; ++i) bytes.append(char(i * 7));
    values.push_back({u"bin%1"_s.arg(n), Value{kTypeBinary, bytes}});
  }
  const Document doc{{key(kZorvik, values),
                      Section{u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostwin"_s, true, {}},
                      key("HKEY_USERS\\.DEFAULT\\Пусто"),
                      key(kZorvik, {{u"plain"_s, dword(2)}})}};
  const ReadResult r = Read(Write(doc), Regedit4Text::Utf16le);
  ASSERT_TRUE(r.ok()) << "line " << r.error->line << ": " << r.error->message.toStdString();
  EXPECT_EQ(r.document, doc);
}

// Hostile input: mutations of real files must never crash or hang, and whatever the reader
// accepts must round-trip.
TEST(RegFileRead, SurvivesMutatedInput) {
  const QByteArray seed = Write({{key(kZorvik,
                                      {{u"Name"_s, sz(u"Иван"_s)},
                                       {u"Count"_s, dword(7)},
                                       {u"Blob"_s,
                                        hex(kTypeBinary,
                                            "000102030405060708090a0b0c0d0e0f"
                                            "101112131415161718191a1b1c1d1e1f")},
                                       {u"X"_s, hex(2, "c0e100")}})}});
  const QByteArray alphabet = "\"\\[]@=-:,;()\r\n\t 0aFxhexdword\xD0\xFF";
  std::mt19937 random(20260101);
  auto pick = [&](qsizetype n) { return qsizetype(std::uniform_int_distribution<qsizetype>(0, n - 1)(random)); };
  for (int round = 0; round < 4000; ++round) {
    QByteArray file = seed;
    const int edits = 1 + int(pick(4));
    for (int e = 0; e < edits; ++e) {
      switch (pick(5)) {
        case 0:
          file[pick(file.size())] = alphabet[pick(alphabet.size())];
          break;
        case 1:
          file.insert(pick(file.size()), alphabet[pick(alphabet.size())]);
          break;
        case 2:
          file.remove(pick(file.size()), 1 + pick(8));
          break;
        case 3:
          file.truncate(pick(file.size() + 1));
          break;
        case 4:
          file[pick(file.size())] = char(pick(256));
          break;
      }
      if (file.isEmpty()) file = "R";
    }
    for (Regedit4Text text : {Regedit4Text::Windows1251, Regedit4Text::Utf16le}) {
      const ReadResult r = Read(file, text);
      if (!r.ok()) {
        ASSERT_GE(r.error->line, 1);
        ASSERT_FALSE(r.error->message.isEmpty());
        continue;
      }
      const ReadResult back = Read(Write(r.document), Regedit4Text::Utf16le);
      ASSERT_TRUE(back.ok()) << file.toStdString();
      ASSERT_EQ(back.document, r.document) << file.toStdString();
    }
  }
}

}  // namespace
}  // namespace zv::regfile
