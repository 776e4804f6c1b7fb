// The protocol writer: the header, each line's time of day and the summary.

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

void ExamFlow::Write(const QString& text, RunStyle style, std::uint32_t colour) {
  m_env.protocol.SetAttributes(style, colour);
  m_env.protocol.Append(text);
}

QString ExamFlow::TimeOfDay() {
  return m_env.locale.toString(m_env.clock.Now().time(), LongTimeWithoutZone(m_env.locale));
}

void ExamFlow::WriteHeader() {
  ProtocolDocument& p = m_env.protocol;
  p.Clear();
  p.BeginUpdate();
  p.SetAttributes(kPlain, kBlack);
  p.SetAlignment(Align::Centre);
  p.Append(QStringLiteral(" "));
  Write(S("ПРОТОКОЛ ПРОВЕРКИ\nПОНИМАНИЯ РУССКОГО ЯЗЫКА\n"), kBold, kBlue);
  Write(S("средствами программы Зорвик 1500\n"), kBold, kBlue);
  p.SetAttributes(kPlain, kBlack);
  if (m_consolidation) p.Append(S("в режиме ЗАКРЕПЛЕНИЕ ПРОЙДЕННОГО\n"));
  p.Append(m_env.locale.toString(m_env.clock.Now().date(), QLocale::ShortFormat) + QLatin1Char('\n'));
  p.Append(S("В экзамене %1 заданий\n").arg(m_examTasks) + kDirLabel + QStringLiteral(": ") +
           PresentationName(m_screen.DirComboBoxIndex) + QLatin1Char('\n'));
  if (m_screen.TLCheckBoxChecked)
    p.Append(S("Установлено ограничение времени на один ответ - %1с.\n").arg(m_screen.TLComboBoxIndex + 5));
  p.Append(QStringLiteral("\n"));
  p.SetAlignment(Align::Left);
}

void ExamFlow::WriteSummary() {
  ProtocolDocument& p = m_env.protocol;
  p.SetAlignment(Align::Centre);
  Write(m_consolidation ? S("Повторение длилось ") : S("Экзамен длился "), kBold, kBlue);
  Write(FormatElapsed(m_env.clock.TickCount() - m_examStartTick, m_env.decimalSeparator) +
            S("\nПравильных ответов: %1\nИтоговая оценка: ").arg(m_right),
        kBold,
        kBlue);
  Write(QString::number(m_mark), kBold, kRed);
  p.EndUpdate();
}

}  // namespace zv
