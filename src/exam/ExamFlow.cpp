#include "exam/ExamFlow.h"

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
namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

const QString& Pick(RandomSource& random, const QStringList& list) {
  return list[random.Uniform(static_cast<int>(list.size()))];
}

constexpr RunStyle kPlain{};
constexpr RunStyle kBold{true, false, false};
constexpr RunStyle kItalic{false, true, false};
constexpr RunStyle kStruck{false, false, true};

constexpr std::uint32_t kFuchsia = 0xFF00FF;
constexpr std::uint32_t kNavy = 0x000080;
constexpr std::uint32_t kAqua = 0x00FFFF;
constexpr std::uint32_t kSilver = 0xC0C0C0;

std::uint32_t Rgb(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
         static_cast<std::uint32_t>(b);
}

const QString kWrapNotice = S("Все имеющиеся в программе задания пройдены.\r\nРабота и статистика вновь начинается с нуля.");
const QString kPoolNotice = S("Все пройденные задания успешно повторены.\r\nПереход к новым заданиям.");
const QString kRepLabel = S(" Закрепление пройденного ");
const QString kDirLabel = S("Представление заданий");

}  // namespace

QString TimeLimitItem(int seconds) {
  return (seconds < 10 ? QStringLiteral("  ") : QString()) + QString::number(seconds) + S(" с");
}

QString ExamLengthItem(int index) {
  const int n = index + 5;
  return (n < 10 ? QStringLiteral("  ") : QString()) + QString::number(n);
}

QString PresentationName(int index) {
  static const QStringList names = {S("текст и звук"), S("только текст"), S("только звук")};
  return names.value(index);
}

const QStringList& ExamFlow::ResultMessages() {
  static const QStringList messages = {
      S("Выбран правильный аналог"),     S("Выбран верный аналог"),     S("Выбран правильный вариант"),
      S("Выбран верный вариант"),        S("Выбран правильный ответ"),  S("Выбран верный ответ"),
      S("Выбрано правильное толкование"), S("Выбрано верное толкование"), S("Выбрано правильное пояснение"),
      S("Выбрано верное пояснение"),     S("Выбрана правильная трактовка"), S("Выбрана верная трактовка"),
  };
  return messages;
}

const QStringList& ExamFlow::CountingWords() {
  static const QStringList words = {S("Правильных"), S("Верных"), S("Радующих"),
                                    S("Точных"),     S("В точку"), S("Разумных")};
  return words;
}

QString ExamFlow::NegateMessage(const QString& message) {
  const qsizetype blank = message.indexOf(QLatin1Char(' '));
  return blank < 0 ? message : message.left(blank + 1) + S("не") + message.mid(blank + 1);
}

QString ExamFlow::Continuation(const QString& negated) {
  // Without the first word, its blank and the "не": "Выбран неправильный аналог" gives
  // "Правильный аналог".
  const qsizetype p = negated.indexOf(QLatin1Char(' ')) + 1;  // 1-based position of the blank
  QString rest = negated.mid(p + 2);
  if (!rest.isEmpty()) rest[0] = rest[0].toUpper();
  return rest;
}

ExamFlow::ExamFlow(ExamEnvironment env) : m_env(env) {
  SetTimeLimitRange(5, 45, 10);
}

void ExamFlow::After(int ms, std::function<void()> action) {
  const std::uint64_t step = m_step;
  m_env.view.Schedule(ms, [this, step, action = std::move(action)] {
    if (step == m_step) action();
  });
}

void ExamFlow::SetSoundHardware(bool present) {
  m_soundHardware = present;
  if (!present) {
    m_screen.DirComboBoxIndex = static_cast<int>(Presentation::TextOnly);
    m_screen.DirComboBoxEnabled = false;
  }
}

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

void ExamFlow::Write(const QString& text, RunStyle style, std::uint32_t colour) {
  m_env.protocol.SetAttributes(style, colour);
  m_env.protocol.Append(text);
}

QString ExamFlow::TimeOfDay() {
  return m_env.locale.toString(m_env.clock.Now().time(), LongTimeWithoutZone(m_env.locale));
}

void ExamFlow::TLCheckBoxClick() {
  const bool on = m_screen.TLCheckBoxChecked;
  m_screen.TLComboBoxEnabled = on;
  m_screen.TictacEnabled = on;
  m_screen.TLLabelBold = on;
}

void ExamFlow::TictacCheckBoxClick() { m_screen.TicTacLabelBold = m_screen.TictacCheckBoxChecked; }

