#pragma once
// Start-up: everything before the main window exists.
//
// StartUp runs, in order: the single-instance test (a second copy asks the first to come
// forward and ends); the program-wide values; the system folders; the language check (unless
// the user's locale is Cyrillic; choosing the regional settings ends the program, except when
// no regional-settings panel could be opened: then one message box says so and start-up goes
// on); the splash and the progress window; the three start-up selectors restored from the
// settings key; ShortOSName for the OS flags the main window needs.

#include "common/SystemInfo.h"
#include "platform/SingleInstance.h"
#include "shell/LanguageCheck.h"
#include "shell/TProgressForm.h"
#include "shell/TStartImageForm.h"
#include "shell/TrainerContext.h"
#include "shell/TrainerState.h"

#include <QByteArrayView>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace zv {

// The splash and the progress window. The main window's creation continues the progress
// display and then frees both (progress first) with Free().
struct StartUpWindows {
  std::unique_ptr<TProgressForm> Progress;
  std::unique_ptr<TStartImageForm> Splash;
  void Free() {
    Progress.reset();
    Splash.reset();
  }
};

struct StartUpOptions {
  QByteArrayView SayingsText;             // the stored sayings list, counted by "^"
  std::optional<InstancePaths> Instance;  // none: InstancePaths::ForUser(environment)
  LanguageWarningPrompt AskLanguage;      // none: the TWarningForm window
  std::function<bool()> OpenRegional;     // none: OpenRegionalSettings(); true: opened
  std::function<double()> Now;            // none: the current moment as an OLE date
};

struct StartUpResult {
  bool Proceed = false;                      // true: create the windows and run the message loop
  std::unique_ptr<SingleInstanceLock> Lock;  // kept for the life of the process
  QString ServerName;                        // where the main window's InstanceMessageServer listens
  TrainerState State;
  StartUpWindows Windows;
};

StartUpResult StartUp(SystemInfo& info, const StartUpOptions& options);

}  // namespace zv
