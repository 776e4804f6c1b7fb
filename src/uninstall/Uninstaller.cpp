#include "uninstall/Uninstaller.h"

#include "common/Paths.h"
#include "common/ProgramKey.h"
#include "platform/CommandFile.h"
#include "platform/MessageBox.h"
#include "uninstall/TrainerQuit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

const QString kVersionKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\"_s;

QString ShellFoldersKey() { return kVersionKey + u"Explorer\\Shell Folders"_s; }

// Reads a value of a key opened without creating; a missing key or value reads as "".
QString ReadIn(Registry& registry, const QString& name) {
  return registry.HasCurrentKey() ? registry.ReadString(name) : QString();
}

void Gather(SystemInfo& info, const UninstallNames& names, UninstallPaths& paths) {
  Registry& registry = *info.SettingsRegistry;
  // The store reads a hive it cannot read as empty; here that would send the removal to the
  // wrong folder, so it counts as no access.
  for (const RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser})
    if (const auto problem = registry.HiveReadError(root)) throw RegistryError(problem->toStdString());

  registry.SetRootKey(RootKey::LocalMachine);
  registry.OpenKeyReadOnly(kVersionKey);
  paths.ProgramFilesFolder = IncludeTrailingSlash(ReadIn(registry, u"ProgramFilesDir"_s));
  registry.CloseKey();
  paths.RegistryAccess = !paths.ProgramFilesFolder.isEmpty();

  paths.TempFolder = TempFolderFrom(info.Environment);

  registry.OpenKeyReadOnly(ShellFoldersKey());
  paths.CommonDesktop = IncludeTrailingSlash(ReadIn(registry, u"Common Desktop"_s));
  if (info.IsNTFamily) paths.CommonPrograms = IncludeTrailingSlash(ReadIn(registry, u"Common Programs"_s));
  registry.CloseKey();

  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKeyReadOnly(ShellFoldersKey());
  paths.UserPrograms = IncludeTrailingSlash(ReadIn(registry, u"Programs"_s));
  paths.UserDesktop = IncludeTrailingSlash(ReadIn(registry, u"Desktop"_s));
  paths.UserStartup = IncludeTrailingSlash(ReadIn(registry, u"Startup"_s));
  registry.CloseKey();

  paths.UninstallKey = kVersionKey + u"Uninstall\\"_s;
  if (paths.CommonPrograms.size() < 2) paths.CommonPrograms = paths.UserPrograms;

  registry.SetRootKey(RootKey::LocalMachine);
  QString command;
  if (registry.OpenKeyReadOnly(paths.UninstallKey + names.ShortName))
    command = registry.ReadString(u"UninstallString"_s);
  registry.CloseKey();
  paths.InstallFolder =
      command.isEmpty() ? IncludeTrailingSlash(paths.ProgramFilesFolder + names.ShortName) : FolderOfPath(command);

  paths.MenuFolders = {IncludeTrailingSlash(paths.UserPrograms + names.CyrillicName),
                       IncludeTrailingSlash(paths.UserPrograms + names.LatinName),
                       IncludeTrailingSlash(paths.CommonPrograms + names.CyrillicName),
                       IncludeTrailingSlash(paths.CommonPrograms + names.LatinName)};
}

QString WithoutTrailingSlash(QString path) {
  while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
  return path;
}

// Opens a key without creating it, runs `work` on it and closes it (writing the change).
template <typename Work>
void InKey(Registry& registry, RootKey root, const QString& path, Work work) {
  registry.SetRootKey(root);
  if (!registry.OpenKey(path, false)) return;
  work();
  registry.CloseKey();
}

