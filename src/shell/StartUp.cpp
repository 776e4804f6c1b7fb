#include "shell/StartUp.h"

#include "platform/MessageBox.h"
#include "platform/MessageBoxPresenter.h"
#include "platform/SessionEnd.h"
#include "shell/OleDate.h"
#include "shell/RegionalSettings.h"
#include "shell/TWarningForm.h"
#include "tasks/TaskCatalogue.h"

#include <QApplication>
#include <QProgressBar>
#include <QTimer>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kProgressMaxNT = 35;
constexpr int kProgressMaxOther = 39;

const QString kRegionalSettingsMissing =
    u"Не удалось открыть региональные настройки: в Вашей системе не найдена программа для их изменения.\r\n"
    u"Установите русский язык средствами системы самостоятельно. Сейчас программа будет запущена."_s;

LanguageWarningAnswer askWithWindow(const QString& caption, const QString& text) {
  return AskLanguageWarning(caption, text);
}

}  // namespace

StartUpResult StartUp(SystemInfo& info, const StartUpOptions& options) {
  StartUpResult result;

  const InstancePaths instance =
      options.Instance ? *options.Instance : InstancePaths::ForUser(info.Environment);
  result.Lock = std::make_unique<SingleInstanceLock>(instance.LockFile);
  if (CheckSingleInstance(*result.Lock, instance.ServerName) == InstanceCheck::HandedOver)
    return result;
  result.ServerName = instance.ServerName;

  TrainerState& state = result.State;
  PublishProgramValues(state, info);
  LocateSystemFolders(info);

  if (LanguageCheckNeeded(info)) {
    const LanguageWarningPrompt ask = options.AskLanguage ? options.AskLanguage : askWithWindow;
    if (CheckLanguage(info, SystemDefaultLanguageNames(info.Environment), ask)) {
      const bool opened = options.OpenRegional ? options.OpenRegional() : OpenRegionalSettings();
      if (opened) return result;
      // A desktop without a regional-settings panel: ending here would leave the learner with
      // nothing on the screen, so the program says so and starts after all.
      ShowMessageBox({kRegionalSettingsMissing, state.CyrillicName, MsgIcon::Warning, MsgButtons::Ok, true});
    }
  }

  StartUpWindows& windows = result.Windows;
  windows.Splash = std::make_unique<TStartImageForm>(*info.Random);
  windows.Splash->show();

  windows.Progress = std::make_unique<TProgressForm>();
  TProgressForm& progress = *windows.Progress;
  progress.SetBorder(false);
  progress.SetAlphaBlend(true);
  progress.ProgressBar->setMaximum(info.IsNTFamily ? kProgressMaxNT : kProgressMaxOther);
  progress.SetCaption(u"Проверка наличия необходимых компонентов:"_s);
  progress.show();
  QCoreApplication::processEvents();

  state.RCount = 0;
  state.FirstDate = options.Now ? options.Now() : OleNow();

  const int sayings = TaskCatalogue(QByteArrayView(), options.SayingsText).CountSayings();
  RestoreStartUpSelectors(info, state, sayings, progress);

  ShortOSName(info);
  result.Proceed = true;
  return result;
}

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

  // From here on the end of the session is kept; once the windows exist it closes them as the
  // user would: the modal one on view first, then the main window, which writes the settings
  // and the progress. The correct-answer window stores its selectors when the windows are
  // destroyed on the way out.
  SessionEnd session;
  TrainerContext context{info, start.State, start.Windows, start.ServerName};
  const std::unique_ptr<QObject> windows = createWindows ? createWindows(context) : nullptr;
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
