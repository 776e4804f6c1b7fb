#pragma once
// TrainerContext: what the trainer's windows are created from — the system information, the
// state restored at start-up, the start-up windows still showing (the main window's creation
// continues their progress display and frees them) and the name its instance server listens
// under. All of it outlives the windows.

#include <QString>

namespace zv {

struct SystemInfo;
struct TrainerState;
struct StartUpWindows;

struct TrainerContext {
  SystemInfo& System;
  TrainerState& State;
  StartUpWindows& Windows;
  const QString& ServerName;
};

}  // namespace zv
