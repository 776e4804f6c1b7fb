#include "shell/StartUp.h"

#include "platform/MessageBox.h"
#include "shell/OleDate.h"
#include "shell/RegionalSettings.h"
#include "shell/TWarningForm.h"
#include "tasks/TaskCatalogue.h"

#include <QApplication>
#include <QProgressBar>

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

  const InstancePaths instance = options.Instance ? *options.Instance : InstancePaths::ForUser(info.Environment);
  result.Lock = std::make_unique<SingleInstanceLock>(instance.LockFile);
  if (CheckSingleInstance(*result.Lock, instance.ServerName) == InstanceCheck::HandedOver) return result;
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

  state.Statistics.RCount = 0;
  state.Statistics.FirstDate = options.Now ? options.Now() : OleNow();

  const int sayings = TaskCatalogue(QByteArrayView(), options.SayingsText).CountSayings();
  RestoreStartUpSelectors(info, state, sayings, progress);

  ShortOSName(info);
  result.Proceed = true;
  return result;
}

}  // namespace zv
