#pragma once
// TrainerWindows: the trainer's windows for the life of the program, created in their order —
// the main window TZVMainForm (which finishes the start-up and shows the start screen), the
// task-list window TAidForm, the correct-answer window THintForm — and the local server through
// which a second copy asks this one to come forward.
//
// Destroyed in the reverse order: the correct-answer window stores its selectors, the main
// window (already closed, so the settings are written) goes last.

#include <QObject>

#include <memory>

namespace zv {

class InstanceMessageServer;
class SoundService;
class TAidForm;
class THintForm;
class TZVMainForm;
struct TrainerContext;

class TrainerWindows : public QObject {
  Q_OBJECT
 public:
  TrainerWindows(TrainerContext& context, SoundService& sound);
  ~TrainerWindows() override;

  TZVMainForm& Main() { return *m_main; }
  TAidForm& Aid() { return *m_aid; }
  THintForm& Hint() { return *m_hint; }

 private:
  std::unique_ptr<TZVMainForm> m_main;
  std::unique_ptr<TAidForm> m_aid;
  std::unique_ptr<THintForm> m_hint;
  std::unique_ptr<InstanceMessageServer> m_server;
};

}  // namespace zv
