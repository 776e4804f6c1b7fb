// The per-answer time limit: its setting, its place in the exam and the countdown.

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

void ExamFlow::SetTimeLimit(int seconds) {
  m_limit = seconds;
  if (seconds >= 5 && seconds <= 45 && m_screen.TLGroupPlace == GroupPlace::StartScreen)
    m_screen.TLComboBoxIndex = seconds - 5;
}

void ExamFlow::SetTimeLimitRange(int first, int last, int index) {
  m_screen.TLFirst = first;
  m_screen.TLLast = last;
  m_screen.TLComboBoxIndex = index;
}

void ExamFlow::PlaceTimeLimitInExam() {
  MainScreen& s = m_screen;
  s.TLGroupPlace = GroupPlace::BottomPanel;
  s.TLCheckBoxVisible = false;
  s.TLComboBoxEnabled = false;
  s.TLLabel = S("    Осталось времени: ");
  s.TLLabelTag = 1;
  m_limitActive = true;
  m_limit = s.TLComboBoxIndex + 5;
  SetTimeLimitRange(0, 45, m_limit);
}

void ExamFlow::ArmCountdown() {
  if (!m_limitActive) return;
  m_secondsLeft = m_limit;
  m_screen.TLComboBoxIndex = m_limit;
  m_screen.TLTimerOn = true;
  Refresh();
}

void ExamFlow::TLTimerTimer() {
  if (!m_screen.TLTimerOn) return;
  m_screen.TLTimerOn = false;
  --m_secondsLeft;
  m_screen.TLComboBoxEnabled = true;
  Refresh();
  m_env.view.ProcessPendingMessages();
  After(64, [this] { StepCountdown(); });
}

void ExamFlow::StepCountdown() {
  MainScreen& s = m_screen;
  s.TLComboBoxIndex = std::max(0, s.TLComboBoxIndex - 1);
  s.TLComboBoxEnabled = false;
  Refresh();
  m_env.view.ProcessPendingMessages();
  if (s.TictacCheckBoxChecked) {
    if (!m_env.sound.EngineWorks())
      m_env.view.Beep();
    else
      m_env.sound.PlayBuiltIn(m_secondsLeft % 2 == 1 ? BuiltInSound::Tick : BuiltInSound::Tack);
  }
  if (m_secondsLeft <= 0) {
    JudgeAnswer(0);
  } else if (s.Buttons[4].tag != kStartTag) {
    s.TLTimerOn = true;
    Refresh();
  }
}

}  // namespace zv
