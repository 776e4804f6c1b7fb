#include "common/SystemInfo.h"

#include "common/ClientId.h"
#include "common/ConsoleCommand.h"
#include "common/Locale.h"
#include "common/Paths.h"
#include "common/ProgramKey.h"
#include "platform/MessageBox.h"

#include <exception>
#include <utility>

namespace zv {
namespace {

QString shellFoldersKey() {
  return QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
}

bool onLinux(const SystemInfo& info) { return std::holds_alternative<LinuxOsFacts>(info.Os); }

MessageRequest messageFor(const SystemInfo& info, const QString& english, const QString& russian) {
  MessageRequest request;
  request.russian = info.IsRussianLocale;
  request.text = info.IsRussianLocale ? russian : english;
  request.caption = info.IsRussianLocale ? info.CyrillicName : info.LatinName;
  return request;
}

}  // namespace

SystemInfoInputs SystemInfoInputs::fromProcess(const QStringList& arguments) {
  SystemInfoInputs inputs;
  inputs.environment = QProcessEnvironment::systemEnvironment();
  inputs.arguments = arguments;
  inputs.registryPaths = RegistryPaths::fromEnvironment();
  inputs.os = LinuxOsFacts::fromSystem();
  return inputs;
}

SystemInfo StartSystemInfo(SystemInfoInputs inputs) {
  SystemInfo info;
  info.Environment = std::move(inputs.environment);
  info.Os = std::move(inputs.os);
  info.Random = inputs.random ? std::move(inputs.random) : std::make_unique<ClockSeededRandom>();

  info.UserLocale = UserDefaultLcid(info.Environment);
  info.IsRussianLocale = IsRussianLcid(info.UserLocale);

  DescribeOS(info, false);
  if (const auto* record = std::get_if<WindowsVersionRecord>(&info.Os))
    info.IsNTFamily = record->platformId == 2 && (record->extendedQueryOk || record->basicQueryOk);
  else
    info.IsNTFamily = true;

  info.SettingsRegistry = std::make_unique<Registry>(
      std::move(inputs.registryPaths), info.Is64BitOS ? (KEY_ALL_ACCESS | KEY_WOW64_64KEY) : KEY_ALL_ACCESS);

  if (inputs.arguments.size() > 1) info.FirstArgument = inputs.arguments.at(1).toLower();
  return info;
}

QString DescribeOS(SystemInfo& info, bool withVersion) {
  std::optional<OsDescriptionParts> parts;
  if (const auto* facts = std::get_if<LinuxOsFacts>(&info.Os))
    parts = DescribeLinux(*facts);
  else
    parts = DescribeWindows(std::get<WindowsVersionRecord>(info.Os));
  if (!parts) {
    info.IsVistaOrLater = false;
    info.Is64BitOS = false;
    return QStringLiteral("unknown");
  }
  info.IsVistaOrLater = parts->isVistaOrLater;
  const QString description = CombineOSDescription(*parts, withVersion);
  info.Is64BitOS = description.contains(u" 64");
  return description;
}

QString ShortOSName(SystemInfo& info) {
  const QString description = DescribeOS(info, false);
  if (onLinux(info)) {
    info.IsXPOrNewer = true;
    info.IsXPOrOlder = false;
    return description;
  }
  const QString shortName = ShortenOSName(description);
  const XPFlags flags = ClassifyShortOSName(shortName, info.IsVistaOrLater);
  info.IsXPOrNewer = flags.IsXPOrNewer;
  info.IsXPOrOlder = flags.IsXPOrOlder;
  return shortName;
}

QString BuildClientId(SystemInfo& info, bool escape) {
  ClientIdInputs inputs;
  inputs.shortName = info.ShortName;
  inputs.versionLabel = info.VersionLabel;
  inputs.shortOSName = ShortOSName(info);
  inputs.englishLanguage = EnglishLanguageName(info.UserLocale);
  inputs.lcid = info.UserLocale;
  inputs.biasMinutes = CurrentStandardBias();
  return BuildClientId(inputs, escape);
}

QString RunConsoleCommand(SystemInfo& info, const QString& command) {
  return RunConsoleCommand(command, TempFolderFrom(info.Environment), *info.Random);
}

bool LocateSystemFolders(SystemInfo& info) {
  info.TempFolder = TempFolderFrom(info.Environment);
  info.DesktopFolder.clear();
  Registry& registry = *info.SettingsRegistry;
  try {
    registry.SetRootKey(RootKey::CurrentUser);
    if (registry.OpenKey(shellFoldersKey(), false))
      info.DesktopFolder = IncludeTrailingSlash(registry.ReadString(QStringLiteral("Desktop")));
  } catch (const std::exception&) {
    // A value of another type reads as no value: the folder stays unknown.
    info.DesktopFolder.clear();
  }
  try {
    registry.CloseKey();
  } catch (const std::exception&) {
    // Nothing was changed under the key; a failing close loses nothing.
  }
  return true;
}

bool OpenSettingsKey(SystemInfo& info) {
  try {
    Registry& registry = *info.SettingsRegistry;
    registry.SetRootKey(RootKey::CurrentUser);
    registry.OpenKey(ProgramKeyPath(info.ShortName), true);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void ShowInfoMessage(const SystemInfo& info, const QString& english, const QString& russian) {
  MessageRequest request = messageFor(info, english, russian);
  request.icon = MsgIcon::Information;
  request.topmost = true;
  request.taskModal = true;
  ShowMessageBox(request);
}

void ShowErrorMessage(const SystemInfo& info, const QString& english, const QString& russian) {
  MessageRequest request = messageFor(info, english, russian);
  request.icon = MsgIcon::Error;
  request.topmost = false;
  request.taskModal = false;
  request.serviceNotification = true;
  ShowMessageBox(request);
}

}  // namespace zv
