#include "exam/ExamFlow.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "sound/PackageSoundService.h"
#include "sound/SoundService.h"
#include "support/FakeClock.h"
#include "support/FakeSoundEngine.h"
#include "support/FakeView.h"
#include "support/PackageFixture.h"
#include "support/RecordingSound.h"
#include "support/ScriptedRandom.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"
#include "tasks/TaskText.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QTemporaryDir>

#include <deque>
#include <map>

namespace zv {
namespace {

// 1500 tasks; task k has 3 + k % 3 interpretations: "верно k" first, then "мимо k/j". A bank
// still being written holds only its first `held` tasks; the others are empty.
QByteArray MakeBank(int held = 1500) {
  QByteArray out(1, kTaskEnd);
  for (int k = 1; k <= 1500; ++k) {
    if (k > held) {
      out.append(kTaskEnd);
      continue;
    }
    const auto piece = [](const QString& s) { return Scramble(cp1251::Encode(s).value()); };
    out.append(piece(QStringLiteral("фраза %1").arg(k)));
    out.append(kPieceSeparator).append(piece(QStringLiteral("верно %1").arg(k)));
    for (int j = 2; j <= 3 + k % 3; ++j)
      out.append(kPieceSeparator).append(piece(QStringLiteral("мимо %1/%2").arg(k).arg(j)));
    out.append(kTaskEnd);
  }
  out.append('\0');
  return out;
}

using test::FakeClock;
using test::FakeView;
using test::RecordingSound;

class ExamFlowTest : public ::testing::Test {
 protected:
  QByteArray bank = MakeBank();
  TaskCatalogue catalogue{bank, {}};
  ClockSeededRandom random{77};
  TSmartRand tasks{1500, true, 50, random};
  TSmartRand remarks{18, false, 5, random};
  NoSoundService sound;
  FakeView view;
  FakeClock clock;
  ProtocolDocument protocol;
  ExamStatistics stats{7, 46000.0};
  MessageBoxHook boxes;
  const QLocale russian{QLocale::Russian, QLocale::Russia};
  // A flow's environment over this fixture's fakes; a test changes only the fields it is about.
  ExamEnvironment Environment(const TaskCatalogue& over, SoundService& voice) {
    return ExamEnvironment{view,
                           over,
                           tasks,
                           remarks,
                           random,
                           voice,
                           clock,
                           protocol,
                           stats,
                           QLatin1Char(','),
                           false,
                           std::nullopt,
                           russian};
  }
  ExamFlow flow{Environment(catalogue, sound)};

