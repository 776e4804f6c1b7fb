// The trainer as the program entry builds it, with a driver that takes the first exam as far
// as ZV_DRIVE asks and then prints "READY" on its standard output, so the end-to-end tests can
// end the session at that point. The real program cannot be clicked without a display.
//   ZV_DRIVE=hint:N     the correct-answer window of answer N is on view (modal)
//   ZV_DRIVE=between:N  N answers given, the next task is on view
//   ZV_DRIVE=mark       the mark window is on view (modal)
//   (none)              nothing is clicked: the start screen stays on view
// Every answer given is the right one.

#include "app/RunTrainer.h"
#include "app/TrainerWindows.h"
#include "shell/StartUp.h"
#include "sound/SoundService.h"
#include "tasks/BuiltinContent.h"
#include "ui/TBitBtn.h"
#include "ui/THintForm.h"
#include "ui/TMarkForm.h"
#include "ui/TZVMainForm.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace zv {
namespace {

class ExamDriver : public QObject {
 public:
  ExamDriver(TrainerWindows& windows, QObject* parent) : QObject(parent), m_windows(windows) {
    const QString drive = qEnvironmentVariable("ZV_DRIVE");
    m_stage = drive.section(u':', 0, 0);
    m_target = drive.section(u':', 1, 1).toInt();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ExamDriver::Tick);
    timer->start(30);
  }

 private:
  // Each action runs from a timer of its own: an answer opens a modal window, whose loop must
  // not hold up the next tick.
  template <typename Action>
  void Later(Action action) {
    QTimer::singleShot(0, this, action);
  }

  void Tick() {
    // Without ZV_DRIVE it stays on the start screen: the test ends it there.
    if (m_ready || m_busy || m_stage.isEmpty()) return;
    TZVMainForm& main = m_windows.Main();
    if (QWidget* modal = QApplication::activeModalWidget()) {
      const bool hint = modal == &m_windows.Hint();
      const bool mark = qobject_cast<TMarkForm*>(modal) != nullptr;
      if ((hint && m_stage == u"hint" && m_answered == m_target) || (mark && m_stage == u"mark")) return Ready();
      m_busy = true;
      Later([this, modal] {
        modal->close();
        m_busy = false;
      });
      return;
    }
    if (main.Flow().OnStartScreen()) {
      if (m_started) return;
      m_started = true;
      Later([&main] { main.BitBtns[4]->click(); });
      return;
    }
    for (TBitBtn* button : main.BitBtns) {
      if (!button->isVisible() || button->Tag != 1) continue;
      if (m_stage == u"between" && m_answered == m_target) return Ready();
      ++m_answered;
      m_busy = true;
      // The busy flag goes when the modal window is up (the click returns only after it).
      Later([this, button] { button->click(); });
      QTimer::singleShot(200, this, [this] { m_busy = false; });
      return;
    }
  }

  void Ready() {
    m_ready = true;
    std::fputs("READY\n", stdout);
    std::fflush(stdout);
  }

  TrainerWindows& m_windows;
  QString m_stage;
  int m_target = 0;
  int m_answered = 0;
  bool m_started = false;
  bool m_busy = false;
  bool m_ready = false;
};

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
  zv::NoSoundService sound;
  return zv::RunTrainer(argc, argv, [&sound](zv::TrainerContext& context) -> std::unique_ptr<QObject> {
    auto windows = std::make_unique<zv::TrainerWindows>(context, sound);
    new zv::ExamDriver(*windows, windows.get());
    return windows;
  });
}
