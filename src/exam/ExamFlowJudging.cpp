// Judging an answer: counters, the protocol line, the correct-answer window and the end.

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

void ExamFlow::JudgeAnswer(int button) {
  ++m_step;
  MainScreen& s = m_screen;
  s.TLTimerOn = false;
  // An answer in the middle of a countdown step leaves the box as the step would have.
  if (m_limitActive) s.TLComboBoxEnabled = false;
  if (s.SoundCheckBoxChecked) StopSound();
  s.StatusLabelVisible = false;
  s.TaskLabel1Visible = false;
  Write(TimeOfDay() + QLatin1Char(' '), kPlain, kBlack);
  s.CancelVisible = false;

  CorrectAnswerRequest request;
  request.rightInterpretation = m_record[1];
  if (button == 0) {
    request.verdict = HintCase::TimeOut;
    request.blackButtonVisible = true;
    Write(S("Время, отпущенное на ответ, истекло.\n"), kBold, kBlack);
  } else {
    AnswerButton& clicked = s.Buttons[static_cast<std::size_t>(button - 1)];
    const QString message = Pick(m_env.random, ResultMessages());
    if (clicked.tag == 1) {
      request.verdict = HintCase::Right;
      ++m_right;
      if (m_consolidation) {
        // The fixed test task leaves the selector as it was (MarkDone marks its last draw).
        if (!m_env.fixedTask) m_env.tasks.MarkDone();
      } else {
        ++m_env.statistics.RCount;
      }
      Write(message + QStringLiteral(": "), kPlain, kBlack);
      Write(m_record[1] + QLatin1Char('\n'), kBold, kGreen);
      clicked.kind = GlyphKind::Yes;
    } else {
      request.verdict = HintCase::Wrong;
      request.blackButtonVisible = true;
      const QString negated = NegateMessage(message);
      Write(negated + QStringLiteral(": "), kPlain, kBlack);
      Write(m_record[static_cast<std::size_t>(clicked.tag)] + QLatin1Char('\n'), kStruck, kGreen);
      Write(QString(14, QLatin1Char(' ')) + Continuation(negated) + QStringLiteral(": "), kPlain, kBlack);
      Write(m_record[1] + QLatin1Char('\n'), kBold, kGreen);
      clicked.kind = GlyphKind::Cancel;
      for (AnswerButton& b : s.Buttons)
        if (b.tag == 1 && b.visible) b.kind = GlyphKind::Yes;
    }
  }
  Write(S("На ответ затрачено ") + FormatElapsed(m_env.clock.TickCount() - m_taskShownTick, m_env.decimalSeparator) +
            QStringLiteral("\n\n"),
        kItalic,
        kBlack);

  const int done = m_examTasks - m_remaining;
  request.caption = S("%1/%2 экзамена позади. %3 ответов: %4")
                        .arg(done)
                        .arg(m_examTasks)
                        .arg(Pick(m_env.random, CountingWords()))
                        .arg(m_right);
  Refresh();
  m_env.view.ShowCorrectAnswer(request);

  if (m_consolidation) CheckPoolEmpty();

  if (m_remaining > 0) {
    for (AnswerButton& b : s.Buttons) b.kind = GlyphKind::Question;
    PresentTask();
  } else {
    m_limitActive = false;
    m_mark = ComputeMark(m_right, m_examTasks);
    WriteSummary();
    m_protocolAvailable = true;
    m_env.view.ShowMark(m_mark);
    m_lastWasConsolidation = m_consolidation;
    if (m_consolidation) m_mark = 0;
    for (AnswerButton& b : s.Buttons) b.kind = GlyphKind::Question;
    ShowStartScreen();
  }
  s.SoundGroupBoxVisible = m_soundHardware || m_startScreen;
  s.CancelVisible = true;
  s.StatusLabelVisible = true;
  Refresh();
}

void ExamFlow::CheckPoolEmpty() {
  if (m_env.tasks.CountUsed() - m_env.tasks.DoneCount >= 1) return;
  Write(kPoolNotice + QStringLiteral("\n\n"), kBold, kBlack);
  ShowMessageBox({kPoolNotice, S("Зорвик"), MsgIcon::Information, MsgButtons::Ok, true});
  RepCheckBoxClick(false);
  m_env.view.ProcessPendingMessages();
}

}  // namespace zv
