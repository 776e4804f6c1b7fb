#pragma once
// SystemInfo: what both programs know about the machine and the user, gathered once when the
// module starts (before any window exists) and owned by the program, which passes it to
// whoever needs it. It also owns the shared registry accessor and shows the module's
// two-language message boxes.
//
// On Linux the description comes from os-release (see OsDescription.h) and the Windows-only
// flags take the values of a modern Windows: DescribeOS sets IsVistaOrLater, ShortOSName sets
// IsXPOrNewer and clears IsXPOrOlder directly rather than from the text, since a distribution's
// name is no Windows name (one containing "WinXP" must not make the main window behave as on
// XP). The short name on Linux is the description itself: the Windows abbreviations would
// only garble a distribution's name.
//
// A Windows version record may be given instead of the Linux facts; the module then behaves
// as on that Windows (used to check the flags and the registry view the records imply).

#include "common/OsDescription.h"
#include "platform/RandomSource.h"
#include "platform/Registry.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <variant>

namespace zv {

using OsFacts = std::variant<LinuxOsFacts, WindowsVersionRecord>;

struct SystemInfoInputs {
  QProcessEnvironment environment;
  QStringList arguments;  // the command line, the program first
  RegistryPaths registryPaths;
  OsFacts os;
  std::unique_ptr<RandomSource> random;  // none: a generator seeded from the clock

  // Everything from the running process.
  static SystemInfoInputs fromProcess(const QStringList& arguments);
};

struct SystemInfo {
  // Operating-system flags.
  bool IsVistaOrLater = false;  // NT 6 or later (always on Linux); set by DescribeOS
  bool Is64BitOS = false;       // the last description built contains " 64"
  bool IsXPOrNewer = false;     // set by ShortOSName
  bool IsXPOrOlder = false;     // set by ShortOSName
  bool IsNTFamily = false;      // platform 2 (always on Linux); the start-up's progress range
                                // and the uninstaller's common programs menu depend on it

  // The user default locale (see Locale.h) and whether it reads Cyrillic.
  std::uint32_t UserLocale = 0x409;
  bool IsRussianLocale = false;

  // Filled by the start-up of each program; this module only holds them.
  QString ShortName;             // registry key and file-name stem, "Zorvik"
  QString CyrillicName;          // caption of Russian message boxes, "Зорвик"
  QString LatinName;             // caption of English message boxes, "Zorvik"
  QString VersionLabel;          // "1500"
  std::int32_t BuildNumber = 0;  // 15000

  QString TempFolder;     // ends in "/"; filled by LocateSystemFolders
  QString DesktopFolder;  // ends in "/" unless unknown (empty); filled by LocateSystemFolders
  QString FirstArgument;  // the first command-line argument, lower-cased

  // The shared accessor of the settings key and of the shell folders. Every user sets the
  // root before opening a key.
  std::unique_ptr<Registry> SettingsRegistry;

  // What the module started from.
  QProcessEnvironment Environment;
  OsFacts Os;
  std::unique_ptr<RandomSource> Random;
};

// Module start: the random generator; the user default LCID and IsRussianLocale; DescribeOS
// without version (setting Is64BitOS); the registry accessor, with the 64-bit view
// (KEY_ALL_ACCESS | KEY_WOW64_64KEY, 0xF013F) when Is64BitOS, else KEY_ALL_ACCESS; the first
// argument, lower-cased.
SystemInfo StartSystemInfo(SystemInfoInputs inputs);

// The one-line description; "unknown" (and every OS flag false) when the version cannot be
// read. Sets Is64BitOS and IsVistaOrLater every time.
QString DescribeOS(SystemInfo& info, bool withVersion);

// The compact description ("WinXP Pro SP3"); sets IsXPOrNewer and IsXPOrOlder.
QString ShortOSName(SystemInfo& info);

// The identification string from the names, ShortOSName (so the flags are set), the
// user's language and the current standard-time bias.
QString BuildClientId(SystemInfo& info, bool escape);

// Runs the command with the Temp folder of the module's environment and its generator.
QString RunConsoleCommand(SystemInfo& info, const QString& command);

// Fills TempFolder and DesktopFolder (HKCU "...\Explorer\Shell Folders" "Desktop"; a missing
// key or value leaves it empty). Always true.
bool LocateSystemFolders(SystemInfo& info);

// Sets the accessor's root to HKEY_CURRENT_USER and opens "Software\Ostwin\" + ShortName,
// creating it when missing. False only when the attempt raises an error; an open the store
// merely refuses is not reported (the caller's value operations then fail in their own
// protected groups). The caller closes the key.
bool OpenSettingsKey(SystemInfo& info);

// A message box without owner in the user's language: the Russian text and the Cyrillic name
// as caption with the Russian language identifier when IsRussianLocale, else the English
// text and the Latin name with the default language. Information boxes are topmost and
// task-modal; error boxes are service notifications (MB_ICONERROR | MB_SERVICE_NOTIFICATION).
void ShowInfoMessage(const SystemInfo& info, const QString& english, const QString& russian);
void ShowErrorMessage(const SystemInfo& info, const QString& english, const QString& russian);

}  // namespace zv
