#include "uninstall/UninstallEntry.h"

namespace zv {

using namespace Qt::StringLiterals;

QString UninstallEntryKey(const QString& shortName) {
  return u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"_s + shortName;
}

std::optional<QString> WriteUninstallEntry(Registry& registry, const QString& uninstallerPath,
                                           const QString& displayName, const QString& version) {
  try {
    registry.SetRootKey(RootKey::LocalMachine);
    registry.OpenKey(UninstallEntryKey(), true);
    registry.WriteString(u"UninstallString"_s, uninstallerPath);
    registry.WriteString(u"DisplayName"_s, displayName);
    registry.WriteString(u"DisplayVersion"_s, version);
    registry.CloseKey();
    return std::nullopt;
  } catch (const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
  }
}

std::optional<QString> DeleteUninstallEntry(Registry& registry) {
  try {
    registry.SetRootKey(RootKey::LocalMachine);
    registry.DeleteKey(UninstallEntryKey());
    registry.CloseKey();
    return std::nullopt;
  } catch (const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
  }
}

}  // namespace zv
