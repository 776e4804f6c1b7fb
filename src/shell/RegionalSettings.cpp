#include "shell/RegionalSettings.h"

#include <QProcess>
#include <QStandardPaths>

namespace zv {

using namespace Qt::StringLiterals;

std::optional<ShellCommand> RegionalSettingsCommand(const ExecutableFinder& find) {
  const ShellCommand candidates[] = {
      {u"gnome-control-center"_s, {u"region"_s}},
      {u"systemsettings"_s, {u"kcm_regionandlang"_s}},
  };
  for (const ShellCommand& candidate : candidates) {
    const QString path = find(candidate.Program);
    if (!path.isEmpty()) return ShellCommand{path, candidate.Arguments};
  }
  return std::nullopt;
}

bool OpenRegionalSettings() {
  const auto command =
      RegionalSettingsCommand([](const QString& name) { return QStandardPaths::findExecutable(name); });
  return command && QProcess::startDetached(command->Program, command->Arguments);
}

}  // namespace zv