  void SetUp() override {
    flow.SetSoundHardware(false);
    flow.ShowStartScreen();
  }
  // The button carrying the right (tag 1) or a wrong interpretation.
  int ButtonWithTag(bool right) {
    for (int i = 0; i < 5; ++i) {
      const AnswerButton& b = flow.Screen().Buttons[static_cast<std::size_t>(i)];
      if (b.visible && (b.tag == 1) == right) return i + 1;
    }
    return 0;
  }
  static int ButtonWithTagIn(const ExamFlow& f, bool right) {
    for (int i = 0; i < 5; ++i) {
      const AnswerButton& b = f.Screen().Buttons[static_cast<std::size_t>(i)];
      if (b.visible && (b.tag == 1) == right) return i + 1;
    }
    return 0;
  }
  void Answer(bool right) {
    clock.tick += 3400;
    flow.BitBtnClick(ButtonWithTag(right));
  }
  QStringList ProtocolLines() { return protocol.PlainText().split(QLatin1Char('\n')); }
};

TEST_F(ExamFlowTest, StartScreenWithoutSound) {
  const MainScreen& s = flow.Screen();
  EXPECT_EQ(s.Buttons[4].tag, kStartTag);
  EXPECT_EQ(s.Buttons[4].kind, GlyphKind::Ok);
  EXPECT_EQ(s.Buttons[4].caption, QString::fromUtf8("Приступить к испытаниям"));
  EXPECT_EQ(s.CancelCaption, QString::fromUtf8("Отказываюсь от испытаний"));
  EXPECT_EQ(s.DirComboBoxIndex, 1) << "without sound the presentation is text only";
  EXPECT_FALSE(s.DirComboBoxEnabled);
  EXPECT_TRUE(s.SoundGroupBoxVisible) << "it shows the no-sound notice";
  EXPECT_FALSE(s.ShowLogVisible);
  EXPECT_EQ(s.RepInfoLabel, QString::fromUtf8("Пройдено заданий: 0;\r\nиз них успешно повторено: 0"));
  EXPECT_FALSE(s.RepEnabled);
  EXPECT_TRUE(view.pending.empty()) << "no start comment without sound";
}

TEST_F(ExamFlowTest, AllRightExamOfFive) {
  flow.BitBtnClick(5);
  EXPECT_EQ(flow.Screen().StatusLabel, QString::fromUtf8("1/5 экзамена. Верных ответов: 0"));
  EXPECT_EQ(flow.Screen().CancelCaption, QString::fromUtf8("в а т и т !"));
  EXPECT_EQ(tasks.CountUsed(), 1) << "a task is passed when it is drawn";
  for (int i = 0; i < 4; ++i) Answer(true);
  EXPECT_EQ(flow.Screen().StatusLabel, QString::fromUtf8("5/5 экзамена. Верных ответов: 4"));
  Answer(true);
  ASSERT_EQ(view.marks, std::vector<int>{5});
  EXPECT_EQ(stats.RCount, 12);
  EXPECT_EQ(tasks.CountUsed(), 5);
  EXPECT_EQ(view.answers.back().verdict, HintCase::Right);
  EXPECT_TRUE(view.answers.back().caption.startsWith(QString::fromUtf8("5/5 экзамена позади. ")));
  EXPECT_TRUE(view.answers.back().caption.endsWith(QString::fromUtf8(" ответов: 5")));
  // Back on the start screen: the protocol is offered but does not open by itself.
  EXPECT_TRUE(flow.OnStartScreen());
  EXPECT_TRUE(flow.Screen().ShowLogVisible);
  EXPECT_EQ(view.protocolOpened, 0);
  EXPECT_EQ(flow.Screen().TaskListHint, QString::fromUtf8("Список всех заданий с толкованиями!"));
  const QStringList lines = ProtocolLines();
  EXPECT_EQ(lines[0], QString::fromUtf8(" ПРОТОКОЛ ПРОВЕРКИ"));
  EXPECT_EQ(lines[2], QString::fromUtf8("средствами программы Зорвик 1500"));
  EXPECT_EQ(lines[3], QStringLiteral("09.12.2026"));
  EXPECT_EQ(lines[4], QString::fromUtf8("В экзамене 5 заданий"));
  EXPECT_EQ(lines[5], QString::fromUtf8("Представление заданий: только текст"));
  EXPECT_TRUE(lines.contains(QString::fromUtf8("На ответ затрачено 3,4 с")));
  EXPECT_EQ(lines.back(), QString::fromUtf8("Итоговая оценка: 5"));
  const auto& last = protocol.Paragraphs().back();
  EXPECT_EQ(last.align, Align::Centre);
  EXPECT_EQ(last.runs.back().colour, kRed);
  EXPECT_FALSE(protocol.Updating());
}

TEST_F(ExamFlowTest, WrongAnswerBlockAndProtocolOpensByItself) {
  flow.BitBtnClick(5);
  const QString phrase = flow.Phrase();
  const int task = flow.CurrentTask();
  const int wrong = ButtonWithTag(false);
  const int wrongTag = flow.Screen().Buttons[static_cast<std::size_t>(wrong - 1)].tag;
  clock.tick += 75000;
  flow.BitBtnClick(wrong);
  EXPECT_EQ(view.answers.back().verdict, HintCase::Wrong);
  EXPECT_TRUE(view.answers.back().blackButtonVisible);
  EXPECT_EQ(view.answers.back().rightInterpretation, QString::fromUtf8("Верно %1").arg(task));

  // The block: the chosen interpretation struck out, the right one indented on the next line.
  const auto& paragraphs = protocol.Paragraphs();
  std::size_t i = 0;
  while (i < paragraphs.size() && !paragraphs[i].Text().endsWith(phrase)) ++i;
  ASSERT_LT(i + 3, paragraphs.size());
  const auto& chosen = paragraphs[i + 1].runs;
  ASSERT_EQ(chosen.size(), 2u);
  EXPECT_TRUE(chosen[0].text.startsWith(QStringLiteral("10:01:16 ")));
  EXPECT_TRUE(chosen[0].text.contains(QString::fromUtf8(" не"))) << chosen[0].text.toStdString();
  EXPECT_EQ(chosen[1].text, QString::fromUtf8("Мимо %1/%2").arg(task).arg(wrongTag));
  EXPECT_TRUE(chosen[1].style.strikeOut);
  EXPECT_EQ(chosen[1].colour, kGreen);
  const auto& right = paragraphs[i + 2].runs;
  ASSERT_EQ(right.size(), 2u);
  EXPECT_TRUE(right[0].text.startsWith(QString(14, QLatin1Char(' '))));
  EXPECT_TRUE(right[0].text.endsWith(QStringLiteral(": ")));
  EXPECT_EQ(right[1].text, QString::fromUtf8("Верно %1").arg(task));
  EXPECT_TRUE(right[1].style.bold);
  EXPECT_EQ(paragraphs[i + 3].Text(), QString::fromUtf8("На ответ затрачено 1 м 15 с"));
  EXPECT_TRUE(paragraphs[i + 3].runs[0].style.italic);

  for (int k = 0; k < 4; ++k) Answer(true);
  EXPECT_EQ(view.marks, std::vector<int>{4});
  EXPECT_EQ(view.protocolOpened, 1) << "an exam with a wrong answer opens its protocol";
  EXPECT_EQ(stats.RCount, 11);
}

TEST(ExamTexts, NegationAndContinuation) {
  const QStringList& m = ExamFlow::ResultMessages();
  ASSERT_EQ(m.size(), 12);
  EXPECT_EQ(ExamFlow::NegateMessage(m[0]), QString::fromUtf8("Выбран неправильный аналог"));
  EXPECT_EQ(ExamFlow::NegateMessage(m[7]), QString::fromUtf8("Выбрано неверное толкование"));
  EXPECT_EQ(ExamFlow::Continuation(ExamFlow::NegateMessage(m[0])), QString::fromUtf8("Правильный аналог"));
  EXPECT_EQ(ExamFlow::Continuation(ExamFlow::NegateMessage(m[7])), QString::fromUtf8("Верное толкование"));
  EXPECT_EQ(ExamFlow::Continuation(ExamFlow::NegateMessage(m[11])), QString::fromUtf8("Верная трактовка"));
}

TEST_F(ExamFlowTest, TimeLimitCountsDownBeepsAndTimesOut) {
  const MainScreen& s = flow.Screen();
  flow.TLCheckBoxClick(true);
  flow.TLComboBoxChange(0);  // 5 s
  flow.BitBtnClick(5);
  EXPECT_TRUE(ProtocolLines().contains(QString::fromUtf8("Установлено ограничение времени на один ответ - 5с.")));
  EXPECT_EQ(s.TLLabel, QString::fromUtf8("    Осталось времени: "));
  EXPECT_EQ(s.TLFirst, 0);
  EXPECT_EQ(s.TLComboBoxIndex, 5) << "the box shows the seconds left";
  EXPECT_TRUE(s.TLTimerOn);
  std::vector<int> shown;
  for (int step = 0; step < 5; ++step) {
    flow.TLTimerTimer();
    view.RunPending();
    shown.push_back(s.TLComboBoxIndex);
    if (step < 4) {
      EXPECT_TRUE(s.TLTimerOn);
    }
  }
  EXPECT_EQ(shown[0], 4);
  EXPECT_EQ(view.beeps, 5) << "without sound output every step beeps";
  ASSERT_EQ(view.answers.size(), 1u);
  EXPECT_EQ(view.answers[0].verdict, HintCase::TimeOut);
  EXPECT_EQ(stats.RCount, 7) << "a time-out changes no counter";
  EXPECT_TRUE(ProtocolLines().contains(QString::fromUtf8("10:00:01 Время, отпущенное на ответ, истекло.")));
  EXPECT_EQ(s.StatusLabel, QString::fromUtf8("2/5 экзамена. Верных ответов: 0"));
  EXPECT_EQ(s.TLComboBoxIndex, 5) << "the next task re-arms the countdown";
}

TEST_F(ExamFlowTest, AnswerDuringTheCountdownPauseDropsTheStep) {
  const MainScreen& s = flow.Screen();
  flow.TLCheckBoxClick(true);
  flow.BitBtnClick(5);
  flow.TLTimerTimer();  // the step waits 64 ms
  Answer(true);
  view.RunPending();  // the dropped step must not count down or re-arm for the old task
  EXPECT_EQ(view.beeps, 0);
  EXPECT_EQ(s.TLComboBoxIndex, 15);
  EXPECT_EQ(view.answers.size(), 1u);
}

TEST_F(ExamFlowTest, BreakOffUnmarksOnlyTheTaskOnScreen) {
  flow.BitBtnClick(5);
  flow.CancelBitBtnClick();
  EXPECT_EQ(tasks.CountUsed(), 0);
  EXPECT_TRUE(flow.OnStartScreen());
  EXPECT_FALSE(flow.Screen().ShowLogVisible);
  EXPECT_TRUE(view.marks.empty());
  flow.BitBtnClick(5);
  for (int k = 0; k < 3; ++k) Answer(k != 1);
  flow.CancelBitBtnClick();
  EXPECT_EQ(tasks.CountUsed(), 3);
  EXPECT_FALSE(flow.Screen().ShowLogVisible) << "a broken-off exam offers no protocol";
  EXPECT_FALSE(protocol.Updating());
  flow.CancelBitBtnClick();
  EXPECT_TRUE(view.closed) << "on the start screen the button leaves the program";
}

TEST_F(ExamFlowTest, WrapWhenEveryTaskWasPassed) {
  for (int k = 1; k <= 1500; ++k) tasks.MarkUsed(k);
  flow.BitBtnClick(5);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_TRUE(boxes.shown()[0].text.startsWith(QString::fromUtf8("Все имеющиеся в программе задания пройдены.")));
  EXPECT_EQ(stats.RCount, 0);
  EXPECT_FALSE(tasks.Wrapped);
  EXPECT_EQ(tasks.CountUsed(), 1) << "the task drawn is the first of the new round";
  const QStringList lines = ProtocolLines();
  const auto notice = lines.indexOf(QString::fromUtf8("Работа и статистика вновь начинается с нуля."));
  ASSERT_GT(notice, 0);
  EXPECT_TRUE(lines[notice + 2].endsWith(flow.Phrase())) << "the notice stands before the task line";
}

TEST_F(ExamFlowTest, ShuffleSpreadsTheRightAnswerOverTheButtons) {
  std::map<int, int> rightOn;
  flow.GenComboBoxChange(45);
  for (int exam = 0; exam < 12; ++exam) {
    flow.BitBtnClick(5);
    for (int k = 0; k < 50; ++k) {
      const int n = 3 + flow.CurrentTask() % 3;
      const auto& b = flow.Screen().Buttons;
      for (int i = 0; i < 5; ++i) EXPECT_EQ(b[static_cast<std::size_t>(i)].visible, i < n);
      if (n == 3) ++rightOn[ButtonWithTag(true)];
      Answer(true);
    }
  }
  ASSERT_EQ(rightOn.size(), 3u);
  for (const auto& [button, count] : rightOn) EXPECT_GT(count, 40) << "button " << button;
}

TEST_F(ExamFlowTest, ConsolidationAvailabilityFollowsThePool) {
  for (int k = 1; k <= 12; ++k) tasks.MarkUsed(k);
  for (int k = 1; k <= 8; ++k) {
    tasks.Last = k;
    tasks.MarkDone();
  }
  flow.ShowStartScreen();
  EXPECT_FALSE(flow.Screen().RepEnabled);
  EXPECT_EQ(flow.Screen().RepGroupBoxHint,
            QString::fromUtf8(
                "Режим закрепления пройденного становится доступным\r\nпосле прохождения не менее 5 новых заданий"));
  tasks.Done[0] &= ~(1u << 7);
  tasks.DoneCount = 7;
  flow.ShowStartScreen();
  EXPECT_TRUE(flow.Screen().RepEnabled);
  EXPECT_EQ(flow.Screen().RepGroupBoxHint, QString::fromUtf8("Обнулить пройденное можно в списке всех заданий"));
}

TEST_F(ExamFlowTest, ConsolidationRunThatEmptiesThePoolEndsAsANormalExam) {
  for (int k = 101; k <= 105; ++k) tasks.MarkUsed(k);
  flow.ShowStartScreen();
  flow.RepCheckBoxClick(true);
  EXPECT_EQ(flow.Screen().Buttons[4].caption, QString::fromUtf8("Приступить к закреплению пройденного"));
  flow.BitBtnClick(5);
  EXPECT_TRUE(ProtocolLines().contains(QString::fromUtf8("в режиме ЗАКРЕПЛЕНИЕ ПРОЙДЕННОГО")));
  EXPECT_TRUE(flow.Screen().RepStatusLabelVisible);
  EXPECT_FALSE(flow.Screen().RepComLabel.isEmpty());
  EXPECT_GE(flow.CurrentTask(), 101);
  for (int k = 0; k < 5; ++k) Answer(true);
  EXPECT_EQ(tasks.DoneCount, 5);
  EXPECT_EQ(tasks.CountUsed(), 5) << "consolidation draws mark nothing as passed";
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_TRUE(boxes.shown()[0].text.startsWith(QString::fromUtf8("Все пройденные задания успешно повторены.")));
  EXPECT_FALSE(flow.Screen().RepCheckBoxChecked);
  EXPECT_TRUE(protocol.PlainText().contains(QString::fromUtf8("Экзамен длился ")));
  EXPECT_FALSE(protocol.PlainText().contains(QString::fromUtf8("Повторение длилось ")));
  EXPECT_EQ(flow.Mark(), 5) << "the mark is kept: the run ended as a normal exam";
  EXPECT_FALSE(flow.LastExamWasConsolidation());
  EXPECT_EQ(stats.RCount, 7) << "repetitions do not count as right answers of the statistics";
}

TEST_F(ExamFlowTest, ConsolidationRunWithWrongAnswersKeepsThemInThePool) {
  for (int k = 1; k <= 40; ++k) tasks.MarkUsed(k);
  flow.ShowStartScreen();
  flow.RepCheckBoxClick(true);
  flow.BitBtnClick(5);
  for (int k = 0; k < 5; ++k) Answer(k % 2 == 0);
  EXPECT_EQ(tasks.DoneCount, 3);
  EXPECT_EQ(view.marks, std::vector<int>{3});
  EXPECT_EQ(flow.Mark(), 0) << "a consolidation run keeps no mark";
  EXPECT_TRUE(flow.LastExamWasConsolidation());
  EXPECT_TRUE(protocol.PlainText().contains(QString::fromUtf8("Повторение длилось ")));
  EXPECT_EQ(flow.Screen().RepInfoLabel, QString::fromUtf8("Пройдено заданий: 40;\r\nиз них успешно повторено: 3"));
  flow.RepCheckBoxClick(true);
  flow.BitBtnClick(5);
  flow.CancelBitBtnClick();
  EXPECT_EQ(tasks.CountUsed(), 40) << "breaking off a consolidation run unmarks nothing";
}

// A bank that holds only some tasks: once the learner has passed every held task, the round is
// over as if all had been passed (the wrap notice, RCount from 0); a last held task still
// unpassed is found, however few are left among the empty ones.
class PartialBankTest : public ExamFlowTest {
 protected:
  QByteArray partial = MakeBank(20);
  TaskCatalogue partialCatalogue{partial, {}};
  ExamFlow partialFlow{Environment(partialCatalogue, sound)};
};

TEST_F(PartialBankTest, EveryHeldTaskPassedWrapsTheRound) {
  for (int k = 1; k <= 20; ++k) tasks.MarkUsed(k);
  partialFlow.ShowStartScreen();
  partialFlow.BitBtnClick(5);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_TRUE(boxes.shown()[0].text.startsWith(QString::fromUtf8("Все имеющиеся в программе задания пройдены.")));
  EXPECT_EQ(stats.RCount, 0);
  EXPECT_EQ(tasks.CountUsed(), 1);
  EXPECT_GE(partialFlow.CurrentTask(), 1);
  EXPECT_LE(partialFlow.CurrentTask(), 20);
  EXPECT_TRUE(partialFlow.Screen().Buttons[2].visible);
}

TEST_F(PartialBankTest, TheLastUnpassedHeldTaskIsShown) {
  for (int k = 1; k <= 20; ++k)
    if (k != 13) tasks.MarkUsed(k);
  partialFlow.ShowStartScreen();
  partialFlow.BitBtnClick(5);
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(partialFlow.CurrentTask(), 13);
  EXPECT_EQ(partialFlow.Phrase(), QString::fromUtf8("Фраза 13"));
  EXPECT_EQ(tasks.CountUsed(), 20);
}

// "fn<k>" shows one task and leaves the selector exactly as it was: nothing marked passed,
// repeated or unmarked, also when the bank does not hold task k (the first held task stands
// in) and when the run is broken off or is a consolidation run.
struct FixedRun {
  const char* name;
  int task;
  int shown;
  bool consolidation;
  bool breakOff;
  friend void PrintTo(const FixedRun& r, std::ostream* os) { *os << r.name; }
};
class FixedTaskMode : public PartialBankTest, public ::testing::WithParamInterface<FixedRun> {};

TEST_P(FixedTaskMode, LeavesTheSelectorAsItWas) {
  const FixedRun& run = GetParam();
  for (int k : {2, 3, 7, 8, 9, 10, 11}) tasks.MarkUsed(k);
  tasks.Last = 3;
  tasks.MarkDone();
  tasks.Last = 8;  // the selector's last draw, which a stray MarkDone would mark repeated
  const std::vector<TSmartRand::Word> used = tasks.Used;
  const std::vector<TSmartRand::Word> done = tasks.Done;
  ExamEnvironment env = Environment(partialCatalogue, sound);
  env.fixedTask = run.task;
  ExamFlow fixed{env};
  fixed.ShowStartScreen();
  if (run.consolidation) {
    ASSERT_TRUE(fixed.Screen().RepEnabled);
    fixed.RepCheckBoxClick(true);
  }
  fixed.BitBtnClick(5);
  EXPECT_EQ(fixed.CurrentTask(), run.shown);
  EXPECT_EQ(fixed.Phrase(), QString::fromUtf8("Фраза %1").arg(run.shown));
  for (int k = 0; k < (run.breakOff ? 2 : 5); ++k) {
    clock.tick += 1000;
    fixed.BitBtnClick(ButtonWithTagIn(fixed, k != 1));
    EXPECT_EQ(fixed.CurrentTask(), run.shown);
  }
  if (run.breakOff) fixed.CancelBitBtnClick();
  EXPECT_TRUE(fixed.OnStartScreen());
  EXPECT_EQ(tasks.Used, used);
  EXPECT_EQ(tasks.Done, done);
  EXPECT_EQ(tasks.DoneCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Runs, FixedTaskMode,
                         ::testing::Values(FixedRun{"unheldTask", 500, 1, false, false},
                                           FixedRun{"unheldTaskBrokenOff", 500, 1, false, true},
                                           FixedRun{"passedTaskBrokenOff", 2, 2, false, true},
                                           FixedRun{"newTask", 5, 5, false, false},
                                           FixedRun{"consolidation", 3, 3, true, false},
                                           FixedRun{"unheldInConsolidation", 800, 1, true, true}),
                         zv::test::RowName{});

class SoundExamTest : public ExamFlowTest {
 protected:
  RecordingSound recording;
  ExamFlow voiced{Environment(catalogue, recording)};
  void SetUp() override {
    voiced.SetSoundHardware(true);
    voiced.SoundCheckBoxClick(false);  // no start comment in the way
    voiced.TLCheckBoxClick(true);
    voiced.ShowStartScreen();
  }
};

// The learner's time starts with the voiced phrase: the wait of 20 ms a character, the voiced
// task, then the countdown; before that a timer tick changes nothing.
TEST_F(SoundExamTest, CountdownIsArmedWhenTheWaitEnds) {
  voiced.BitBtnClick(5);
  const MainScreen& s = voiced.Screen();
  ASSERT_EQ(view.pending.size(), 1u);
  EXPECT_EQ(view.pending.front().first, 20 * voiced.Phrase().size());
  EXPECT_FALSE(s.TLTimerOn) << "no countdown while the phrase waits to be spoken";
  voiced.TLTimerTimer();
  EXPECT_TRUE(view.pending.size() == 1u && s.TLComboBoxIndex == 15) << "a tick before the arming does nothing";
  EXPECT_TRUE(recording.played.isEmpty());
  view.RunPending();
  EXPECT_EQ(recording.played, QStringList{QStringLiteral("task %1").arg(voiced.CurrentTask())});
  EXPECT_TRUE(s.TLTimerOn);
  EXPECT_EQ(s.TLComboBoxIndex, 15);

  // An answer during the next task's wait drops its voicing and its arming alike.
  voiced.BitBtnClick(ButtonWithTagIn(voiced, true));
  ASSERT_EQ(view.pending.size(), 1u);
  EXPECT_FALSE(s.TLTimerOn);
  voiced.BitBtnClick(ButtonWithTagIn(voiced, true));
  view.RunPending();  // the second task's wait was dropped by the answer; the third's runs
  EXPECT_EQ(recording.played.size(), 2) << "only the third task was voiced";
  EXPECT_TRUE(s.TLTimerOn);

  // "только текст": nothing to wait for, the countdown starts with the task.
  voiced.CancelBitBtnClick();
  voiced.DirComboBoxChange(static_cast<int>(Presentation::TextOnly));
  voiced.BitBtnClick(5);
  EXPECT_TRUE(view.pending.empty());
  EXPECT_TRUE(s.TLTimerOn);
}

// Tick for an odd number of seconds left, tack for an even one (0 included): with 15 s the
// first step (14 left) plays the tack, the step at 1 s the tick.
TEST_F(SoundExamTest, TickAndTackAlternateFromTheTack) {
  voiced.DirComboBoxChange(static_cast<int>(Presentation::TextOnly));
  voiced.BitBtnClick(5);
  for (int step = 0; step < 15; ++step) {
    voiced.TLTimerTimer();
    view.RunPending();
  }
  ASSERT_EQ(recording.ticks.size(), 15u);
  for (std::size_t i = 0; i < 15; ++i) {
    const int left = 14 - static_cast<int>(i);
    EXPECT_EQ(recording.ticks[i], left % 2 == 1 ? BuiltInSound::Tick : BuiltInSound::Tack) << left << " s left";
  }
  EXPECT_EQ(view.answers.size(), 1u) << "the time-out after the fifteenth step";
}

// "только звук": the phrase is not written anywhere on the window and the speaker panel sits
// lower; the other presentations show it.
TEST_F(SoundExamTest, SoundOnlyShowsNoPhrase) {
  voiced.DirComboBoxChange(static_cast<int>(Presentation::SoundOnly));
  voiced.BitBtnClick(5);
  const MainScreen& s = voiced.Screen();
  EXPECT_TRUE(s.TaskLabel.isEmpty()) << s.TaskLabel.toStdString();
  EXPECT_FALSE(s.TaskLabel1Visible);
  EXPECT_EQ(s.SpeakerPanelTop, 150);
  voiced.BitBtnClick(ButtonWithTagIn(voiced, false));
  EXPECT_TRUE(s.TaskLabel.isEmpty()) << "nor on the next task";
  voiced.CancelBitBtnClick();
  voiced.DirComboBoxChange(static_cast<int>(Presentation::TextAndSound));
  voiced.BitBtnClick(5);
  EXPECT_EQ(s.TaskLabel, voiced.Phrase());
  EXPECT_EQ(s.SpeakerPanelTop, 14);
}

// The exam over the real sound layer (packages in a temp folder, an engine that plays nothing):
// each new sound cuts the one before off, and only the sound that really ended reports it.
class PackagedSoundExamTest : public ExamFlowTest {
 protected:
  QTemporaryDir hive;
  Registry registry{RegistryPaths::inOneFolder(hive.path())};
  test::PackageFolder folder;
  test::FakeSoundEngine engine;
  std::unique_ptr<PackageSoundService> service;
  std::unique_ptr<ExamFlow> exam;

  void SetUp() override {
    folder.WriteAll(6);
    service = std::make_unique<PackageSoundService>(engine, random, QStringList{folder.Path()});
    service->Load(registry, {});
    exam = std::make_unique<ExamFlow>(Environment(catalogue, *service));
    exam->SetSoundHardware(service->EngineWorks(), service->AllVoicedTasksPresent());
    exam->ShowStartScreen();
  }
  QByteArray Speaking() const {
    const auto speech = engine.Speech();
    return engine.IsPlaying(SoundChannel::Speech) && !speech.empty() ? speech.back() : QByteArray();
  }
  QByteArray Task() const { return test::FixtureSound(QStringLiteral("q%1").arg(exam->CurrentTask())); }
};

TEST_F(PackagedSoundExamTest, FirstVoicedTaskCutsTheGreetingOff) {
  view.RunPending();  // the 512 ms before the greeting
  ASSERT_EQ(Speaking(), test::FixtureSound(QStringLiteral("s%1").arg(service->CommentIndex())));
  EXPECT_TRUE(exam->Screen().SpeakerAnimateVisible);
  exam->BitBtnClick(5);
  EXPECT_TRUE(Speaking().isEmpty()) << "the start of the exam stops the greeting";
  view.RunPending();  // the wait of 20 ms a character
  EXPECT_EQ(Speaking(), Task());
  EXPECT_TRUE(exam->Screen().SpeakerAnimateVisible);
  engine.End();
  EXPECT_TRUE(exam->Screen().SpeakerBitBtnVisible) << "the task's end shows \"Ещё раз\"";
  EXPECT_FALSE(exam->Screen().SpeakerAnimateVisible);
  EXPECT_EQ(engine.Speech().size(), 2u);
}

TEST_F(PackagedSoundExamTest, AnswerCutsTheVoicedTaskOff) {
  exam->BitBtnClick(5);
  view.RunPending();
  ASSERT_EQ(Speaking(), Task());
  exam->BitBtnClick(ButtonWithTagIn(*exam, false));
  EXPECT_TRUE(Speaking().isEmpty());
  EXPECT_FALSE(exam->Screen().SpeakerAnimateVisible);
  EXPECT_FALSE(exam->Screen().SpeakerBitBtnVisible) << "a cut-off task reports no end";
  ASSERT_EQ(view.answers.size(), 1u);
  view.RunPending();
  EXPECT_EQ(Speaking(), Task()) << "the next task is voiced";
}

TEST_F(PackagedSoundExamTest, LeavingPlaysTheFarewellAndClosesAtItsEnd) {
  view.RunPending();
  exam->CancelBitBtnClick();
  EXPECT_EQ(Speaking(), test::FixtureSound(QStringLiteral("f%1").arg(service->CommentIndex())));
  EXPECT_TRUE(view.minimized);
  EXPECT_FALSE(view.closed);
  engine.End();
  EXPECT_TRUE(view.closed);
}

// The flashing runs only in consolidation (on this system, which is not XP or older): it
// colours the status label there, and stops with the run.
TEST_F(ExamFlowTest, FlashingOnlyInConsolidation) {
  flow.BitBtnClick(5);
  EXPECT_FALSE(flow.Screen().FlashTimerOn) << "an ordinary exam does not flash";
  for (int k = 0; k < 5; ++k) Answer(true);
  EXPECT_FALSE(flow.Screen().FlashTimerOn);
  flow.RepCheckBoxClick(true);
  flow.BitBtnClick(5);
  EXPECT_TRUE(flow.Screen().FlashTimerOn);
  Answer(false);
  EXPECT_TRUE(flow.Screen().FlashTimerOn) << "on the next task too";
  flow.CancelBitBtnClick();
  EXPECT_FALSE(flow.Screen().FlashTimerOn) << "the start screen stops it";
}

// The protocol writes the date and the times of day in the system's formats: the short date
// and the long time without its zone.
TEST_F(ExamFlowTest, ProtocolDateAndTimeFollowTheLocale) {
  const QLocale american(QLocale::English, QLocale::UnitedStates);
  ExamEnvironment env = Environment(catalogue, sound);
  env.decimalSeparator = QLatin1Char('.');
  env.locale = american;
  ExamFlow us{env};
  us.SetSoundHardware(false);
  us.ShowStartScreen();
  us.BitBtnClick(5);
  clock.tick += 3400;
  us.BitBtnClick(ButtonWithTagIn(us, true));
  const QStringList lines = ProtocolLines();
  EXPECT_EQ(lines[3], QStringLiteral("12/9/26"));
  EXPECT_TRUE(lines[7].startsWith(QStringLiteral("10:00:01 AM "))) << lines[7].toStdString();
  EXPECT_TRUE(lines[8].startsWith(QStringLiteral("10:00:04 AM "))) << lines[8].toStdString();
  EXPECT_TRUE(lines.contains(QString::fromUtf8("На ответ затрачено 3.4 с")));

  struct Format {
    QLocale locale;
    const char* expected;
  };
  for (const Format& f : {Format{QLocale(QLocale::Russian, QLocale::Russia), "HH:mm:ss"},
                          Format{american, "h:mm:ss AP"},
                          Format{QLocale(QLocale::Chinese, QLocale::China), "HH:mm:ss"},
                          Format{QLocale(QLocale::Persian, QLocale::Iran), "H:mm:ss"},
                          Format{QLocale(QLocale::Bulgarian, QLocale::Bulgaria), "H:mm:ss 'ч'."},
                          Format{QLocale::c(), "HH:mm:ss"}})
    EXPECT_EQ(LongTimeWithoutZone(f.locale), QString::fromUtf8(f.expected)) << f.locale.name().toStdString();
}

}  // namespace
}  // namespace zv
