#pragma once
// The uninstall entry of the machine hive — the key Zorvik under
// "Software\Microsoft\Windows\CurrentVersion\Uninstall" with "UninstallString", the
// uninstaller's full path (unquoted) — which the installation writes (`cmake --install`, the
// package's post-install step, through `zvuninstall --register`) and the uninstaller deletes
// with the rest.

#include "platform/Registry.h"

#include <QString>

#include <optional>

namespace zv {

QString UninstallEntryKey(const QString& shortName = QStringLiteral("Zorvik"));

// Writes UninstallString, DisplayName and DisplayVersion. The error text when the hive cannot
// be written.
std::optional<QString> WriteUninstallEntry(Registry& registry, const QString& uninstallerPath,
                                           const QString& displayName, const QString& version);

// Deletes the entry (the package's removal). The error text when the hive cannot be written.
std::optional<QString> DeleteUninstallEntry(Registry& registry);

}  // namespace zv