void RemoveRegistryEntries(SystemInfo& info, const UninstallNames& names, const UninstallPaths& paths) {
  Registry& registry = *info.SettingsRegistry;
  InKey(registry, RootKey::LocalMachine, paths.UninstallKey, [&] { registry.DeleteKey(names.ShortName); });
  const QString startUpKey = kVersionKey + (info.IsNTFamily ? u"Run"_s : u"RunServices"_s);
  InKey(registry, RootKey::CurrentUser, startUpKey, [&] {
    if (registry.ValueExists(u'!' + names.ShortName)) registry.DeleteValue(u'!' + names.ShortName);
  });
  InKey(registry, RootKey::CurrentUser, kVersionKey + u"Run"_s, [&] {
    if (registry.ValueExists(names.ShortName)) registry.DeleteValue(names.ShortName);
  });
  const QString vendorKey = ProgramKeyPath(names.ShortName).section(u'\\', 0, -2);  // "Software\Ostwin"
  InKey(registry, RootKey::CurrentUser, u'\\' + vendorKey, [&] { registry.DeleteKey(names.ShortName); });
  InKey(registry, RootKey::Users, u".DEFAULT\\"_s + vendorKey, [&] { registry.DeleteKey(names.ShortName); });
}

// A file name joined to a folder that is unknown ("") would name a file in the current folder.
void DeleteIn(const QString& folder, const QString& name) {
  if (!folder.isEmpty()) QFile::remove(folder + name);
}

void RemoveShortcuts(const UninstallNames& names, const UninstallPaths& paths) {
  for (const QString& desktop : {paths.CommonDesktop, paths.UserDesktop})
    for (const QString& name : {names.LatinName, names.CyrillicName}) DeleteIn(desktop, name + u".desktop"_s);
  DeleteIn(paths.UserStartup, names.ShortName + u".desktop"_s);
  for (const QString& programs : {paths.UserPrograms, paths.CommonPrograms})
    for (const QString& entry : DesktopEntryNames()) DeleteIn(programs, entry);
}

void RemoveMenuFolders(const UninstallPaths& paths) {
  for (const QString& folder : paths.MenuFolders) {
    const QString path = WithoutTrailingSlash(folder);
    const QFileInfo info(path);
    // A link is removed itself: what it points to is not the menu's.
    if (info.isSymLink())
      QFile::remove(path);
    else if (info.isDir())
      QDir(path).removeRecursively();
  }
}

// The files directly in the install folder (hidden ones included, subfolders not): deleted once
// the uninstaller has ended, then the folder, which stays when it holds anything else.
CommandFile CleanUpScript(const UninstallPaths& paths, int pauseSeconds) {
  CommandFile script;
  script.Pause(pauseSeconds);
  const QDir folder(paths.InstallFolder);
  for (const QFileInfo& file :
       folder.entryInfoList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
    script.DeleteFile(file.absoluteFilePath());
  script.Pause(pauseSeconds);
  script.RemoveFolder(WithoutTrailingSlash(paths.InstallFolder));
  script.DeleteSelf();
  return script;
}

bool Confirmed(const SystemInfo& info, const UninstallNames& names, const UninstallPaths& paths) {
  MessageRequest request;
  request.icon = MsgIcon::Question;
  request.buttons = MsgButtons::YesNo;
  request.defaultButton = 1;
  request.topmost = true;
  request.taskModal = true;
  request.russian = info.IsRussianLocale;
  if (info.IsRussianLocale) {
    request.caption = u"Подумайте лучше"_s;
    request.text = u"Всё готово к удалению программы \""_s + names.CyrillicName + u"\".\n\n"_s +
                   u"Будет удалён соответствующий пункт из меню программ,\n"_s +
                   u"ярлык на Рабочем столе и всё из папки "_s + paths.InstallFolder + u".\n\n"_s +
                   u"Перед установкой новой версии программы удаление не требуется,\n"_s +
                   u"если только Вы не хотите сбросить все настройки и наработанный материал.\n\n"_s +
                   u"Действительно ли Вы вынуждены удалить программу?"_s;
  } else {
    request.caption = u"Think it over"_s;
    request.text = u"All is ready to uninstall the "_s + names.LatinName + u" program.\n\n"_s +
                   u"Respective item of Programs menu, a shortcut on Desktop\n"_s + u"and everything in "_s +
                   paths.InstallFolder + u" are going to be deleted.\n\n"_s +
                   u"No need to uninstall the program before installation of its new version,\n"_s +
                   u"unless you want to reset all options and logs.\n\nAre you really to uninstall it?"_s;
  }
  return ShowMessageBox(request) == MsgResult::Yes;
}

// Whatever breaks during the removal ends it with the "no right" message.
struct NoRight {};

}  // namespace

