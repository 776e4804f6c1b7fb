#pragma once
// Uninstaller: the removal of the trainer, in a fixed order — the paths gathered first, nothing
// removed unless all of them could be read; after the user's confirmation the registry entries,
// the shortcuts, the menu folders; then a clean-up script that deletes the install folder's
// files once this program has ended (the folder cannot empty itself while its uninstaller runs
// from it).
//
// What stands in for the Windows items it removes:
//  - shortcuts on the desktops: desktop entries named after the display names
//    ("<desktop>/Zorvik.desktop", "<desktop>/Зорвик.desktop") in the user's and the common
//    desktop folder;
//  - the start-up shortcut: the autostart entry "<autostart>/Zorvik.desktop";
//  - the menu's shortcuts: the installed desktop entries (kDesktopEntryNames) in the user's
//    and the system's applications folders;
//  - the four menu folders: the applications folders + each display name;
//  - the Run values: the registry values of the user hive, as they are.
// All folder paths end in "/" (the trailing-separator rule).

#include "common/SystemInfo.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace zv {

// The names the uninstaller relies on (set at its start).
struct UninstallNames {
  QString ShortName = QStringLiteral("Zorvik");  // registry key names, start-up entry, folder messages
  QString CyrillicName = QStringLiteral("Зорвик");  // menu folder and desktop entry names, captions
  QString LatinName = QStringLiteral("Zorvik");
};

// The desktop entries the installation puts into the applications folder: the trainer's and
// the registry editor's.
inline const QStringList& DesktopEntryNames() {
  static const QStringList names = {QStringLiteral("ru.ostwin.Zorvik.desktop"),
                                    QStringLiteral("ru.ostwin.zvregedit.desktop")};
  return names;
}

inline constexpr char16_t kCleanUpScriptName[] = u"ostwin_unin.sh";

struct UninstallPaths {
  QString ProgramFilesFolder;
  QString TempFolder;
  QString CommonDesktop;
  QString CommonPrograms;  // the user's applications folder when the system's is unknown
  QString UserPrograms;
  QString UserDesktop;
  QString UserStartup;
  QString UninstallKey;   // "Software\Microsoft\Windows\CurrentVersion\Uninstall\"
  QString InstallFolder;  // from "UninstallString", else ProgramFilesFolder + short name
  std::array<QString, 4> MenuFolders;
  bool RegistryAccess = false;  // the program-files folder read as a non-empty text
};

// Reads the paths. When a hive cannot be read or a read fails, shows "No access to system
// registry" and answers nothing: then nothing may be removed.
std::optional<UninstallPaths> GatherUninstallPaths(SystemInfo& info, const UninstallNames& names);

enum class UninstallOutcome {
  NoAccess,       // the paths could not be read: nothing removed
  Removed,        // everything done, the clean-up script started
  Declined,       // the user did not answer Yes: nothing removed
  FolderMissing,  // the install folder does not exist: nothing removed
  NoRight,        // no right to uninstall (before or during the removal)
};

// What the removal uses of the world; tests replace the pieces that would outlive them.
struct UninstallEnvironment {
  // Whether this user may change the install folder (a system-wide install run by an
  // ordinary user may not): the stand-in for the administrator's rights.
  std::function<bool(const QString& folder)> CanModify;
  // Starts the saved clean-up script; by default detached through /bin/sh.
  std::function<bool(const QString& script)> StartScript;
  int PauseSeconds = 2;  // before deleting the files, and again before removing the folder

  static UninstallEnvironment Real();
};

// The confirmation, the removals, the clean-up script, the closing message; every failure is
// told in a message box in the user's language.
UninstallOutcome UninstallSequence(SystemInfo& info, const UninstallNames& names, const UninstallPaths& paths,
                                   const UninstallEnvironment& environment = UninstallEnvironment::Real());

// The whole run: a running trainer asked to end first (and waited for), the paths, the removal.
UninstallOutcome RunUninstall(SystemInfo& info, const UninstallNames& names,
                              const UninstallEnvironment& environment = UninstallEnvironment::Real());

// The folder part of a path, up to and including its last "/"; empty when it has none.
QString FolderOfPath(const QString& path);

}  // namespace zv
