#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/RegImport.h"
#include "platform/Registry.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <deque>
#include <map>

namespace zv::regimport {
namespace {

using namespace Qt::StringLiterals;

const QByteArray kZorvikKey = "[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]";

QByteArray utf16leWithBom(const QString& text) {
  QByteArray out("\xFF\xFE", 2);
  for (QChar c : text) {
    out.append(char(c.unicode() & 0xFF));
    out.append(char(c.unicode() >> 8));
  }
  return out;
}

QByteArray windows1251(const QString& text) { return *cp1251::Encode(text); }

QByteArray dword(std::uint32_t n) {
  QByteArray data;
  for (int i = 0; i < 4; ++i) data.append(char((n >> (8 * i)) & 0xFF));
  return data;
}

// What a value reads back as after the import: nothing when absent.
struct Expected {
  QString path;  // below HKEY_CURRENT_USER
  QString name;
  std::optional<std::pair<RegType, QByteArray>> value;
};

class ImportFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_tmp.isValid());
    // A hive with progress already in it, which an import must keep or replace value by value.
    Registry r(m_paths);
    r.OpenKey(u"Software\\Ostwin\\Zorvik"_s, true);
    r.WriteInteger(u"RCount"_s, 7);
    r.WriteString(u"AskFont"_s, u"Arial"_s);
    r.CloseKey();
    m_before = hives();
  }

  RegistryPaths paths() const {
    RegistryPaths p;
    p.currentUserDir = p.localMachineDir = p.usersDir = m_tmp.filePath(u"hives"_s);
    p.desktopDir = m_tmp.filePath(u"desktop"_s);
    p.programsDir = p.startupDir = p.commonProgramsDir = m_tmp.filePath(u"apps"_s);
    return p;
  }

  // Every file of the hive folder with its bytes.
  std::map<QString, QByteArray> hives() const {
    std::map<QString, QByteArray> out;
    const QDir dir(paths().currentUserDir);
    for (const QString& name : dir.entryList(QDir::Files)) {
      QFile f(dir.filePath(name));
      if (f.open(QIODevice::ReadOnly)) out[name] = f.readAll();
    }
    return out;
  }

  std::optional<std::pair<RegType, QByteArray>> read(const QString& path, const QString& name) {
    Registry r(paths());
    if (!r.OpenKeyReadOnly(path)) return std::nullopt;
    if (!r.ValueExists(name)) return std::nullopt;
    return std::pair{r.GetDataType(name), r.ReadRaw(name)};
  }

  QString writeFile(const QByteArray& bytes) {
    const QString file = m_tmp.filePath(u"import.reg"_s);
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return file;
  }

  QTemporaryDir m_tmp;
  RegistryPaths m_paths = paths();
  std::map<QString, QByteArray> m_before;
};

// ---- the table of files -------------------------------------------------------------------

struct FileCase {
  const char* name;
  QByteArray file;
  int refusedAtLine;  // 0: accepted
  std::vector<Expected> expected;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ImportFiles : public ImportFixture, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ImportFiles, AddsAllOrNothing) {
  const FileCase& row = GetParam();
  const ImportPlan plan = PlanImport(row.file);
  const std::optional<ImportError> error = plan.ok() ? ApplyImport(plan, paths()) : plan.error;
  if (row.refusedAtLine == 0) {
    ASSERT_FALSE(error) << "line " << error->line << ": " << error->reason.toStdString();
  } else {
    ASSERT_TRUE(error) << "accepted a file that must be refused";
    EXPECT_EQ(error->line, row.refusedAtLine) << error->reason.toStdString();
    EXPECT_FALSE(error->reason.isEmpty());
    EXPECT_EQ(hives(), m_before) << "a refused file changed the hives";
  }
  for (const Expected& e : row.expected)
    EXPECT_EQ(read(e.path, e.name), e.value) << e.path.toStdString() << " / " << e.name.toStdString();
}

const QString kZorvik = u"Software\\Ostwin\\Zorvik"_s;
const auto kKept = Expected{kZorvik, u"RCount"_s, std::pair{RegType::DWord, dword(7)}};

