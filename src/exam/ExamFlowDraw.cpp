// The task draw: the next task from the selector or the fixed task, its record and its
// presentation on the buttons; the flashing of a consolidation task.

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

void ExamFlow::PresentTask() {
  ++m_step;
  MainScreen& s = m_screen;
  if (m_startScreen) {
    m_startScreen = false;
    s.TaskListVisible = false;
    s.LiveUpdateVisible = false;
    s.DirGroupBoxVisible = false;
    s.ShowLogVisible = false;
    s.RepGroupBoxVisible = false;
    s.GenGroupBoxVisible = false;
    s.Buttons[4].visible = false;
    for (int i = 0; i < 4; ++i) s.Buttons[static_cast<std::size_t>(i)].panelVisible = true;
    s.Buttons[4].kind = GlyphKind::Question;
    s.DirStatusLabel = kDirLabel + QStringLiteral(": ") + PresentationName(s.DirComboBoxIndex);
    s.DirStatusLabelVisible = true;
    s.CancelTag = 1;
    s.CancelPlacement = CancelPlace::ExamCentre;
    s.CancelCaption = S("в а т и т !");
    s.CancelHint = S("Прервать экзамен");
    s.FlashTimerOn = m_consolidation;
    if (m_consolidation) s.RepStatusLabel = kRepLabel;
    s.RepStatusLabelVisible = m_consolidation;
    if (s.TLCheckBoxChecked || m_soundHardware) {
      s.PreBottomPanelVisible = true;
      if (m_soundHardware) {
        s.SoundGroupPlace = GroupPlace::BottomPanel;
        s.SoundGroupExamPlace = s.TLCheckBoxChecked ? SoundPlace::RightEdge : SoundPlace::Centre;
      }
    }
    // The group with the no-sound notice does not follow into the exam.
    if (!m_soundHardware) s.SoundGroupBoxVisible = false;
    if (s.TLCheckBoxChecked)
      PlaceTimeLimitInExam();
    else
      s.TLGroupBoxVisible = false;
    s.SpeakerPanelTop = s.DirComboBoxIndex == static_cast<int>(Presentation::SoundOnly) ? 150 : 14;
  }

  s.SpeakerBitBtnVisible = false;
  s.Buttons[3].visible = false;
  s.Buttons[4].visible = false;
  s.Buttons[4].tag = 0;
  static const QStringList endings = {S("ым толкованием"), S("ым пояснением"), S("ым аналогом"), S("ой трактовкой")};
  s.KeyGuideLabel = S("Нажмите кнопку с правильн") + Pick(m_env.random, endings) + S(" фразы");
  if (m_consolidation) s.RepComLabel = cp1251::Decode(TaskCatalogue::DrawRemark(m_env.remarks));

  s.StatusLabel =
      S("%1/%2 экзамена. Верных ответов: %3").arg(m_examTasks - m_remaining + 1).arg(m_examTasks).arg(m_right);

  const int n = FetchTask();

  if (s.DirComboBoxIndex == static_cast<int>(Presentation::SoundOnly)) {
    s.TaskLabel.clear();
  } else {
    s.TaskLabel1Colour = kSilver;
    s.TaskLabel = m_record[0];
    s.TaskLabel1Visible = true;
    if (m_env.isXPOrOlder) s.FlashTimerOn = true;
  }

  static const QStringList verbs = {S("Растолковать"), S("Пояснить"), S("Выбрать аналог"), S("Дать трактовку")};
  Write(TimeOfDay() + QLatin1Char(' ') + Pick(m_env.random, verbs) + QStringLiteral(": "), kPlain, kBlack);
  Write(m_record[0] + QLatin1Char('\n'), kBold, kBlue);
  m_taskShownTick = m_env.clock.TickCount();

  std::array<int, 6> slot{};
  --m_remaining;
  for (int k = 1; k <= n; ++k) {
    int r = 0;
    do {
      r = m_env.random.Uniform(n) + 1;
    } while (slot[static_cast<std::size_t>(r)] != 0);
    slot[static_cast<std::size_t>(r)] = k;
    AnswerButton& b = s.Buttons[static_cast<std::size_t>(k - 1)];
    b.tag = r;
    b.visible = true;
    b.caption = m_record[static_cast<std::size_t>(r)];
  }
  s.Focus = FocusTarget::BitBtn1;
  ++s.FocusRequest;
  Refresh();

  // The learner's time starts once the phrase is being spoken: the wait of 20 ms a character
  // comes first, then the voiced task, then the countdown.
  if (m_soundHardware && s.DirComboBoxIndex != static_cast<int>(Presentation::TextOnly)) {
    m_env.view.ProcessPendingMessages();
    After(20 * static_cast<int>(m_record[0].size()), [this] {
      PlayVoicedTask();
      ArmCountdown();
    });
  } else {
    ArmCountdown();
  }
}

