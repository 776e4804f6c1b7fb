#include "platform/RegFile.h"
#include "platform/Registry.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <map>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

const QString kZorvik = u"Software\\Ostwin\\Zorvik"_s;
const QString kShellFolders = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"_s;

class RegistryTest : public ::testing::Test {
 protected:
  QString hiveDir() const { return m_tmp.filePath(u"hives"_s); }

  RegistryPaths paths(const QString& dir) const {
    RegistryPaths p;
    p.currentUserDir = p.localMachineDir = p.usersDir = dir;
    p.desktopDir = u"/home/tester/Рабочий стол"_s;
    p.programsDir = u"/home/tester/.local/share/applications"_s;
    p.startupDir = u"/home/tester/.config/autostart"_s;
    p.commonProgramsDir = u"/usr/share/applications"_s;
    return p;
  }
  RegistryPaths paths() const { return paths(hiveDir()); }
  QString hivePath(RootKey root = RootKey::CurrentUser) const { return paths().hiveFile(root); }

  void plantHive(const QByteArray& bytes) {
    QDir().mkpath(hiveDir());
    QFile f(hivePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray hiveBytes(RootKey root = RootKey::CurrentUser) const {
    QFile f(hivePath(root));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The hive as another process would first see it: copied to a folder no Registry of this
  // process has read, so the values come from parsing the file.
  RegistryPaths copiedHive() {
    const QString dir = m_tmp.filePath(u"copy%1"_s.arg(++m_copies));
    QDir().mkpath(dir);
    for (RootKey r : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users})
      QFile::copy(hivePath(r), paths(dir).hiveFile(r));
    return paths(dir);
  }

  QTemporaryDir m_tmp;
  int m_copies = 0;
};

// ---- typed values -------------------------------------------------------------------------

struct TypedRow {
  const char* name;
  std::function<void(Registry&)> write;
  std::function<void(Registry&)> check;
  RegType type;
  int size;
};
void PrintTo(const TypedRow& row, std::ostream* os) { *os << row.name; }

class RegistryTypedValue : public RegistryTest, public ::testing::WithParamInterface<TypedRow> {};

QByteArray distinctBytes(int n) {
  QByteArray b;
  for (int i = 0; i < n; ++i) b.append(char((i * 37 + 11) & 0xFF));
  return b;
}

// Written by one accessor, flushed, and read back by another from the parsed file.
TEST_P(RegistryTypedValue, SurvivesTheHiveFile) {
  const TypedRow& row = GetParam();
  {
    Registry writer(paths());
    ASSERT_TRUE(writer.OpenKey(kZorvik, true));
    row.write(writer);
    writer.CloseKey();
  }
  Registry reader(copiedHive());
  ASSERT_TRUE(reader.OpenKey(kZorvik, false));
  row.check(reader);
  const QString value = reader.GetValueNames().value(0, u"?"_s);
  EXPECT_EQ(reader.GetValueNames().size(), 1);
  EXPECT_EQ(reader.GetDataType(value), row.type);
  EXPECT_EQ(reader.GetDataSize(value), row.size);
}

const QString kTricky = u"Ёжик \"в\" C:\\туман\t中"_s;

INSTANTIATE_TEST_SUITE_P(
    Types, RegistryTypedValue,
    ::testing::Values(TypedRow{"negativeInteger",
                               [](Registry& r) { r.WriteInteger(u"Count"_s, -123456789); },
                               [](Registry& r) { EXPECT_EQ(r.ReadInteger(u"Count"_s), -123456789); },
                               RegType::DWord,
                               4},
                      TypedRow{"bool",
                               [](Registry& r) { r.WriteBool(u"Flag"_s, true); },
                               [](Registry& r) {
                                 EXPECT_TRUE(r.ReadBool(u"Flag"_s));
                                 EXPECT_EQ(r.ReadInteger(u"Flag"_s), 1);
                               },
                               RegType::DWord,
                               4},
                      TypedRow{"stringWithQuotesAndBackslashes",
                               [](Registry& r) { r.WriteString(u"Name"_s, kTricky); },
                               [](Registry& r) { EXPECT_EQ(r.ReadString(u"Name"_s), kTricky); },
                               RegType::String,
                               int(2 * kTricky.size() + 2)},
                      TypedRow{"stringWithLineBreaks",
                               [](Registry& r) { r.WriteString(u"Text"_s, u"a\r\nб"_s); },
                               [](Registry& r) { EXPECT_EQ(r.ReadString(u"Text"_s), u"a\r\nб"_s); },
                               RegType::String,
                               10},
                      TypedRow{"emptyString",
                               [](Registry& r) { r.WriteString(u"E"_s, QString()); },
                               [](Registry& r) { EXPECT_EQ(r.ReadString(u"E"_s), QString()); },
                               RegType::String,
                               2},
                      TypedRow{"expandString",
                               [](Registry& r) { r.WriteExpandString(u"Path"_s, u"%TEMP%\\Зорвик"_s); },
                               [](Registry& r) { EXPECT_EQ(r.ReadString(u"Path"_s), u"%TEMP%\\Зорвик"_s); },
                               RegType::ExpandString,
                               28},
                      TypedRow{"dateTime",
                               [](Registry& r) { r.WriteDateTime(u"When"_s, 45123.7512345); },
                               [](Registry& r) { EXPECT_EQ(r.ReadDateTime(u"When"_s), 45123.7512345); },
                               RegType::Binary,
                               8},
                      TypedRow{"binaryOverSeveralLines",
                               [](Registry& r) { r.WriteBinaryData(u"Used"_s, distinctBytes(300).constData(), 300); },
                               [](Registry& r) {
                                 QByteArray buf(400, '\0');
                                 ASSERT_EQ(r.ReadBinaryData(u"Used"_s, buf.data(), 400), 300);
                                 EXPECT_EQ(buf.first(300), distinctBytes(300));
                               },
                               RegType::Binary,
                               300},
                      TypedRow{"emptyBinary",
                               [](Registry& r) { r.WriteBinaryData(u"B"_s, nullptr, 0); },
                               [](Registry& r) {
                                 char c = 'x';
                                 EXPECT_EQ(r.ReadBinaryData(u"B"_s, &c, 1), 0);
                               },
                               RegType::Binary,
                               0},
                      TypedRow{"defaultValue",
                               [](Registry& r) { r.WriteString(QString(), u"по умолчанию"_s); },
                               [](Registry& r) { EXPECT_EQ(r.ReadString(QString()), u"по умолчанию"_s); },
                               RegType::String,
                               26},
                      TypedRow{"rawMultiString",
                               [](Registry& r) {
                                 r.WriteRaw(
                                     u"M"_s, RegType::MultiString, QByteArray::fromHex("610000003104000000000000"));
                               },
                               [](Registry& r) {
                                 EXPECT_EQ(r.ReadRaw(u"M"_s), QByteArray::fromHex("610000003104000000000000"));
                               },
                               RegType::MultiString,
                               12}),
    zv::test::RowName{});

// ---- type and size mismatches -------------------------------------------------------------

struct MismatchRow {
  const char* name;
  const char* stored;  // data of "v" in the hive file
  std::function<void(Registry&)> read;
  bool throws;
};
void PrintTo(const MismatchRow& row, std::ostream* os) { *os << row.name; }

class RegistryTypedRead : public RegistryTest, public ::testing::WithParamInterface<MismatchRow> {};

TEST_P(RegistryTypedRead, FailsExactlyOnAMismatch) {
  const MismatchRow& row = GetParam();
  plantHive("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n\"v\"=" + QByteArray(row.stored) +
            "\r\n");
  Registry r(paths());
  ASSERT_TRUE(r.OpenKey(kZorvik, false));
  if (row.throws)
    EXPECT_THROW(row.read(r), RegistryError);
  else
    EXPECT_NO_THROW(row.read(r));
}

int readBinary(Registry& r, int bufSize) {
  QByteArray buf(16, '\0');
  return r.ReadBinaryData(u"v"_s, buf.data(), bufSize);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, RegistryTypedRead,
    ::testing::Values(
        MismatchRow{"dwordAsDate", "dword:00000001", [](Registry& r) { r.ReadDateTime(u"v"_s); }, true},
        MismatchRow{"binary7AsDate", "hex:00,00,00,00,00,00,f8", [](Registry& r) { r.ReadDateTime(u"v"_s); }, true},
        MismatchRow{
            "binary9AsDate", "hex:00,00,00,00,00,00,f8,3f,00", [](Registry& r) { r.ReadDateTime(u"v"_s); }, true},
        MismatchRow{"binary8AsDate",
                    "hex:00,00,00,00,00,00,f8,3f",
                    [](Registry& r) { EXPECT_EQ(r.ReadDateTime(u"v"_s), 1.5); },
                    false},
        MismatchRow{"stringAsDate", "\"1.5\"", [](Registry& r) { r.ReadDateTime(u"v"_s); }, true},
        MismatchRow{"stringAsInteger", "\"42\"", [](Registry& r) { r.ReadInteger(u"v"_s); }, true},
        MismatchRow{"binary4AsInteger", "hex:2a,00,00,00", [](Registry& r) { r.ReadInteger(u"v"_s); }, true},
        MismatchRow{"dwordOfTwoBytesAsInteger", "hex(4):2a,00", [](Registry& r) { r.ReadInteger(u"v"_s); }, true},
        MismatchRow{"dwordOfTwoBytesAsBool", "hex(4):01,00", [](Registry& r) { r.ReadBool(u"v"_s); }, true},
        MismatchRow{"stringAsBool", "\"1\"", [](Registry& r) { r.ReadBool(u"v"_s); }, true},
        MismatchRow{
            "anyNonZeroDwordIsTrue", "dword:00000100", [](Registry& r) { EXPECT_TRUE(r.ReadBool(u"v"_s)); }, false},
        MismatchRow{"expandAsString",
                    "hex(2):41,00,42,00,00,00",
                    [](Registry& r) { EXPECT_EQ(r.ReadString(u"v"_s), u"AB"_s); },
                    false},
        MismatchRow{"multiAsString", "hex(7):41,00,00,00,00,00", [](Registry& r) { r.ReadString(u"v"_s); }, true},
        MismatchRow{"dwordAsString", "dword:0000002a", [](Registry& r) { r.ReadString(u"v"_s); }, true},
        MismatchRow{"binaryAsString", "hex:41,00,00,00", [](Registry& r) { r.ReadString(u"v"_s); }, true},
        MismatchRow{"stringAsBinary", "\"abc\"", [](Registry& r) { readBinary(r, 16); }, true},
        MismatchRow{"expandAsBinary", "hex(2):41,00,00,00", [](Registry& r) { readBinary(r, 16); }, true},
        MismatchRow{"binaryLargerThanBuffer", "hex:01,02,03", [](Registry& r) { readBinary(r, 2); }, true},
        MismatchRow{
            "binaryFillingTheBuffer", "hex:01,02,03", [](Registry& r) { EXPECT_EQ(readBinary(r, 3), 3); }, false},
        MismatchRow{"absentInteger", "dword:00000001", [](Registry& r) { r.ReadInteger(u"w"_s); }, true},
        MismatchRow{"absentBool", "dword:00000001", [](Registry& r) { r.ReadBool(u"w"_s); }, true},
        MismatchRow{"absentDate", "dword:00000001", [](Registry& r) { r.ReadDateTime(u"w"_s); }, true},
        MismatchRow{"absentBinary",
                    "dword:00000001",
                    [](Registry& r) {
                      char c;
                      r.ReadBinaryData(u"w"_s, &c, 1);
                    },
                    true},
        MismatchRow{"absentStringReadsEmpty",
                    "dword:00000001",
                    [](Registry& r) { EXPECT_EQ(r.ReadString(u"w"_s), QString()); },
                    false},
        MismatchRow{"absentHasNoTypeOrSize",
                    "dword:00000001",
                    [](Registry& r) {
                      EXPECT_EQ(r.GetDataType(u"w"_s), RegType::None);
                      EXPECT_EQ(r.GetDataSize(u"w"_s), -1);
                      EXPECT_FALSE(r.ValueExists(u"w"_s));
                    },
                    false}),
    zv::test::RowName{});

TEST_F(RegistryTest, ValueOperationsWithoutAnOpenKeyThrow) {
  Registry r(paths());
  const std::map<std::string, std::function<void()>> ops = {
      {"ReadInteger", [&] { r.ReadInteger(u"v"_s); }},
      {"ReadString", [&] { r.ReadString(u"v"_s); }},
      {"ReadBool", [&] { r.ReadBool(u"v"_s); }},
      {"ReadDateTime", [&] { r.ReadDateTime(u"v"_s); }},
      {"ValueExists", [&] { r.ValueExists(u"v"_s); }},
      {"GetValueNames", [&] { r.GetValueNames(); }},
      {"GetKeyNames", [&] { r.GetKeyNames(); }},
      {"WriteInteger", [&] { r.WriteInteger(u"v"_s, 1); }},
      {"WriteString", [&] { r.WriteString(u"v"_s, u"x"_s); }},
      {"WriteBinaryData", [&] { r.WriteBinaryData(u"v"_s, "x", 1); }},
      {"DeleteValue", [&] { r.DeleteValue(u"v"_s); }},
  };
  for (const auto& [name, op] : ops) EXPECT_THROW(op(), RegistryError) << name << " with no key";
  ASSERT_TRUE(r.OpenKey(kZorvik, true));
  r.CloseKey();
  for (const auto& [name, op] : ops) EXPECT_THROW(op(), RegistryError) << name << " after CloseKey";
}

TEST_F(RegistryTest, ReadOnlyKeyRefusesWrites) {
  Registry r(paths());
  ASSERT_TRUE(r.OpenKey(kZorvik, true));
  r.WriteInteger(u"v"_s, 7);
  ASSERT_TRUE(r.OpenKeyReadOnly(u"\\"_s + kZorvik));
  EXPECT_EQ(r.ReadInteger(u"v"_s), 7);
  EXPECT_THROW(r.WriteInteger(u"v"_s, 8), RegistryError);
  EXPECT_THROW(r.DeleteValue(u"v"_s), RegistryError);
  EXPECT_FALSE(r.OpenKeyReadOnly(u"\\Software\\Missing"_s));
}

// ---- names and paths ----------------------------------------------------------------------

TEST_F(RegistryTest, NamesMatchCaseInsensitivelyAndKeepTheirFirstSpelling) {
  {
    Registry r(paths());
    ASSERT_TRUE(r.OpenKey(u"Software\\Ostwin\\Zorvik"_s, true));
    r.WriteInteger(u"ExamCount"_s, 1);
    ASSERT_TRUE(r.OpenKey(u"\\SOFTWARE\\ostwin\\ZORVIK"_s, true));
    r.WriteInteger(u"EXAMCOUNT"_s, 2);
    EXPECT_EQ(r.CurrentPath(), u"Software\\Ostwin\\Zorvik"_s);
    r.CloseKey();
  }
  EXPECT_TRUE(hiveBytes().contains("[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n\"ExamCount\"=dword:00000002"));
  Registry r(copiedHive());
  ASSERT_TRUE(r.OpenKey(u"software\\OSTWIN\\zorvik"_s, false));
  EXPECT_EQ(r.ReadInteger(u"examcount"_s), 2);
  EXPECT_EQ(r.GetValueNames(), QStringList{u"ExamCount"_s});
  EXPECT_EQ(r.CurrentPath(), u"Software\\Ostwin\\Zorvik"_s);
}

TEST_F(RegistryTest, OpenKeyTakesRelativeAndAbsolutePaths) {
  Registry r(paths());
  ASSERT_TRUE(r.OpenKey(u"Software\\Ostwin"_s, true));
  ASSERT_TRUE(r.OpenKey(u"Zorvik\\Exam"_s, true));  // relative to the open key
  EXPECT_EQ(r.CurrentPath(), u"Software\\Ostwin\\Zorvik\\Exam"_s);
  ASSERT_TRUE(r.OpenKey(u"\\Software"_s, false));
  EXPECT_EQ(r.CurrentPath(), u"Software"_s);
  EXPECT_FALSE(r.OpenKey(u"Missing"_s, false));
  EXPECT_EQ(r.CurrentPath(), u"Software"_s) << "a failed open must leave the open key as it was";
  EXPECT_TRUE(r.KeyExists(u"Ostwin\\Zorvik"_s));
  EXPECT_FALSE(r.KeyExists(u"Zorvik"_s));
  EXPECT_EQ(r.GetKeyNames(), (QStringList{u"Microsoft"_s, u"Ostwin"_s}));
  r.CloseKey();
  EXPECT_TRUE(r.KeyExists(u"Software\\Ostwin\\Zorvik\\Exam"_s)) << "no open key: from the root";
  ASSERT_TRUE(r.OpenKey(QString(), false));
  EXPECT_EQ(r.CurrentPath(), QString());
  EXPECT_EQ(r.GetKeyNames(), QStringList{u"Software"_s});
}

TEST_F(RegistryTest, PendingChangesStayVisibleAcrossKeysUntilTheyAreWritten) {
  Registry r(paths());
  ASSERT_TRUE(r.OpenKey(kZorvik, true));
  r.WriteString(u"A"_s, u"первый"_s);
  ASSERT_TRUE(r.OpenKey(u"\\Software\\Ostwin\\Other"_s, true));
  r.WriteInteger(u"B"_s, 2);
  ASSERT_TRUE(r.OpenKey(u"\\"_s + kZorvik, false));
  EXPECT_EQ(r.ReadString(u"A"_s), u"первый"_s);
  EXPECT_FALSE(QFile::exists(hivePath())) << "switching keys must not write";
  r.CloseKey();
  Registry reader(copiedHive());
  ASSERT_TRUE(reader.OpenKey(u"Software\\Ostwin\\Other"_s, false));
  EXPECT_EQ(reader.ReadInteger(u"B"_s), 2);
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeSubtree) {
  {
    Registry r(paths());
    ASSERT_TRUE(r.OpenKey(u"Software\\Ostwin\\A\\B\\C"_s, true));
    r.WriteInteger(u"deep"_s, 1);
    ASSERT_TRUE(r.OpenKey(u"\\Software\\Ostwin\\A\\D"_s, true));
    r.WriteInteger(u"kept"_s, 2);
    r.CloseKey();
    EXPECT_TRUE(r.DeleteKey(u"software\\ostwin\\a\\b"_s));
    EXPECT_FALSE(r.DeleteKey(u"Software\\Ostwin\\A\\B"_s)) << "already gone";
    EXPECT_FALSE(r.DeleteKey(QString())) << "the root cannot be deleted";
    EXPECT_FALSE(r.KeyExists(u"Software\\Ostwin\\A\\B\\C"_s));
    r.CloseKey();
  }
  EXPECT_FALSE(hiveBytes().contains("\\B")) << hiveBytes().toStdString();
  Registry r(copiedHive());
  ASSERT_TRUE(r.OpenKey(u"Software\\Ostwin\\A"_s, false));
  EXPECT_EQ(r.GetKeyNames(), QStringList{u"D"_s});
}

TEST_F(RegistryTest, UnstorableNamesAndValuesAreRefused) {
  Registry r(paths());
  EXPECT_THROW(r.OpenKey(u"Software\\bad\nname"_s, true), RegistryError);
  EXPECT_THROW(r.OpenKey(u"Software\\"_s + QString(256, u'k'), true), RegistryError);
  ASSERT_TRUE(r.OpenKey(kZorvik, true));
  EXPECT_THROW(r.WriteInteger(u"line\nbreak"_s, 1), RegistryError);
  EXPECT_THROW(r.WriteBinaryData(u"v"_s, nullptr, 4), RegistryError);
  const QByteArray huge(1024 * 1024 + 1, 'h');
  EXPECT_THROW(r.WriteBinaryData(u"v"_s, huge.constData(), int(huge.size())), RegistryError);
  EXPECT_FALSE(r.ValueExists(u"v"_s));
}

// ---- durability ---------------------------------------------------------------------------

TEST_F(RegistryTest, OpeningAKeySeesAnotherWritersChangesAndKeepsOwnPendingOnes) {
  Registry mine(paths());
  ASSERT_TRUE(mine.OpenKey(kZorvik, true));
  mine.WriteInteger(u"Mine"_s, 11);
  {
    Registry other(paths());
    ASSERT_TRUE(other.OpenKey(kZorvik, true));
    other.WriteInteger(u"Theirs"_s, 22);
    other.WriteInteger(u"Mine"_s, 99);  // replaced by mine: mine is written later
    other.CloseKey();
  }
  EXPECT_FALSE(mine.ValueExists(u"Theirs"_s)) << "values are re-read when a key is opened, not on every read";
  ASSERT_TRUE(mine.OpenKey(u"\\"_s + kZorvik, false));
  EXPECT_EQ(mine.ReadInteger(u"Theirs"_s), 22);
  EXPECT_EQ(mine.ReadInteger(u"Mine"_s), 11);
  mine.CloseKey();
  Registry reader(copiedHive());
  ASSERT_TRUE(reader.OpenKey(kZorvik, false));
  EXPECT_EQ(reader.ReadInteger(u"Theirs"_s), 22);
  EXPECT_EQ(reader.ReadInteger(u"Mine"_s), 11);
}

// Writes between two flushes replace each other in the journal; the replay must still give
// the last value of each, in the first spelling of its name.
TEST_F(RegistryTest, ManyWritesBeforeOneFlushKeepTheLastOfEach) {
  {
    Registry r(paths());
    ASSERT_TRUE(r.OpenKey(kZorvik, true));
    r.WriteInteger(u"Alpha"_s, -1);
    for (int i = 0; i < 1000; ++i) {
      r.WriteInteger(i % 2 ? u"ALPHA"_s : u"alpha"_s, i);
      r.WriteInteger(u"Beta"_s, -i);
      if (i % 7 == 0) r.WriteString(u"Gamma"_s, u"g%1"_s.arg(i));
      if (i % 100 == 50) r.DeleteValue(u"Gamma"_s);
      if (i == 500) {
        ASSERT_TRUE(r.OpenKey(u"\\Software\\Ostwin\\Other"_s, true));
      }
    }
    EXPECT_EQ(r.ReadInteger(u"Alpha"_s), 999);
  }
  Registry r(copiedHive());
  ASSERT_TRUE(r.OpenKey(kZorvik, false));
  EXPECT_EQ(r.GetValueNames(), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
  EXPECT_EQ(r.ReadInteger(u"Alpha"_s), 500);
  EXPECT_EQ(r.ReadInteger(u"Beta"_s), -500);
  EXPECT_EQ(r.ReadString(u"Gamma"_s), u"g497"_s);
  ASSERT_TRUE(r.OpenKey(u"\\Software\\Ostwin\\Other"_s, false));
  EXPECT_EQ(r.GetValueNames(), (QStringList{u"ALPHA"_s, u"Beta"_s, u"Gamma"_s}));
  EXPECT_EQ(r.ReadInteger(u"alpha"_s), 999);
  EXPECT_EQ(r.ReadInteger(u"Beta"_s), -999);
  EXPECT_EQ(r.ReadString(u"Gamma"_s), u"g994"_s);
}

// A folder where the temp file must go makes every write fail, even for root (who ignores
// read-only permissions).
TEST_F(RegistryTest, FailingWriteThrowsFromTheFlushAndKeepsTheChanges) {
  ASSERT_TRUE(QDir().mkpath(hivePath() + u".tmp"_s));
  Registry r(paths());
  ASSERT_TRUE(r.OpenKey(kZorvik, true));
  r.WriteInteger(u"Kept"_s, 5);
  EXPECT_THROW(r.CloseKey(), RegistryError);
  EXPECT_FALSE(QFile::exists(hivePath()));
  ASSERT_TRUE(r.OpenKey(kZorvik, false));
  EXPECT_EQ(r.ReadInteger(u"Kept"_s), 5);
  EXPECT_THROW(r.SetRootKey(RootKey::LocalMachine), RegistryError);
  EXPECT_EQ(r.GetRootKey(), RootKey::CurrentUser);

  EXPECT_NO_THROW({
    Registry doomed(paths());
    doomed.OpenKey(kZorvik, true);
    doomed.WriteInteger(u"Lost"_s, 1);
  }) << "the destructor must swallow a failing flush";

  ASSERT_TRUE(QDir(hivePath() + u".tmp"_s).removeRecursively());
  r.CloseKey();  // the retained change is written now
  Registry reader(copiedHive());
  ASSERT_TRUE(reader.OpenKey(kZorvik, false));
  EXPECT_EQ(reader.ReadInteger(u"Kept"_s), 5);
}

TEST_F(RegistryTest, EachRootIsItsOwnFileAndSwitchingRootsWrites) {
  Registry r(paths());
  r.SetRootKey(RootKey::LocalMachine);
  ASSERT_TRUE(r.OpenKey(u"SOFTWARE\\Ostwin"_s, true));
  r.WriteString(u"InstallDir"_s, u"/opt/Zorvik/"_s);
  r.SetRootKey(RootKey::Users);
  EXPECT_FALSE(r.HasCurrentKey());
  EXPECT_TRUE(hiveBytes(RootKey::LocalMachine)
                  .contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostwin]\r\n\"InstallDir\"=\"/opt/Zorvik/\""));
  ASSERT_TRUE(r.OpenKey(u".DEFAULT\\Software"_s, true));
  r.CloseKey();
  EXPECT_TRUE(hiveBytes(RootKey::Users).startsWith("REGEDIT4\r\n\r\n[HKEY_USERS\\.DEFAULT\\Software]\r\n"));
  EXPECT_FALSE(QFile::exists(hivePath(RootKey::CurrentUser)));
}

// ---- hostile hives ------------------------------------------------------------------------

struct HostileRow {
  const char* name;
  std::function<void(const QString& hive)> plant;
};
void PrintTo(const HostileRow& row, std::ostream* os) { *os << row.name; }

class RegistryHostileHive : public RegistryTest, public ::testing::WithParamInterface<HostileRow> {};

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

TEST_P(RegistryHostileHive, IsMovedAsideAndTheRootStartsEmpty) {
  QDir().mkpath(hiveDir());
  GetParam().plant(hivePath());
  const qint64 plantedSize = QFileInfo(hivePath()).size();
  {
    Registry r(paths());
    EXPECT_FALSE(r.KeyExists(kZorvik));
    ASSERT_TRUE(r.OpenKey(kZorvik, true));
    r.WriteInteger(u"Fresh"_s, 3);
    r.CloseKey();
  }
  const QStringList aside = QDir(hiveDir()).entryList({u"*.corrupt-*"_s}, QDir::AllEntries | QDir::Hidden);
  ASSERT_EQ(aside.size(), 1)
      << QDir(hiveDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u' ').toStdString();
  EXPECT_TRUE(QRegularExpression(u"^HKEY_CURRENT_USER\\.reg\\.corrupt-\\d{8}-\\d{6}$"_s).match(aside[0]).hasMatch())
      << aside[0].toStdString();
  EXPECT_EQ(QFileInfo(QDir(hiveDir()).filePath(aside[0])).size(), plantedSize);
  EXPECT_EQ(QDir(m_tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"hives"_s})
      << "nothing may be written outside the hive's folder";

  const regfile::ReadResult fresh = regfile::Read(hiveBytes(), regfile::Regedit4Text::Utf16le);
  ASSERT_TRUE(fresh.ok());
  Registry reader(copiedHive());
  ASSERT_TRUE(reader.OpenKey(kZorvik, false));
  EXPECT_EQ(reader.ReadInteger(u"Fresh"_s), 3);
}

const QByteArray kHeader = "REGEDIT4\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryHostileHive,
    ::testing::Values(
        HostileRow{"binaryGarbage",
                   [](const QString& p) {
                     QByteArray b;
                     for (int i = 0; i < 5000; ++i) b.append(char((i * 131) & 0xFF));
                     writeFile(p, b);
                   }},
        HostileRow{"valueBeforeAnyKey", [](const QString& p) { writeFile(p, kHeader + "\"v\"=dword:00000001\r\n"); }},
        HostileRow{
            "unterminatedString",
            [](const QString& p) { writeFile(p, kHeader + "[HKEY_CURRENT_USER\\Software]\r\n\"v\"=\"open\r\n"); }},
        HostileRow{
            "badHex",
            [](const QString& p) { writeFile(p, kHeader + "[HKEY_CURRENT_USER\\Software]\r\n\"v\"=hex:0g\r\n"); }},
        HostileRow{
            "overlongLine",
            [](const QString& p) {
              writeFile(p, kHeader + "[HKEY_CURRENT_USER\\Software]\r\n\"v\"=\"" + QByteArray(2 << 20, 'x') + "\"\r\n");
            }},
        HostileRow{"sectionOfAnotherRoot",
                   [](const QString& p) { writeFile(p, kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostwin]\r\n"); }},
        HostileRow{"hugeSparseFile",
                   [](const QString& p) {
                     QFile f(p);
                     ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                     f.write(kHeader);
                     ASSERT_TRUE(f.resize(regfile::kMaxFileBytes + 1));
                   }},
        HostileRow{"folderInPlaceOfTheFile", [](const QString& p) { ASSERT_TRUE(QDir().mkpath(p + u"/inner"_s)); }}),
    zv::test::RowName{});

TEST_F(RegistryTest, WritesStayInTheHiveFolder) {
  {
    Registry r(paths());
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users}) {
      r.SetRootKey(root);
      ASSERT_TRUE(r.OpenKey(u"Software\\Ostwin"_s, true));
      r.WriteString(u"v"_s, u"x"_s);
      r.CloseKey();
    }
    plantHive("not a hive");
    r.SetRootKey(RootKey::CurrentUser);
    EXPECT_FALSE(r.KeyExists(u"Software\\Ostwin"_s));
  }
  const QRegularExpression allowed(
      u"^hives/HKEY_(CURRENT_USER|LOCAL_MACHINE|USERS)\\.reg(\\.lock|\\.corrupt-\\d{8}-\\d{6})?$"_s);
  QDirIterator it(m_tmp.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  int files = 0;
  while (it.hasNext()) {
    const QString rel = QDir(m_tmp.path()).relativeFilePath(it.next());
    if (rel == u"hives"_s) continue;
    ++files;
    EXPECT_TRUE(allowed.match(rel).hasMatch()) << rel.toStdString();
  }
  EXPECT_EQ(files, 2 + 3 + 1) << "two hives, three locks, one moved aside; no temp file left";
}

// ---- computed values ----------------------------------------------------------------------

struct ComputedRow {
  const char* name;
  RootKey root;
  QString key;
  QString value;
  QString expected;
};
void PrintTo(const ComputedRow& row, std::ostream* os) { *os << row.name; }

class RegistryComputedValue : public RegistryTest, public ::testing::WithParamInterface<ComputedRow> {};

TEST_P(RegistryComputedValue, IsAnsweredReadOnlyAndNeverStored) {
  const ComputedRow& row = GetParam();
  Registry r(paths());
  r.SetRootKey(row.root);
  EXPECT_TRUE(r.KeyExists(row.key.toUpper()));
  ASSERT_TRUE(r.OpenKey(row.key.toLower(), false));
  EXPECT_EQ(r.ReadString(row.value), row.expected);
  EXPECT_EQ(r.GetDataType(row.value), RegType::String);
  EXPECT_TRUE(r.GetValueNames().contains(row.value));
  EXPECT_THROW(r.WriteString(row.value, u"/elsewhere"_s), RegistryError);
  EXPECT_THROW(r.WriteInteger(row.value.toUpper(), 1), RegistryError);
  EXPECT_THROW(r.DeleteValue(row.value), RegistryError);
  r.WriteString(u"Stored"_s, u"s"_s);  // other values of the key are ordinary
  r.CloseKey();
  EXPECT_TRUE(hiveBytes(row.root).contains("\"Stored\"=\"s\""));
  EXPECT_FALSE(hiveBytes(row.root).contains("\"" + row.value.toUtf8() + "\""));
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryComputedValue,
    ::testing::Values(
        ComputedRow{"desktop", RootKey::CurrentUser, kShellFolders, u"Desktop"_s, u"/home/tester/Рабочий стол"_s},
        ComputedRow{"programs",
                    RootKey::CurrentUser,
                    kShellFolders,
                    u"Programs"_s,
                    u"/home/tester/.local/share/applications"_s},
        ComputedRow{"startup", RootKey::CurrentUser, kShellFolders, u"Startup"_s, u"/home/tester/.config/autostart"_s},
        ComputedRow{
            "commonPrograms", RootKey::LocalMachine, kShellFolders, u"Common Programs"_s, u"/usr/share/applications"_s},
        ComputedRow{"commonDesktop", RootKey::LocalMachine, kShellFolders, u"Common Desktop"_s, QString()},
        ComputedRow{"programFilesDir",
                    RootKey::LocalMachine,
                    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"_s,
                    u"ProgramFilesDir"_s,
                    u"/opt/"_s}),
    zv::test::RowName{});

TEST_F(RegistryTest, ComputedKeysExistAndCannotBeDeleted) {
  Registry r(paths());
  EXPECT_TRUE(r.KeyExists(u"Software\\Microsoft\\Windows"_s));
  EXPECT_FALSE(r.KeyExists(u"Software\\Microsoft\\Office"_s));
  EXPECT_FALSE(r.KeyExists(u"Software\\Microsoft\\Windows\\CurrentVersion"_s + u"\\Explorer\\Shell Folders\\X"_s));
  EXPECT_THROW(r.DeleteKey(u"Software\\Microsoft"_s), RegistryError);
  ASSERT_TRUE(r.OpenKey(u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"_s, false));
  EXPECT_EQ(r.GetKeyNames(), QStringList{u"Shell Folders"_s});
  r.SetRootKey(RootKey::Users);
  EXPECT_FALSE(r.KeyExists(kShellFolders)) << "HKEY_USERS has no computed values";
}

// ---- where the hives live -----------------------------------------------------------------

class EnvironmentGuard {
 public:
  void set(const char* name, const QByteArray& value) {
    remember(name);
    qputenv(name, value);
  }
  void unset(const char* name) {
    remember(name);
    qunsetenv(name);
  }
  ~EnvironmentGuard() {
    for (const auto& [name, value] : m_saved) {
      if (value)
        qputenv(name.c_str(), *value);
      else
        qunsetenv(name.c_str());
    }
  }

 private:
  void remember(const char* name) {
    if (!m_saved.count(name))
      m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
  }
  std::map<std::string, std::optional<QByteArray>> m_saved;
};

TEST_F(RegistryTest, PathsFollowTheEnvironment) {
  const QString home = m_tmp.filePath(u"home"_s);
  EnvironmentGuard env;
  env.set("HOME", home.toUtf8());
  env.unset("XDG_DATA_HOME");

  env.set("ZORVIK_REGISTRY_DIR", m_tmp.filePath(u"portable"_s).toUtf8());
  RegistryPaths p = RegistryPaths::fromEnvironment();
  EXPECT_EQ(p.hiveFile(RootKey::CurrentUser), m_tmp.filePath(u"portable/HKEY_CURRENT_USER.reg"_s));
  EXPECT_EQ(p.hiveFile(RootKey::LocalMachine), m_tmp.filePath(u"portable/HKEY_LOCAL_MACHINE.reg"_s));
  EXPECT_EQ(p.hiveFile(RootKey::Users), m_tmp.filePath(u"portable/HKEY_USERS.reg"_s));

  env.unset("ZORVIK_REGISTRY_DIR");
  env.unset("XDG_CONFIG_HOME");
  p = RegistryPaths::fromEnvironment();
  EXPECT_EQ(p.hiveFile(RootKey::CurrentUser), home + u"/.config/Ostwin/registry/HKEY_CURRENT_USER.reg"_s);
  EXPECT_EQ(p.hiveFile(RootKey::LocalMachine), u"/etc/Ostwin/registry/HKEY_LOCAL_MACHINE.reg"_s);
  EXPECT_EQ(p.hiveFile(RootKey::Users), u"/etc/Ostwin/registry/HKEY_USERS.reg"_s);
  EXPECT_EQ(p.desktopDir, home + u"/Desktop"_s) << "no desktop configured";
  EXPECT_EQ(p.programsDir, home + u"/.local/share/applications"_s);
  EXPECT_EQ(p.startupDir, home + u"/.config/autostart"_s);
  EXPECT_EQ(p.commonProgramsDir, u"/usr/share/applications"_s);

  const QString config = m_tmp.filePath(u"cfg"_s);
  env.set("XDG_CONFIG_HOME", config.toUtf8());
  QDir().mkpath(config);
  writeFile(config + u"/user-dirs.dirs"_s, "XDG_DESKTOP_DIR=\"$HOME/Стол\"\n");
  p = RegistryPaths::fromEnvironment();
  EXPECT_EQ(p.hiveFile(RootKey::CurrentUser), config + u"/Ostwin/registry/HKEY_CURRENT_USER.reg"_s);
  EXPECT_EQ(p.startupDir, config + u"/autostart"_s);
  if (QStandardPaths::findExecutable(u"xdg-user-dir"_s).isEmpty())
    EXPECT_EQ(p.desktopDir, home + u"/Desktop"_s);
  else
    EXPECT_EQ(p.desktopDir, home + u"/Стол"_s);
}

}  // namespace
}  // namespace zv