INSTANTIATE_TEST_SUITE_P(
    Files, ImportFiles,
    ::testing::Values(
        FileCase{"regedit4InWindows1251",
                 windows1251(u"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik\\Тест]\r\n"
                             u"\"Имя\"=\"Зорвик — «тренажёр»\"\r\n\"X\"=hex(2):c0,00\r\n"_s),
                 0,
                 {{kZorvik + u"\\Тест"_s,
                   u"Имя"_s,
                   std::pair{RegType::String, regfile::StringData(u"Зорвик — «тренажёр»"_s)}},
                  {kZorvik + u"\\Тест"_s, u"X"_s, std::pair{RegType::ExpandString, regfile::StringData(u"А"_s)}},
                  kKept}},
        FileCase{"version5InUtf16le",
                 utf16leWithBom(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n"
                                u"\"RCount\"=dword:0000002a\r\n\"Heart\"=hex:01,02,\\\r\n  FF\r\n\"Имя\"=\"Ёж\"\r\n"_s),
                 0,
                 {{kZorvik, u"RCount"_s, std::pair{RegType::DWord, dword(42)}},
                  {kZorvik, u"Heart"_s, std::pair{RegType::Binary, QByteArray("\x01\x02\xFF", 3)}},
                  {kZorvik, u"Имя"_s, std::pair{RegType::String, regfile::StringData(u"Ёж"_s)}},
                  {kZorvik, u"AskFont"_s, std::pair{RegType::String, regfile::StringData(u"Arial"_s)}}}},
        FileCase{"deletionsOfKeyAndValue",
                 "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n\r\n" + kZorvikKey +
                     "\r\n\"Tasks\"=dword:00000007\r\n\"Tasks\"=-\r\n\"Sound\"=dword:00000000\r\n",
                 0,
                 {{kZorvik, u"RCount"_s, std::nullopt},
                  {kZorvik, u"Tasks"_s, std::nullopt},
                  {kZorvik, u"Sound"_s, std::pair{RegType::DWord, dword(0)}}}},
        FileCase{"notARegistrationFile", "MZ\x90\x00binary", 1, {kKept}},
        FileCase{"version5NotUnicode",
                 windows1251(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Я]\r\n"_s),
                 3,
                 {kKept}},
        FileCase{"badHexOnTheFifthLine",
                 "REGEDIT4\r\n\r\n" + kZorvikKey + "\r\n\"RCount\"=dword:00000001\r\n\"Heart\"=hex:0g\r\n",
                 5,
                 {kKept}},
        FileCase{"rootTheStoreDoesNotKeep",
                 "REGEDIT4\r\n\r\n" + kZorvikKey + "\r\n\"RCount\"=dword:00000001\r\n\r\n[HKEY_CLASSES_ROOT\\.reg]\r\n",
                 6,
                 {kKept}},
        FileCase{"writeTheStoreRefusesAfterGoodLines",
                 "REGEDIT4\r\n\r\n" + kZorvikKey +
                     "\r\n\"RCount\"=dword:00000001\r\n"
                     "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
                     "\"Desktop\"=\"/etc\"\r\n",
                 6,
                 {kKept}},
        FileCase{"deletingARoot",
                 "REGEDIT4\r\n\r\n" + kZorvikKey + "\r\n\"A\"=\"1\"\r\n[-HKEY_CURRENT_USER]\r\n",
                 5,
                 {kKept}},
        FileCase{"valueTooLargeForTheStore",
                 "REGEDIT4\r\n\r\n" + kZorvikKey +
                     "\r\n\"Big\"=hex:" + QByteArray("00,").repeated(1000).append("\\\r\n").repeated(1100) + "00\r\n",
                 4,
                 {kKept, {kZorvik, u"Big"_s, std::nullopt}}},
        FileCase{
            "hugeLine",
            "REGEDIT4\r\n\r\n" + kZorvikKey + "\r\n\"A\"=\"" + QByteArray(regfile::kMaxLineChars + 1, 'x') + "\"\r\n",
            4,
            {kKept}}),
    zv::test::RowName{});

// ---- the dialogue -------------------------------------------------------------------------

struct DialogueCase {
  const char* name;
  bool assumeYes;
  std::vector<MsgResult> answers;
  std::vector<bool> trainerRunning;  // successive answers of the look at the trainer, then false
  ImportOutcome outcome;
  int boxesBeforeTheLast;  // question and trainer boxes shown (the result box not counted)
};

void PrintTo(const DialogueCase& c, std::ostream* os) { *os << c.name; }

class ImportDialogue : public ImportFixture, public ::testing::WithParamInterface<DialogueCase> {};

