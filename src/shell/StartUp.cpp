#include "shell/StartUp.h"

#include "platform/MessageBoxPresenter.h"
#include "shell/OleDate.h"
#include "shell/RegionalSettings.h"
#include "shell/TWarningForm.h"
#include "tasks/TaskCatalogue.h"
#include "ui/ProgramLook.h"

#include <QApplication>
#include <QProgressBar>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kProgressMaxNT = 35;
constexpr int kProgressMaxOther = 39;

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
      if (options.OpenRegional) options.OpenRegional();
      else OpenRegionalSettings();
      return result;
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
  ApplyProgramFont();
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
