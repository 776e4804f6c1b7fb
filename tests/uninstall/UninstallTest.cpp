// The uninstaller in a throw-away root: its own hives, XDG folders, Temp folder and a program
// folder installed by `cmake --install`. It must remove exactly the listed items after a Yes and
// nothing at all otherwise, leave the folder's emptying to its clean-up script, and end a
// running trainer first so that the trainer's state is stored before the key is deleted.

#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "support/SocketFolder.h"
#include "support/TestApplication.h"
#include "support/TrainerProcess.h"
#include "support/WaitUntil.h"
#include "uninstall/Uninstaller.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <string>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

ZV_TEST_APPLICATION(QCoreApplication);

const QString kUninstallKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"_s;
const QString kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_s;

// One item the test looks at: a registry key or value, or a file or folder.
struct Probe {
  std::string name;
  bool listed;  // the uninstaller must remove it
  RootKey root = RootKey::CurrentUser;
  QString key;
  QString value;  // empty: the key itself
  QString path;   // a file or folder instead of a registry item
};

class Root {
 public:
  Root() {
    for (const char16_t* folder : {u"registry", u"tmp", u"home/Desktop", u"home/apps", u"home/autostart", u"system/apps"})
      QDir().mkpath(Path(QString::fromUtf16(folder)));
    m_paths = RegistryPaths::inOneFolder(Path(u"registry"_s));
    m_paths.desktopDir = Path(u"home/Desktop"_s);
    m_paths.programsDir = Path(u"home/apps"_s);
    m_paths.startupDir = Path(u"home/autostart"_s);
    m_paths.commonProgramsDir = Path(u"system/apps"_s);
  }

  QString Path(const QString& relative) const { return m_dir.filePath(relative); }
  QString ProgramFolder() const { return Path(u"opt/Zorvik"_s); }
  const QTemporaryDir& Dir() const { return m_dir; }
  QString Script() const { return Path(u"tmp/ostwin_unin.sh"_s); }

  SystemInfo Info(bool russian) const {
    SystemInfoInputs inputs;
    inputs.environment.insert(u"TMPDIR"_s, Path(u"tmp"_s));
    inputs.environment.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
    inputs.environment.insert(u"LANG"_s, russian ? u"ru_RU.UTF-8"_s : u"en_US.UTF-8"_s);
    inputs.registryPaths = m_paths;
    inputs.os = LinuxOsFacts{u"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"_s, true, u"6.1.0"_s};
    return StartSystemInfo(std::move(inputs));
  }

