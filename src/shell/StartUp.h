#pragma once
// Start-up: everything before the main window exists, and the program entry around it.
//
// StartUp runs, in order: the single-instance test (a second copy asks the first to come
// forward and ends); the program-wide values; the system folders; the language check (unless
// the user's locale is Cyrillic; choosing the regional settings ends the program, except when
// no regional-settings panel could be opened: then one message box says so and start-up goes
// on); the splash and the progress window; the three start-up selectors restored from the
// settings key; ShortOSName for the OS flags the main window needs.
//
// RunTrainer is the program entry: the application object, StartUp, then the windows made by
// the caller's factory (the main window TZVMainForm, then TAidForm, then THintForm), then the
// message loop.

#include "common/SystemInfo.h"
#include "platform/SingleInstance.h"
#include "shell/LanguageCheck.h"
#include "shell/TProgressForm.h"
#include "shell/TStartImageForm.h"
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
  QByteArrayView SayingsText;                 // the stored sayings list, counted by "^"
  std::optional<InstancePaths> Instance;      // none: InstancePaths::ForUser(environment)
  LanguageWarningPrompt AskLanguage;          // none: the TWarningForm window
  std::function<bool()> OpenRegional;         // none: OpenRegionalSettings(); true: opened
  std::function<double()> Now;                // none: the current moment as an OLE date
};

struct StartUpResult {
  bool Proceed = false;  // true: create the windows and run the message loop
  std::unique_ptr<SingleInstanceLock> Lock;  // kept for the life of the process
  QString ServerName;    // where the main window's InstanceMessageServer listens
  TrainerState State;
  StartUpWindows Windows;
};

StartUpResult StartUp(SystemInfo& info, const StartUpOptions& options);

// What the main window is created from. All of it outlives the windows.
struct TrainerContext {
  SystemInfo& System;
  TrainerState& State;
  StartUpWindows& Windows;
  const QString& ServerName;
};

// Creates TZVMainForm, TAidForm and THintForm in this order and returns their owner; null
// ends the program. Whatever of the start-up windows the factory has not freed is freed when
// it returns.
using MainWindowFactory = std::function<std::unique_ptr<QObject>(TrainerContext&)>;

int RunTrainer(int argc, char** argv, QByteArrayView sayingsText,
               const MainWindowFactory& createWindows);

}  // namespace zv