int ExamFlow::FetchTask() {
  TaskRecord record;
  int n = 0;
  if (m_env.fixedTask) {
    // The fixed test task is shown without consulting the selector. When the bank does not
    // hold it, the first task it holds stands in, so that nothing is ever marked passed.
    m_currentTask = *m_env.fixedTask;
    n = m_env.catalogue.LoadTask(m_currentTask, record);
    for (int k = 1; n == 0 && k <= 1500; ++k) {
      n = m_env.catalogue.LoadTask(k, record);
      if (n > 0) m_currentTask = k;
    }
    return TakeRecord(record, n);
  }
  if (n == 0 && m_consolidation) {
    // A passed task the bank no longer holds can never be repeated: it leaves the pool.
    for (int tries = 0; n == 0 && tries < 1500 && m_env.tasks.CountUsed() - m_env.tasks.DoneCount > 0; ++tries) {
      m_currentTask = m_env.tasks.DrawUsed();
      n = m_env.catalogue.LoadTask(m_currentTask, record);
      if (n == 0) m_env.tasks.MarkDone();
    }
  }
  if (n == 0) {
    // A task the bank does not hold (while the bank is still being written) is never shown:
    // it is handed back and another one drawn. When no held task is left in the round, the
    // round is over as if every task had been passed.
    for (int round = 0; n == 0 && round < 2; ++round) {
      for (int tries = 0; n == 0 && tries < 4 * 1500; ++tries) {
        m_currentTask = m_env.tasks.DrawNew();
        if (m_env.tasks.Wrapped) {
          Write(kWrapNotice + QStringLiteral("\n\n"), kBold, kBlack);
          ShowMessageBox({kWrapNotice, S("Зорвик"), MsgIcon::Information, MsgButtons::Ok, true});
          m_env.statistics.RCount = 0;
          m_env.tasks.Wrapped = false;
        }
        n = m_env.catalogue.LoadTask(m_currentTask, record);
        if (n == 0) m_env.tasks.Unmark(m_currentTask);
      }
      if (n > 0) break;
      if (const int k = FirstUnpassedHeldTask(); k > 0) {
        m_env.tasks.MarkUsed(k);
        m_currentTask = k;
        n = m_env.catalogue.LoadTask(k, record);
      } else {
        m_env.tasks.Reset(true);
        m_env.tasks.Wrapped = true;  // the next draw tells the learner
      }
    }
  }
  return TakeRecord(record, n);
}

int ExamFlow::TakeRecord(const TaskRecord& record, int n) {
  for (int k = 0; k <= n; ++k)
    m_record[static_cast<std::size_t>(k)] = cp1251::Decode(record.Slots[static_cast<std::size_t>(k)]);
  m_interpretations = n;
  return n;
}

int ExamFlow::FirstUnpassedHeldTask() {
  TaskRecord record;
  for (int k = 1; k <= 1500; ++k)
    if (!m_env.tasks.IsUsed(k) && m_env.catalogue.LoadTask(k, record) > 0) return k;
  return 0;
}

void ExamFlow::FlashTimerTimer() {
  RandomSource& r = m_env.random;
  const int a = r.Uniform(64), b = r.Uniform(64), c = r.Uniform(64);
  m_screen.TaskLabel1Colour = PackedRgb(192 + a, 192 + b, 192 + c);
  if (m_consolidation) {
    const int x = r.Uniform(160), y = r.Uniform(160), z = r.Uniform(160);
    m_screen.RepStatusLabelColour = PackedRgb(x, y, z);
  }
  Refresh();
}

}  // namespace zv