TEST_P(ImportDialogue, AddsOnlyWhenConfirmedAndTheTrainerHasEnded) {
  const DialogueCase& row = GetParam();
  MessageBoxHook hook(MsgResult::Ok);
  for (MsgResult a : row.answers) hook.answerNext(a);
  std::deque<bool> running(row.trainerRunning.begin(), row.trainerRunning.end());
  int waits = 0;

  ImportRequest request;
  request.file = writeFile("REGEDIT4\r\n\r\n" + kZorvikKey + "\r\n\"RCount\"=dword:0000002a\r\n");
  request.assumeYes = row.assumeYes;
  request.paths = paths();
  request.trainerRunning = [&] {
    if (running.empty()) return false;
    const bool r = running.front();
    running.pop_front();
    return r;
  };
  request.wait = [&](int) { ++waits; };

  const ImportOutcome outcome = RunImport(request);
  EXPECT_EQ(outcome, row.outcome);
  EXPECT_EQ(ExitStatusOf(outcome) == 0, row.outcome == ImportOutcome::Imported);
  const auto rCount = read(kZorvik, u"RCount"_s);
  ASSERT_TRUE(rCount);
  EXPECT_EQ(rCount->second, dword(row.outcome == ImportOutcome::Imported ? 42 : 7));

  const auto& shown = hook.shown();
  if (row.outcome == ImportOutcome::Declined) {
    EXPECT_EQ(int(shown.size()), row.boxesBeforeTheLast);
  } else {
    ASSERT_EQ(int(shown.size()), row.boxesBeforeTheLast + 1);
    EXPECT_TRUE(shown.back().text.contains(u"успешно"_s)) << shown.back().text.toStdString();
  }
  if (!row.assumeYes) {
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(shown.front().text.contains(request.file)) << shown.front().text.toStdString();
  }
  for (std::size_t i = row.assumeYes ? 0 : 1; i < std::size_t(row.boxesBeforeTheLast); ++i)
    EXPECT_TRUE(shown[i].text.contains(u"Зорвик сейчас работает"_s)) << shown[i].text.toStdString();
  if (row.assumeYes) {
    EXPECT_EQ(waits, int(row.trainerRunning.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ImportDialogue,
    ::testing::Values(
        DialogueCase{"answeredYes", false, {MsgResult::Yes}, {}, ImportOutcome::Imported, 1},
        DialogueCase{"answeredNo", false, {MsgResult::No}, {}, ImportOutcome::Declined, 1},
        DialogueCase{"trainerRunningAndCancelled",
                     false,
                     {MsgResult::Yes, MsgResult::Cancel},
                     {true},
                     ImportOutcome::Declined,
                     2},
        DialogueCase{"trainerStillRunningAfterOkIsAskedAgain",
                     false,
                     {MsgResult::Yes, MsgResult::Ok, MsgResult::Ok},
                     {true, true},
                     ImportOutcome::Imported,
                     3},
        DialogueCase{"yesWaitsForTheTrainerWithoutAsking", true, {}, {true, true, true}, ImportOutcome::Imported, 1},
        DialogueCase{"yesWithNoTrainerAsksNothing", true, {}, {}, ImportOutcome::Imported, 0}),
    zv::test::RowName{});

TEST_F(ImportFixture, RefusedFileIsNamedWithItsLineAndNothingIsAsked) {
  MessageBoxHook hook(MsgResult::Yes);
  ImportRequest request;
  request.file = writeFile("REGEDIT4\r\n\r\n" + kZorvikKey + "\r\n\"RCount\"=dword:xyz\r\n");
  request.paths = paths();
  EXPECT_EQ(RunImport(request), ImportOutcome::Refused);
  ASSERT_EQ(hook.shown().size(), 1u);
  EXPECT_TRUE(hook.shown()[0].text.contains(u"Строка 4"_s)) << hook.shown()[0].text.toStdString();
  EXPECT_TRUE(hook.shown()[0].text.contains(u"Реестр не изменён"_s));
  EXPECT_EQ(hives(), m_before);

  hook.clear();
  request.file = m_tmp.filePath(u"missing.reg"_s);
  EXPECT_EQ(RunImport(request), ImportOutcome::Refused);
  ASSERT_EQ(hook.shown().size(), 1u);
  EXPECT_EQ(hook.shown()[0].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace zv::regimport