UninstallOutcome RunUninstall(SystemInfo& info, const UninstallNames& names, const UninstallEnvironment& environment) {
  info.ShortName = names.ShortName;
  info.CyrillicName = names.CyrillicName;
  info.LatinName = names.LatinName;
  // A trainer that does not end in time keeps running; what it stores later is gone with the
  // key all the same, as it would be on the system the procedure was made for.
  QuitRunningTrainer(InstancePaths::ForUser(info.Environment));
  const std::optional<UninstallPaths> paths = GatherUninstallPaths(info, names);
  if (!paths) return UninstallOutcome::NoAccess;
  return UninstallSequence(info, names, *paths, environment);
}

QString FolderOfPath(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QString() : path.left(slash + 1);
}

UninstallEnvironment UninstallEnvironment::Real() {
  UninstallEnvironment environment;
  environment.CanModify = [](const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
  };
  environment.StartScript = [](const QString& script) { return CommandFile::StartDetached(script); };
  return environment;
}

std::optional<UninstallPaths> GatherUninstallPaths(SystemInfo& info, const UninstallNames& names) {
  UninstallPaths paths;
  try {
    Gather(info, names, paths);
  } catch (const std::exception&) {
    try {
      info.SettingsRegistry->CloseKey();
    } catch (const std::exception&) {
      // Nothing was changed: a failing close loses nothing.
    }
    ShowErrorMessage(info, u"No access to system registry"_s, u"Нет доступа к системному реестру"_s);
    return std::nullopt;
  }
  return paths;
}

UninstallOutcome UninstallSequence(SystemInfo& info, const UninstallNames& names, const UninstallPaths& paths,
                                   const UninstallEnvironment& environment) {
  try {
    if (!paths.RegistryAccess) throw NoRight{};
    const QString folder = WithoutTrailingSlash(paths.InstallFolder);
    if (!QFileInfo(folder).isDir()) {
      ShowErrorMessage(info, u"Can't find "_s + paths.InstallFolder + u" folder\nof the "_s + names.ShortName +
                                 u" program."_s,
                       u"Не удалось найти папку "_s + paths.InstallFolder + u"\nудаляемой программы "_s +
                           names.ShortName);
      return UninstallOutcome::FolderMissing;
    }
    if (!environment.CanModify(folder)) throw NoRight{};
    if (!Confirmed(info, names, paths)) return UninstallOutcome::Declined;

    RemoveRegistryEntries(info, names, paths);
    RemoveShortcuts(names, paths);
    RemoveMenuFolders(paths);

    const QString scriptPath = paths.TempFolder + QString::fromUtf16(kCleanUpScriptName);
    if (CleanUpScript(paths, environment.PauseSeconds).Save(scriptPath)) throw NoRight{};
    ShowInfoMessage(info,
                    u"The program is now removed from your system.\n\n"_s +
                        u"If you created any shortcuts for launching the program,\n"_s +
                        u"you may need to remove them manually."_s,
                    u"Программа удалена из системы.\n\n"_s + u"Если Вы сами создавали ярлыки для запуска программы,\n"_s +
                        u"их придётся удалить вручную."_s);
    environment.StartScript(scriptPath);
    return UninstallOutcome::Removed;
  } catch (...) {
    try {
      info.SettingsRegistry->CloseKey();
    } catch (const std::exception&) {
      // Reported below; the changes that could not be written are lost with the process.
    }
    ShowErrorMessage(info, u"You have no right to uninstall applications!"_s, u"У Вас нет права удалять программы!"_s);
    return UninstallOutcome::NoRight;
  }
}

}  // namespace zv
