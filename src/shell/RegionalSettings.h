#pragma once
// Opening the regional settings, which stands in for the control-panel applet "intl.cpl":
// the first installed of the GNOME region panel and the KDE region-and-language module; on a
// desktop with neither, nothing opens.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zv {

struct ShellCommand {
  QString Program;  // the full path found
  QStringList Arguments;
};

// Answers the full path of an executable found on PATH, or an empty string.
using ExecutableFinder = std::function<QString(const QString& name)>;

std::optional<ShellCommand> RegionalSettingsCommand(const ExecutableFinder& find);

// Starts the command detached; false when there is none or it could not be started.
bool OpenRegionalSettings();

}  // namespace zv
