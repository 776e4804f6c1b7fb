#pragma once
// RunTrainer: the program entry — the application object, StartUp, then the windows made by
// the caller's factory (the main window TZVMainForm, then TAidForm, then THintForm), then the
// message loop.

#include "shell/TrainerContext.h"

#include <QByteArrayView>
#include <QObject>

#include <functional>
#include <memory>

namespace zv {

// Creates TZVMainForm, TAidForm and THintForm in this order and returns their owner; null
// ends the program. Whatever of the start-up windows the factory has not freed is freed when
// it returns.
using MainWindowFactory = std::function<std::unique_ptr<QObject>(TrainerContext&)>;

int RunTrainer(int argc, char** argv, const MainWindowFactory& createWindows);

}  // namespace zv
