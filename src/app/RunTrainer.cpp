#include "app/RunTrainer.h"

#include "shell/StartUp.h"
#include "ui/MessageBoxPresenter.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace zv {

int RunTrainer(int argc, char** argv, QByteArrayView sayingsText,
               const MainWindowFactory& createWindows) {
  QApplication app(argc, argv);
  // The application title "Зорвик" is the caption the windows and boxes carry themselves; it
  // is not set as the display name, which would append it to every other window's caption.
  QCoreApplication::setApplicationName(u"Zorvik"_s);
  QGuiApplication::setDesktopFileName(u"zorvik"_s);
  InstallMessageBoxPresenter();

  SystemInfo info = StartSystemInfo(SystemInfoInputs::fromProcess(QCoreApplication::arguments()));
  StartUpOptions options;
  options.SayingsText = sayingsText;
  StartUpResult start = StartUp(info, options);
  if (!start.Proceed) return 0;

  TrainerContext context{info, start.State, start.Windows, start.ServerName};
  const std::unique_ptr<QObject> windows = createWindows ? createWindows(context) : nullptr;
  start.Windows.Free();
  if (!windows) return 0;
  return QApplication::exec();
}

}  // namespace zv
