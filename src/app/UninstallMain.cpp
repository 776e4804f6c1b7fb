// zvuninstall, the uninstaller: no window of its own, message boxes only.
//
//   zvuninstall                     removes the trainer (asks first)
//   zvuninstall --register [PATH]   writes the machine hive's uninstall entry naming PATH (by
//                                   default this program), for the installation
//   zvuninstall --unregister        deletes that entry, for the package's removal
//
// The two installation modes run without a display (a package's post-install step has none),
// so they make no application object of the window system.

#include "common/SystemInfo.h"
#include "uninstall/UninstallEntry.h"
#include "uninstall/Uninstaller.h"
#include "ui/MessageBoxPresenter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

int Installation(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  zv::Registry registry(zv::RegistryPaths::fromEnvironment());
  std::optional<QString> error;
  if (arguments.at(1) == u"--register"_s) {
    const QString path = arguments.size() > 2 ? arguments.at(2) : QCoreApplication::applicationFilePath();
    error = zv::WriteUninstallEntry(registry, QFileInfo(path).absoluteFilePath(), u"Зорвик"_s, u"1500"_s);
  } else {
    error = zv::DeleteUninstallEntry(registry);
  }
  if (!error) return 0;
  std::fprintf(stderr, "zvuninstall: %s\n", qPrintable(*error));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--register") == 0 || std::strcmp(argv[1], "--unregister") == 0))
    return Installation(argc, argv);

  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(u"Zorvik"_s);
  zv::InstallMessageBoxPresenter();
  zv::SystemInfo info = zv::StartSystemInfo(zv::SystemInfoInputs::fromProcess(QCoreApplication::arguments()));
  const zv::UninstallOutcome outcome = zv::RunUninstall(info, zv::UninstallNames{});
  return outcome == zv::UninstallOutcome::Removed || outcome == zv::UninstallOutcome::Declined ? 0 : 1;
}