  // `cmake --install` of this build into <root>/opt/Zorvik, registering the uninstaller in the
  // root's machine hive.
  void Install() const {
    QProcess cmake;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"ZORVIK_REGISTRY_DIR"_s, Path(u"registry"_s));
    env.remove(u"DESTDIR"_s);
    cmake.setProcessEnvironment(env);
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(QStringLiteral(ZV_CMAKE), {u"--install"_s, QStringLiteral(ZV_BUILD_DIR), u"--prefix"_s, ProgramFolder()});
    ASSERT_TRUE(cmake.waitForFinished(120000));
    ASSERT_EQ(cmake.exitCode(), 0) << cmake.readAll().toStdString();
    ASSERT_TRUE(QFile::exists(ProgramFolder() + u"/zvuninstall"_s));
  }

  void Write(RootKey root, const QString& key, const QString& value, const QString& data) const {
    Registry r(m_paths);
    r.SetRootKey(root);
    ASSERT_TRUE(r.OpenKey(key, true));
    r.WriteString(value, data);
    r.CloseKey();
  }

  void Touch(const QString& relative) const {
    QDir().mkpath(QFileInfo(Path(relative)).path());
    QFile file(Path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  // Everything the uninstaller removes, and neighbours it must leave alone.
  std::vector<Probe> Populate() const {
    Write(RootKey::CurrentUser, u"Software\\Ostwin\\Zorvik"_s, u"FontName"_s, u"Arial"_s);
    Write(RootKey::CurrentUser, u"Software\\Ostwin\\Other"_s, u"Kept"_s, u"1"_s);
    Write(RootKey::CurrentUser, kRunKey, u"Zorvik"_s, u"zorvik"_s);
    Write(RootKey::CurrentUser, kRunKey, u"!Zorvik"_s, u"zorvik"_s);
    Write(RootKey::CurrentUser, kRunKey, u"Other"_s, u"other"_s);
    Write(RootKey::Users, u".DEFAULT\\Software\\Ostwin\\Zorvik"_s, u"FontName"_s, u"Arial"_s);
    Write(RootKey::Users, u".DEFAULT\\Software\\Ostwin\\Other"_s, u"Kept"_s, u"1"_s);
    Write(RootKey::LocalMachine, kUninstallKey + u"Other"_s, u"UninstallString"_s, u"/opt/Other/u"_s);
    const char16_t* files[] = {u"home/Desktop/Zorvik.desktop",       u"home/Desktop/Зорвик.desktop",
                               u"home/Desktop/Other.desktop",        u"home/autostart/Zorvik.desktop",
                               u"home/autostart/Other.desktop",      u"home/apps/ru.ostwin.Zorvik.desktop",
                               u"home/apps/ru.ostwin.zvregedit.desktop", u"home/apps/other.desktop",
                               u"system/apps/ru.ostwin.Zorvik.desktop", u"system/apps/other.desktop",
                               u"home/apps/Зорвик/lesson.desktop",   u"home/apps/Zorvik/lesson.desktop",
                               u"shared/lesson.desktop",             u"system/apps/Zorvik/lesson.desktop",
                               u"home/apps/Zorvik2/lesson.desktop",  u"opt/Other/u"};
    for (const char16_t* file : files) Touch(QString::fromUtf16(file));
    // A menu folder that is a link: the link goes, what it points to stays.
    EXPECT_TRUE(QFile::link(Path(u"shared"_s), Path(u"system/apps/Зорвик"_s)));

    std::vector<Probe> probes = {
        {"UninstallEntry", true, RootKey::LocalMachine, kUninstallKey + u"Zorvik"_s, {}, {}},
        {"OtherUninstallEntry", false, RootKey::LocalMachine, kUninstallKey + u"Other"_s, {}, {}},
        {"SettingsKey", true, RootKey::CurrentUser, u"Software\\Ostwin\\Zorvik"_s, {}, {}},
        {"OtherVendorKey", false, RootKey::CurrentUser, u"Software\\Ostwin\\Other"_s, {}, {}},
        {"RunValue", true, RootKey::CurrentUser, kRunKey, u"Zorvik"_s, {}},
        {"RunServicesStyleValue", true, RootKey::CurrentUser, kRunKey, u"!Zorvik"_s, {}},
        {"OtherRunValue", false, RootKey::CurrentUser, kRunKey, u"Other"_s, {}},
        {"DefaultUserKey", true, RootKey::Users, u".DEFAULT\\Software\\Ostwin\\Zorvik"_s, {}, {}},
        {"OtherDefaultUserKey", false, RootKey::Users, u".DEFAULT\\Software\\Ostwin\\Other"_s, {}, {}},
    };
    for (const char16_t* file : files) {
      const QString relative = QString::fromUtf16(file);
      const bool listed = !relative.contains(u"ther"_s) && !relative.contains(u"Zorvik2"_s) &&
                          !relative.startsWith(u"shared/"_s);
      // A menu folder is removed whole; its content is looked at through the folder.
      const QString path = relative.endsWith(u"/lesson.desktop"_s) && !relative.startsWith(u"shared/"_s)
                               ? QFileInfo(relative).path()
                               : relative;
      probes.push_back({path.toStdString(), listed, RootKey::CurrentUser, {}, {}, Path(path)});
    }
    probes.push_back({"system/apps/Зорвик", true, RootKey::CurrentUser, {}, {}, Path(u"system/apps/Зорвик"_s)});
    return probes;
  }

  std::map<std::string, bool> Present(const std::vector<Probe>& probes) const {
    std::map<std::string, bool> present;
    Registry r(m_paths);
    for (const Probe& p : probes) {
      if (!p.path.isEmpty()) {
        present[p.name] = QFileInfo::exists(p.path);
        continue;
      }
      r.SetRootKey(p.root);
      const bool open = r.OpenKeyReadOnly(p.key);
      present[p.name] = open && (p.value.isEmpty() || r.ValueExists(p.value));
      r.CloseKey();
    }
    return present;
  }

  // The files directly in the program folder and in its subfolders.
  QStringList Files() const {
    QStringList files;
    for (QDirIterator it(ProgramFolder(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
      files << QDir(ProgramFolder()).relativeFilePath(it.next());
    return files;
  }

  bool WaitUntil(const std::function<bool()>& done, int ms = 15000) const { return test::WaitUntil(done, ms); }

  RegistryPaths m_paths;

 private:
  test::SocketFolder m_dir;
};

std::map<std::string, bool> AllPresent(const std::vector<Probe>& probes) {
  std::map<std::string, bool> all;
  for (const Probe& p : probes) all[p.name] = true;
  return all;
}

UninstallEnvironment Quick() {
  UninstallEnvironment environment = UninstallEnvironment::Real();
  environment.PauseSeconds = 0;
  return environment;
}

// --- the confirmation ---------------------------------------------------------------------

struct AnswerRow {
  const char* name;
  bool russian;
  MsgResult answer;
  const char16_t* caption;
  const char16_t* textStart;
};
void PrintTo(const AnswerRow& row, std::ostream* os) { *os << row.name; }

class NotConfirmed : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(NotConfirmed, RemovesNothingAndWritesNoScript) {
  const AnswerRow& row = GetParam();
  Root root;
  root.Install();
  const std::vector<Probe> probes = root.Populate();
  const QStringList files = root.Files();
  SystemInfo info = root.Info(row.russian);
  MessageBoxHook hook;
  hook.answerNext(row.answer);

  EXPECT_EQ(RunUninstall(info, UninstallNames{}, Quick()), UninstallOutcome::Declined);

  ASSERT_EQ(hook.shown().size(), 1u);
  const MessageRequest& box = hook.shown().front();
  EXPECT_EQ(box.caption, QString::fromUtf16(row.caption));
  EXPECT_TRUE(box.text.startsWith(QString::fromUtf16(row.textStart))) << box.text.toStdString();
  EXPECT_TRUE(box.text.contains(root.ProgramFolder() + u"/ "_s) || box.text.contains(root.ProgramFolder() + u"/."_s)) << "the install folder is not named";
  EXPECT_EQ(box.buttons, MsgButtons::YesNo);
  EXPECT_EQ(box.defaultButton, 1) << "No must be the default";
  EXPECT_EQ(box.russian, row.russian);
  EXPECT_EQ(root.Present(probes), AllPresent(probes));
  EXPECT_EQ(root.Files(), files);
  EXPECT_FALSE(QFile::exists(root.Script()));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NotConfirmed,
    ::testing::Values(AnswerRow{"RussianNo", true, MsgResult::No, u"Подумайте лучше",
                                u"Всё готово к удалению программы \"Зорвик\".\n\n"},
                      AnswerRow{"EnglishNo", false, MsgResult::No, u"Think it over",
                                u"All is ready to uninstall the Zorvik program.\n\n"},
                      AnswerRow{"ClosedWithoutAnswer", true, MsgResult::Cancel, u"Подумайте лучше",
                                u"Всё готово к удалению программы \"Зорвик\".\n\n"}),
    zv::test::RowName{});

// --- the removal --------------------------------------------------------------------------

struct FolderRow {
  const char* name;
  const char16_t* extra;  // a file in a subfolder of the program folder, or none
};
void PrintTo(const FolderRow& row, std::ostream* os) { *os << row.name; }

class Confirmed : public ::testing::TestWithParam<FolderRow> {};

TEST_P(Confirmed, RemovesExactlyTheListedItemsAndTheScriptEmptiesTheFolder) {
  Root root;
  root.Install();
  const std::vector<Probe> probes = root.Populate();
  root.Touch(u"opt/Zorvik/.hidden"_s);
  if (GetParam().extra) root.Touch(u"opt/Zorvik/"_s + QString::fromUtf16(GetParam().extra));
  SystemInfo info = root.Info(true);
  MessageBoxHook hook;
  hook.answerNext(MsgResult::Yes);

  ASSERT_EQ(RunUninstall(info, UninstallNames{}, Quick()), UninstallOutcome::Removed);

  std::map<std::string, bool> expected;
  for (const Probe& p : probes) expected[p.name] = !p.listed;
  EXPECT_EQ(root.Present(probes), expected);
  ASSERT_EQ(hook.shown().size(), 2u);
  EXPECT_EQ(hook.shown()[1].icon, MsgIcon::Information);
  EXPECT_EQ(hook.shown()[1].text,
            u"Программа удалена из системы.\n\nЕсли Вы сами создавали ярлыки для запуска программы,\n"
            u"их придётся удалить вручную."_s);

  ASSERT_TRUE(root.WaitUntil([&] { return !QFile::exists(root.Script()); })) << "the script did not end";
  if (GetParam().extra) {
    EXPECT_EQ(root.Files(), QStringList{QString::fromUtf16(GetParam().extra)});
  } else {
    EXPECT_FALSE(QFileInfo::exists(root.ProgramFolder()));
  }
  EXPECT_TRUE(QFileInfo::exists(root.Path(u"opt/Other/u"_s)));
}

INSTANTIATE_TEST_SUITE_P(Folders, Confirmed,
                         ::testing::Values(FolderRow{"FolderGone", nullptr},
                                           FolderRow{"FolderWithASubfolderStays", u"voices/zvextra.cok"}),
                         zv::test::RowName{});

// The trainer running: it is asked to end before anything else, and what it stores on the way
// out is in the hive by the time the question is asked.
TEST(Uninstall, RunningTrainerEndsAndStoresItsStateFirst) {
  Root root;
  root.Install();
  test::TrainerProcess trainer(root.Dir(), root.ProgramFolder() + u"/zorvik"_s);
  ASSERT_TRUE(trainer.WaitUntilReady());
  SystemInfo info = root.Info(true);

  bool stored = false;
  int boxes = 0;
  const MessagePresenter previous = SetMessagePresenter([&](const MessageRequest& request) {
    if (++boxes == 1) {
      Registry r(root.m_paths);
      r.SetRootKey(RootKey::CurrentUser);
      stored = r.OpenKeyReadOnly(u"Software\\Ostwin\\Zorvik"_s) && r.ValueExists(u"Heart"_s);
    }
    return request.buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
  });
  const UninstallOutcome outcome = RunUninstall(info, UninstallNames{}, Quick());
  SetMessagePresenter(previous);

  EXPECT_EQ(outcome, UninstallOutcome::Removed);
  EXPECT_TRUE(stored) << "the trainer's state was not in the hive when the removal began";
  EXPECT_EQ(trainer.WaitForEnd(), 0);
  Registry r(root.m_paths);
  r.SetRootKey(RootKey::CurrentUser);
  EXPECT_FALSE(r.KeyExists(u"Software\\Ostwin\\Zorvik"_s)) << "the trainer wrote its key again after the removal";
}

// --- the paths ----------------------------------------------------------------------------

TEST(Uninstall, PathsWithoutUninstallStringFallBackToTheProgramFilesFolder) {
  Root root;
  SystemInfo info = root.Info(false);
  MessageBoxHook hook;
  const std::optional<UninstallPaths> paths = GatherUninstallPaths(info, UninstallNames{});
  ASSERT_TRUE(paths.has_value());
  EXPECT_TRUE(hook.shown().empty());
  EXPECT_EQ(paths->InstallFolder, u"/opt/Zorvik/"_s);
  EXPECT_TRUE(paths->RegistryAccess);
  EXPECT_EQ(paths->TempFolder, root.Path(u"tmp/"_s));
  EXPECT_EQ(paths->UserStartup, root.Path(u"home/autostart/"_s));
  EXPECT_EQ(paths->MenuFolders[0], root.Path(u"home/apps/Зорвик/"_s));
  EXPECT_EQ(paths->MenuFolders[3], root.Path(u"system/apps/Zorvik/"_s));
  EXPECT_EQ(paths->CommonDesktop, QString()) << "an unknown folder must stay empty, not become \"/\"";
}

// --- failures -----------------------------------------------------------------------------

struct FailureRow {
  const char* name;
  enum class Setup { FolderMissing, NoRight, MachineHiveUnreadable } setup;
  UninstallOutcome outcome;
  const char16_t* english;  // "%1": the program folder's parent
  const char16_t* russian;
};
void PrintTo(const FailureRow& row, std::ostream* os) { *os << row.name; }

class Failure : public ::testing::TestWithParam<std::tuple<FailureRow, bool>> {};

TEST_P(Failure, ToldInTheUsersLanguageAndNothingRemoved) {
  const auto& [row, russian] = GetParam();
  Root root;
  QDir().mkpath(root.ProgramFolder());
  root.Touch(u"opt/Zorvik/zorvik"_s);
  const std::vector<Probe> probes = root.Populate();
  UninstallEnvironment environment = Quick();
  QString uninstaller = root.ProgramFolder() + u"/zvuninstall"_s;
  if (row.setup == FailureRow::Setup::FolderMissing) uninstaller = root.Path(u"gone/zvuninstall"_s);
  root.Write(RootKey::LocalMachine, kUninstallKey + u"Zorvik"_s, u"UninstallString"_s, uninstaller);
  if (row.setup == FailureRow::Setup::NoRight) environment.CanModify = [](const QString&) { return false; };
  std::map<std::string, bool> before = root.Present(probes);
  if (row.setup == FailureRow::Setup::MachineHiveUnreadable) {
    const QString hive = root.m_paths.hiveFile(RootKey::LocalMachine);
    ASSERT_TRUE(QFile::rename(hive, hive + u".saved"_s));
    ASSERT_TRUE(QDir().mkpath(hive));  // unreadable as a hive, also for root
  }
  SystemInfo info = root.Info(russian);
  MessageBoxHook hook;
  hook.answerNext(MsgResult::Yes);

  EXPECT_EQ(RunUninstall(info, UninstallNames{}, environment), row.outcome);

  ASSERT_EQ(hook.shown().size(), 1u);
  const MessageRequest& box = hook.shown().front();
  EXPECT_EQ(box.icon, MsgIcon::Error);
  EXPECT_EQ(box.caption, russian ? u"Зорвик"_s : u"Zorvik"_s);
  QString expected = QString::fromUtf16(russian ? row.russian : row.english);
  if (expected.contains(u"%1"_s)) expected = expected.arg(root.Path(u"gone/"_s));
  EXPECT_EQ(box.text, expected);
  if (row.setup == FailureRow::Setup::MachineHiveUnreadable) {
    const QString hive = root.m_paths.hiveFile(RootKey::LocalMachine);
    ASSERT_TRUE(QDir(hive).removeRecursively());
    ASSERT_TRUE(QFile::rename(hive + u".saved"_s, hive));
  }
  EXPECT_EQ(root.Present(probes), before);
  EXPECT_TRUE(QFile::exists(root.Path(u"opt/Zorvik/zorvik"_s)));
  EXPECT_FALSE(QFile::exists(root.Script()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Failure,
    ::testing::Combine(
        ::testing::Values(
            FailureRow{"InstallFolderMissing", FailureRow::Setup::FolderMissing, UninstallOutcome::FolderMissing,
                       u"Can't find %1 folder\nof the Zorvik program.",
                       u"Не удалось найти папку %1\nудаляемой программы Zorvik"},
            FailureRow{"InstallFolderNotWritable", FailureRow::Setup::NoRight, UninstallOutcome::NoRight,
                       u"You have no right to uninstall applications!", u"У Вас нет права удалять программы!"},
            FailureRow{"MachineHiveUnreadable", FailureRow::Setup::MachineHiveUnreadable,
                       UninstallOutcome::NoAccess, u"No access to system registry",
                       u"Нет доступа к системному реестру"}),
        ::testing::Bool()),
    [](const auto& row) {
      return std::string(std::get<0>(row.param).name) + (std::get<1>(row.param) ? "_Russian" : "_English");
    });

}  // namespace
}  // namespace zv