void ExamFlow::RepCheckBoxClick() {
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
    m_screen.RepCheckBoxChecked = false;
    RepCheckBoxClick();
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
  s.KeyGuideLabelVisible = true;
  s.TLLabel = S(" Ограничение времени ");
  if (s.TLGroupPlace == GroupPlace::BottomPanel) {
    s.TLGroupPlace = GroupPlace::StartScreen;
    SetTimeLimitRange(5, 45, m_limit >= 5 && m_limit <= 45 ? m_limit - 5 : 10);
    s.TLLabelTag = 0;
    s.TLGroupBoxVisible = true;
    s.TLCheckBoxVisible = true;
    TLCheckBoxClick();
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
  s.TaskLabelCentredVertically = true;
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

  s.StatusLabel = S("%1/%2 экзамена. Верных ответов: %3").arg(m_examTasks - m_remaining + 1).arg(m_examTasks).arg(m_right);

  const int n = FetchTask();

  s.TaskLabelCentredVertically = true;
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

void ExamFlow::ArmCountdown() {
  if (!m_limitActive) return;
  m_secondsLeft = m_limit;
  m_screen.TLComboBoxIndex = m_limit;
  m_screen.TLTimerOn = true;
  Refresh();
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
    request.windowColour = kNavy;
    request.fontColour = kAqua;
    request.blackButtonVisible = true;
    Write(S("Время, отпущенное на ответ, истекло.\n"), kBold, kBlack);
  } else {
    AnswerButton& clicked = s.Buttons[static_cast<std::size_t>(button - 1)];
    const QString message = Pick(m_env.random, ResultMessages());
    if (clicked.tag == 1) {
      request.windowColour = kFuchsia;
      request.fontColour = kBlue;
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
      request.windowColour = kBlack;
      request.fontColour = kSilver;
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
        kItalic, kBlack);

  const int done = m_examTasks - m_remaining;
  request.caption = S("%1/%2 экзамена позади. %3 ответов: %4")
                        .arg(done).arg(m_examTasks).arg(Pick(m_env.random, CountingWords())).arg(m_right);
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
  m_screen.RepCheckBoxChecked = false;
  RepCheckBoxClick();
  m_env.view.ProcessPendingMessages();
}

void ExamFlow::WriteSummary() {
  ProtocolDocument& p = m_env.protocol;
  p.SetAlignment(Align::Centre);
  Write(m_consolidation ? S("Повторение длилось ") : S("Экзамен длился "), kBold, kBlue);
  Write(FormatElapsed(m_env.clock.TickCount() - m_examStartTick, m_env.decimalSeparator) +
            S("\nПравильных ответов: %1\nИтоговая оценка: ").arg(m_right),
        kBold, kBlue);
  Write(QString::number(m_mark), kBold, kRed);
  p.EndUpdate();
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

void ExamFlow::FlashTimerTimer() {
  RandomSource& r = m_env.random;
  const int a = r.Uniform(64), b = r.Uniform(64), c = r.Uniform(64);
  m_screen.TaskLabel1Colour = Rgb(192 + a, 192 + b, 192 + c);
  if (m_consolidation) {
    const int x = r.Uniform(160), y = r.Uniform(160), z = r.Uniform(160);
    m_screen.RepStatusLabelColour = Rgb(x, y, z);
  }
  Refresh();
}

void ExamFlow::ShowLogBitBtnClick() { m_env.view.OpenProtocol(); }

void ExamFlow::SpeakerBitBtnClick() {
  if (!m_soundHardware) return;
  if (m_startScreen)
    PlayStartComment(true);
  else
    PlayVoicedTask();
}

void ExamFlow::ShowSpeakerPlaying() {
  m_screen.SpeakerAnimateVisible = true;
  m_screen.SpeakerBitBtnVisible = false;
  Refresh();
}

void ExamFlow::PlayStartComment(bool replay) {
  if (m_env.sound.HasComments(SoundCategory::Start)) ShowSpeakerPlaying();
  m_env.sound.PlayStartComment(replay, [this] { AfterQuestSnd(); });
}

void ExamFlow::PlayVoicedTask() {
  // Without the voiced-task packages nothing plays, and nothing animates.
  if (m_env.sound.AllVoicedTasksPresent()) ShowSpeakerPlaying();
  m_env.sound.PlayVoicedTask(m_currentTask, [this] { AfterQuestSnd(); });
}

void ExamFlow::StopSound() {
  m_env.sound.Stop();
  m_screen.SpeakerAnimateVisible = false;
  m_screen.SpeakerBitBtnVisible = false;
}

void ExamFlow::AfterQuestSnd() {
  m_screen.SpeakerBitBtnVisible = true;
  m_screen.SpeakerAnimateVisible = false;
  Refresh();
}

}  // namespace zv
