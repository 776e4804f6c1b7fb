// The exam flow: its start, the answer buttons, the break-off and the protocol button.

#include "exam/ExamFlow.h"
#include "exam/ExamFlowParts.h"

#include "exam/ElapsedTime.h"
#include "exam/Marks.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/RandomSource.h"
#include "sound/SoundService.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"

#include <QStringList>

namespace zv {

using namespace examflow;

ExamFlow::ExamFlow(ExamEnvironment env) : m_env(env) { SetTimeLimitRange(5, 45, 10); }

void ExamFlow::After(int ms, std::function<void()> action) {
  const std::uint64_t step = m_step;
  m_env.view.Schedule(ms, [this, step, action = std::move(action)] {
    if (step == m_step) action();
  });
}

void ExamFlow::SetSoundHardware(bool present, bool allVoicedTasks) {
  m_soundHardware = present;
  if (!present || !allVoicedTasks) {
    m_screen.DirComboBoxIndex = static_cast<int>(Presentation::TextOnly);
    m_screen.DirComboBoxEnabled = false;
  }
}

void ExamFlow::BitBtnClick(int button) {
  if (button < 1 || button > 5) return;
  if (button == 5 && m_screen.Buttons[4].tag == kStartTag) {
    StartExam();
    return;
  }
  if (!m_screen.Buttons[static_cast<std::size_t>(button - 1)].visible || m_startScreen) return;
  JudgeAnswer(button);
}

void ExamFlow::StartExam() {
  if (m_screen.SoundCheckBoxChecked) StopSound();
  m_screen.GenGroupBoxVisible = false;
  m_examTasks = TasksPerExam();
  m_remaining = m_examTasks;
  WriteHeader();
  m_examStartTick = m_env.clock.TickCount();
  PresentTask();
}

void ExamFlow::CancelBitBtnClick() {
  ++m_step;
  m_screen.TLTimerOn = false;
  if (m_screen.SoundCheckBoxChecked) StopSound();
  if (m_screen.CancelTag == 1) {
    m_limitActive = false;
    m_break = true;
    m_env.protocol.EndUpdate();
    // A task shown but not answered does not count as passed.
    if (!m_consolidation && !m_env.fixedTask) m_env.tasks.Unmark(m_currentTask);
    for (AnswerButton& b : m_screen.Buttons) b.kind = GlyphKind::Question;
    ShowStartScreen();
    m_break = false;
    return;
  }
  if (m_screen.SoundCheckBoxChecked && m_soundHardware && m_env.sound.HasComments(SoundCategory::Farewell)) {
    static const QStringList endings = {S(" уходит"), S(" прощается"), S(" закрывается")};
    m_screen.WindowCaption = S("Зорвик") + Pick(m_env.random, endings);
    Refresh();
    m_env.sound.PlayComment(SoundCategory::Farewell, false, [this] { m_env.view.CloseWindow(); });
    m_env.view.MinimizeWindow();
    return;
  }
  m_env.view.CloseWindow();
}

void ExamFlow::ExitBitBtnClick() {
  ++m_step;
  m_env.view.CloseWindow();
}

void ExamFlow::ShowLogBitBtnClick() { m_env.view.OpenProtocol(); }

}  // namespace zv
