#include "common/ConsoleCommand.h"
#include "common/Paths.h"

#include "support/ScriptedRandom.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

// Scripted draws that spell a name, so a test knows which file the command writes.
test::ScriptedRandom spelling(const char* name) {
  test::ScriptedRandom random;
  for (const char* c = name; *c; ++c) random.Push(*c - 'a');
  return random;
}

class RunConsoleCommandTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
  QString temp() const { return m_dir.path() + u'/'; }
  QStringList leftOver() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden); }

  QTemporaryDir m_dir;
};

struct OutputRow {
  const char* name;
  const char* command;
  const char* output;
};
void PrintTo(const OutputRow& row, std::ostream* os) { *os << row.name; }

class ConsoleOutputTest : public RunConsoleCommandTest, public testing::WithParamInterface<OutputRow> {};

TEST_P(ConsoleOutputTest, GivesLinesEndingInCrLf) {
  test::ScriptedRandom random = spelling("outfilea");
  EXPECT_EQ(RunConsoleCommand(QString::fromUtf8(GetParam().command), temp(), random),
            QString::fromUtf8(GetParam().output));
  EXPECT_TRUE(leftOver().isEmpty()) << leftOver().join(u' ').toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, ConsoleOutputTest, testing::Values(
    OutputRow{"TwoLines", "printf 'one\\ntwo\\n'", "one\r\ntwo\r\n"},
    OutputRow{"LastLineWithoutNewline", "printf 'one\\ntwo'", "one\r\ntwo\r\n"},
    OutputRow{"CrLfNotDoubled", "printf 'a\\r\\nb\\r\\n'", "a\r\nb\r\n"},
    OutputRow{"EmptyLinesKept", "printf 'a\\n\\nb\\n'", "a\r\n\r\nb\r\n"},
    OutputRow{"WholeCompoundCommandRedirected", "echo a; echo b", "a\r\nb\r\n"},
    OutputRow{"NothingPrinted", "true", ""},
    OutputRow{"StandardErrorDiscarded", "echo shown; echo hidden >&2", "shown\r\n"},
    OutputRow{"StandardInputIsEmpty", "cat; echo done", "done\r\n"},
    OutputRow{"CyrillicSurvives", "echo 'Зорвик'", "Зорвик\r\n"},
    OutputRow{"FailingCommandStillGivesOutput", "echo partial; exit 3", "partial\r\n"}),
    zv::test::RowName{});
// clang-format on

TEST_F(RunConsoleCommandTest, WritesToARandomNameInTemp) {
  // The command sees its own output file, named by the draws, in the Temp folder.
  test::ScriptedRandom random = spelling("abcdefgh");
  EXPECT_EQ(RunConsoleCommand(QStringLiteral("ls '") + m_dir.path() + u'\'', temp(), random),
            QStringLiteral("abcdefgh\r\n"));
  EXPECT_TRUE(random.Exhausted());
  EXPECT_TRUE(leftOver().isEmpty());
}

TEST_F(RunConsoleCommandTest, NeverOverwritesAFileAlreadyThere) {
  QFile existing(m_dir.filePath(QStringLiteral("aaaaaaaa")));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("keep");
  existing.close();
  test::ScriptedRandom random = spelling("aaaaaaaabbbbbbbb");
  EXPECT_EQ(RunConsoleCommand(QStringLiteral("echo x"), temp(), random), QStringLiteral("x\r\n"));
  ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
  EXPECT_EQ(existing.readAll(), QByteArray("keep"));
  EXPECT_EQ(leftOver(), QStringList{QStringLiteral("aaaaaaaa")});
}

TEST_F(RunConsoleCommandTest, ShellThatCannotStartGivesEmptyText) {
  test::ScriptedRandom random;
  EXPECT_EQ(
      RunConsoleCommand(QStringLiteral("echo x"), temp(), random, m_dir.filePath(QStringLiteral("no-such-shell"))),
      QString());
  EXPECT_TRUE(leftOver().isEmpty());
}

TEST_F(RunConsoleCommandTest, UnwritableTempGivesEmptyTextWithoutRunning) {
  test::ScriptedRandom random;
  const QString marker = m_dir.filePath(QStringLiteral("ran"));
  EXPECT_EQ(RunConsoleCommand(
                QStringLiteral("touch '") + marker + u'\'', m_dir.filePath(QStringLiteral("missing")) + u'/', random),
            QString());
  EXPECT_FALSE(QFile::exists(marker));
}

TEST(RandomNameTest, EightLettersFromAToZ) {
  test::ScriptedRandom random{0, 25, 1, 24, 2, 23, 12, 13};
  EXPECT_EQ(RandomName(random), QStringLiteral("azbycxmn"));
  EXPECT_EQ(random.Calls(), 8);
  ClockSeededRandom real(7);
  for (int i = 0; i < 50; ++i) {
    const QString name = RandomName(real);
    ASSERT_EQ(name.size(), 8);
    for (QChar c : name) ASSERT_TRUE(c >= u'a' && c <= u'z') << name.toStdString();
  }
}

TEST(PathsTest, TrailingSlashOnlyWhereMissing) {
  EXPECT_EQ(IncludeTrailingSlash(QString()), QString());
  EXPECT_EQ(IncludeTrailingSlash(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
  EXPECT_EQ(IncludeTrailingSlash(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
}

TEST(PathsTest, TempIsTmpdirOrTmp) {
  QProcessEnvironment env;
  EXPECT_EQ(TempFolderFrom(env), QStringLiteral("/tmp/"));
  env.insert(QStringLiteral("TMPDIR"), QString());
  EXPECT_EQ(TempFolderFrom(env), QStringLiteral("/tmp/"));
  env.insert(QStringLiteral("TMPDIR"), QStringLiteral("/var/tmp/user"));
  EXPECT_EQ(TempFolderFrom(env), QStringLiteral("/var/tmp/user/"));
  env.insert(QStringLiteral("Temp"), QStringLiteral("/elsewhere"));
  EXPECT_EQ(TempFolderFrom(env), QStringLiteral("/var/tmp/user/"));
}

TEST(OemConversionTest, ConsoleTextIsUtf8BothWays) {
  const QString text = QStringLiteral("Программа «Зорвик» ё");
  EXPECT_EQ(TextToOem(text), text.toUtf8());
  EXPECT_EQ(OemToText(TextToOem(text)), text);
}

}  // namespace
}  // namespace zv
