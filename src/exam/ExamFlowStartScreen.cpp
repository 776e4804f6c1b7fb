// The start screen: its options and whether consolidation is on offer.

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

#include <algorithm>

namespace zv {

using namespace examflow;

void ExamFlow::TLCheckBoxClick(bool checked) {
  m_screen.TLCheckBoxChecked = checked;
  ApplyTimeLimitBox();
}

void ExamFlow::TictacCheckBoxClick(bool checked) {
  m_screen.TictacCheckBoxChecked = checked;
  ApplyTictacBox();
}

void ExamFlow::RepCheckBoxClick(bool checked) {
  m_screen.RepCheckBoxChecked = checked;
  ApplyRepBox();
}

void ExamFlow::SoundCheckBoxClick(bool checked) {
  m_screen.SoundCheckBoxChecked = checked;
  if (m_screen.SpeakerBitBtnVisible) m_screen.SpeakerBitBtnVisible = checked;
}

void ExamFlow::GenComboBoxChange(int index) { m_screen.GenComboBoxIndex = index; }

void ExamFlow::DirComboBoxChange(int index) { m_screen.DirComboBoxIndex = index; }

void ExamFlow::TLComboBoxChange(int index) { m_screen.TLComboBoxIndex = index; }

void ExamFlow::ApplyOptions(const ExamOptions& o) {
  m_screen.DirComboBoxIndex = o.viewIndex;
  m_screen.TLCheckBoxChecked = o.timeLimitOn;
  m_screen.SoundCheckBoxChecked = o.comments;
  m_screen.TictacCheckBoxChecked = o.ticTac;
  m_screen.TLComboBoxIndex = o.timeLimitIndex;
  SetTimeLimit(o.timeLimit);
  m_screen.GenComboBoxIndex = std::clamp(o.tasksIndex, 0, 45);
  ApplyTimeLimitBox();
  ApplyTictacBox();
}

ExamOptions ExamFlow::Options() const {
  ExamOptions o;
  o.viewIndex = m_screen.DirComboBoxIndex;
  o.timeLimitOn = m_screen.TLCheckBoxChecked;
  o.comments = m_screen.SoundCheckBoxChecked;
  o.ticTac = m_screen.TictacCheckBoxChecked;
  o.timeLimitIndex = m_screen.TLComboBoxIndex;
  o.timeLimit = m_limit;
  o.tasksIndex = m_screen.GenComboBoxIndex;
  return o;
}

bool ExamFlow::CommentsOn() const {
  return m_screen.SoundCheckBoxChecked && m_env.sound.EngineWorks() && m_env.sound.CommentsLoaded();
}

void ExamFlow::ApplyTimeLimitBox() {
  const bool on = m_screen.TLCheckBoxChecked;
  m_screen.TLComboBoxEnabled = on;
  m_screen.TictacEnabled = on;
  m_screen.TLLabelBold = on;
}

void ExamFlow::ApplyTictacBox() { m_screen.TicTacLabelBold = m_screen.TictacCheckBoxChecked; }

void ExamFlow::ApplyRepBox() {
  const bool on = m_screen.RepCheckBoxChecked;
  m_screen.RepLabelColour = on ? kBlue : kNavy;
  m_screen.RepLabelBold = on;
  m_screen.Buttons[4].caption = on ? S("Приступить к закреплению пройденного") : S("Приступить к испытаниям");
  if (!on) m_screen.RepComLabel.clear();
  m_consolidation = on;
  m_screen.RepStatusLabelVisible = on;
}

void ExamFlow::CheckConsolidationAvailability() {
  const int used = m_env.tasks.CountUsed();
  const int repeated = m_env.tasks.DoneCount;
  const int n = TasksPerExam();
  m_screen.RepInfoLabel = S("Пройдено заданий: %1;\r\nиз них успешно повторено: %2").arg(used).arg(repeated);
  if (used - repeated >= n) {
    m_screen.RepGroupBoxHint = S("Обнулить пройденное можно в списке всех заданий");
    m_screen.RepEnabled = true;
    return;
  }
  if (m_screen.RepCheckBoxChecked) {
    RepCheckBoxClick(false);
    m_env.view.ProcessPendingMessages();
  }
  m_screen.RepGroupBoxHint =
      S("Режим закрепления пройденного становится доступным\r\nпосле прохождения не менее %1 новых заданий").arg(n);
  m_screen.RepEnabled = false;
}

void ExamFlow::ShowStartScreen() {
  ++m_step;
  MainScreen& s = m_screen;
  s.FlashTimerOn = false;
  s.DirGroupBoxVisible = true;
  s.DirStatusLabelVisible = false;
  s.SpeakerBitBtnVisible = false;
  s.TaskLabel1Visible = false;
  s.SpeakerPanelTop = 14;

  s.TaskListVisible = true;
  s.TaskListHint = S("Список всех заданий");
  if (m_right == m_examTasks && m_right > 0) s.TaskListHint += S(" с толкованиями!");
  s.LiveUpdateVisible = true;
  s.RepComLabel.clear();

  s.RepGroupBoxVisible = true;
  CheckConsolidationAvailability();

  s.GenGroupBoxVisible = true;
  s.TLLabel = S(" Ограничение времени ");
  if (s.TLGroupPlace == GroupPlace::BottomPanel) {
    s.TLGroupPlace = GroupPlace::StartScreen;
    SetTimeLimitRange(5, 45, m_limit >= 5 && m_limit <= 45 ? m_limit - 5 : 10);
    s.TLLabelTag = 0;
    s.TLGroupBoxVisible = true;
    s.TLCheckBoxVisible = true;
    ApplyTimeLimitBox();
  } else {
    s.TLGroupBoxVisible = true;
  }
  s.TLTimerOn = false;

  if (s.SoundGroupPlace == GroupPlace::BottomPanel) s.SoundGroupPlace = GroupPlace::StartScreen;
  // Without sound the group stays on the start screen with its notice.
  s.SoundGroupBoxVisible = true;

  for (int i = 0; i < 4; ++i) {
    s.Buttons[static_cast<std::size_t>(i)].visible = false;
    s.Buttons[static_cast<std::size_t>(i)].panelVisible = false;
  }
  AnswerButton& start = s.Buttons[4];
  start.tag = kStartTag;
  start.kind = GlyphKind::Ok;
  start.caption = s.RepCheckBoxChecked ? S("Приступить к закреплению пройденного") : S("Приступить к испытаниям");
  start.visible = true;
  start.panelVisible = true;

  s.RepStatusLabelVisible = false;
  s.StatusLabel = S("Суть тренажёра-экзаменатора:");
  s.StatusLabelVisible = true;
  s.TaskLabel = S("Испытайте себя в понимании русского языка.\rОценка выставляется после выполнения всех заданий");
  s.KeyGuideLabel = S("Ваш выбор:");

  s.CancelTag = 0;
  s.CancelCaption = S("Отказываюсь от испытаний");
  s.CancelHint = S("Выйти из программы");
  s.CancelVisible = true;

  bool openProtocol = false;
  if (!m_protocolAvailable || m_break) {
    s.CancelPlacement = CancelPlace::Centre;
    s.ShowLogVisible = false;
  } else {
    s.CancelPlacement = CancelPlace::RightEdge;
    s.ShowLogVisible = true;
    openProtocol = m_right < m_examTasks;
  }
  s.PreBottomPanelVisible = false;
  s.Focus = FocusTarget::BitBtn5;
  ++s.FocusRequest;
  Refresh();
  if (openProtocol) m_env.view.OpenProtocol();

  m_right = 0;
  m_startScreen = true;

  if (s.SoundCheckBoxChecked && m_soundHardware) {
    m_env.view.ProcessPendingMessages();
    After(512, [this] { PlayStartComment(false); });
  }
}

}  // namespace zv
