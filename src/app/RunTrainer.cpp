#include "app/RunTrainer.h"

#include "platform/SessionEnd.h"
#include "shell/StartUp.h"
#include "tasks/BuiltinContent.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/ProgramLook.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace zv {

int RunTrainer(int argc, char** argv, const MainWindowFactory& createWindows) {
  QApplication app(argc, argv);
  ApplyProgramFont();
  // The application title "Зорвик" is the caption the windows and boxes carry themselves; it
  // is not set as the display name, which would append it to every other window's caption.
  QCoreApplication::setApplicationName(u"Zorvik"_s);
  QGuiApplication::setDesktopFileName(u"ru.ostwin.Zorvik"_s);
  InstallMessageBoxPresenter();

  SystemInfo info = StartSystemInfo(SystemInfoInputs::fromProcess(QCoreApplication::arguments()));
  StartUpOptions options;
  options.SayingsText = content::SayingsText();  // the same sayings the catalogue draws from
  StartUpResult start = StartUp(info, options);
  if (!start.Proceed) return 0;

  // From here on the end of the session is kept; once the windows exist it closes them as the
  // user would: the modal one on view first, then the main window, which writes the settings
  // and the progress. The correct-answer window stores its selectors when the windows are
  // destroyed on the way out.
  SessionEnd session;
  // The main window's creation can show modal boxes (missing or damaged sound packages). Once
  // the session has ended, each box on view is closed as soon as its loop runs, so creation
  // goes on to its end and the end is acted on below.
  QTimer closeBoxes;
  closeBoxes.setInterval(50);
  QObject::connect(&closeBoxes, &QTimer::timeout, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  QObject::connect(&session, &SessionEnd::ending, &closeBoxes, qOverload<>(&QTimer::start));
  TrainerContext context{info, start.State, start.Windows, start.ServerName};
  const std::unique_ptr<QObject> windows = createWindows ? createWindows(context) : nullptr;
  closeBoxes.stop();
  QObject::disconnect(&session, &SessionEnd::ending, &closeBoxes, nullptr);
  start.Windows.Free();
  if (!windows) return 0;
  // Inside exit() (the display has gone away) closing is all that can be done: the toolkit's
  // own statics are partly gone, so destroying a window there would crash. The main window's
  // values are written; the correct-answer window's selectors keep their stored states.
  const auto endSession = [] {
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
  };
  QObject::connect(&session, &SessionEnd::ending, qApp, endSession);
  // An end that came while the main window was being created is acted on once the loop runs.
  if (session.Ended()) QTimer::singleShot(0, qApp, endSession);
  return QApplication::exec();
}

}  // namespace zv
