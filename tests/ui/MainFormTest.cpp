// The main window through its real widgets: whole exams clicked through, the settings kept in
// the program key across two windows, the arrow keys, the no-sound start screen. The
// correct-answer, mark and protocol windows are answered by the run's ModalHook so nothing
// blocks. The test also writes screenshots of the main window's screens to <build>/screens.

#include "platform/Cp1251.h"
#include "platform/Registry.h"
#include "support/MainFormRun.h"
#include "support/MainWindowValues.h"
#include "support/RecordingSound.h"
#include "support/TestApplication.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TaskCatalogue.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TAidForm.h"
#include "ui/TBitBtn.h"
#include "ui/THintForm.h"
#include "ui/TTrackBar.h"
#include "ui/TZVMainForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace zv {
namespace {

using test::TrainerRun;

ZV_TEST_APPLICATION(QApplication);

void SaveShot(QWidget& w, const char* name) {
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  w.grab().save(QStringLiteral(ZV_SCREENS_DIR "/") + QLatin1String(name));
}

TEST(MainForm, StartScreenWithoutSound) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  EXPECT_EQ(f.StatusLabel->text(), QString::fromUtf8("Суть тренажёра-экзаменатора:"));
  EXPECT_EQ(f.BitBtns[4]->text(), QString::fromUtf8("Приступить к испытаниям"));
  EXPECT_EQ(f.BitBtns[4]->Tag, kStartTag);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(f.BitBtns[static_cast<std::size_t>(i)]->isVisible());
  EXPECT_EQ(f.CancelBitBtn->text(), QString::fromUtf8("Отказываюсь от испытаний"));
  EXPECT_FALSE(f.ShowLogBitBtn->isVisible());
  // No sound engine: the notice, text only, and the presentation cannot be changed.
  EXPECT_EQ(f.SoundLabel->text(), QString::fromUtf8("Нет звукового оборудования"));
  EXPECT_TRUE(f.SoundGroupBox->isVisible());
  EXPECT_FALSE(f.SoundCheckBox->isVisible());
  EXPECT_FALSE(f.VolumeTrackBar->isVisible());
  EXPECT_EQ(f.DirComboBox->currentText(), QString::fromUtf8("только текст"));
  EXPECT_FALSE(f.DirComboBox->isEnabled());
  EXPECT_EQ(f.GenComboBox->count(), 46);
  EXPECT_EQ(f.TLComboBox->count(), 41);
  EXPECT_EQ(f.TLComboBox->currentText(), QString::fromUtf8("15 с"));
  EXPECT_FALSE(f.RepCheckBox->isEnabled());
  EXPECT_TRUE(f.BitBtns[4]->hasFocus() || !QApplication::focusWindow());
  SaveShot(f, "main_start.png");
}

TEST(MainForm, ExamClickedThroughToTheMarkAndBack) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  run.Click(f.BitBtns[4]);
  ASSERT_EQ(f.StatusLabel->text(), QString::fromUtf8("1/5 экзамена. Верных ответов: 0"));
  EXPECT_EQ(f.TaskLabel->text(), f.Flow().Phrase());
  EXPECT_FALSE(f.GenGroupBox->isVisible());
  EXPECT_EQ(f.CancelBitBtn->text(), QString::fromUtf8("в а т и т !"));
  EXPECT_TRUE(f.KeyGuideLabel->text().startsWith(QString::fromUtf8("Нажмите кнопку с правильн")));
  EXPECT_FALSE(f.FlashTimer->isActive()) << "an ordinary exam does not flash";
  const std::size_t shown = run.VisibleAnswers().size();
  EXPECT_GE(shown, 3u);
  EXPECT_LE(shown, 5u);

  // Four right answers and one wrong one.
  for (int task = 0; task < 5; ++task) {
    TBitBtn* b = run.Answer(task != 2);
    ASSERT_NE(b, nullptr);
    run.Click(b);
  }
  ASSERT_EQ(run.Answers().size(), 5u);
  EXPECT_EQ(run.Answers()[0].verdict, HintCase::Right);
  EXPECT_EQ(run.Answers()[2].verdict, HintCase::Wrong);
  EXPECT_TRUE(run.Answers()[2].blackButtonVisible);
  ASSERT_EQ(run.Marks(), std::vector<int>{4});
  // Back on the start screen, with the protocol opened by itself after the wrong answer.
  EXPECT_EQ(f.BitBtns[4]->Tag, kStartTag);
  EXPECT_EQ(run.ProtocolOpenings(), 1);
  EXPECT_TRUE(f.ShowLogBitBtn->isVisible());
  EXPECT_EQ(run.state.Tasks->CountUsed(), 5);
  EXPECT_EQ(f.RepInfoLabel->text(), QString::fromUtf8("Пройдено заданий: 5;\nиз них успешно повторено: 0"));
  EXPECT_EQ(f.Flow().Mark(), 4);
}

// The learner answers by what the buttons say. Clicking the caption that is the task's right
// interpretation (the catalogue's first) is a right answer, any other caption a wrong one;
// while the answer window is up after a wrong answer, the clicked button shows the cross and
// the button with the right caption the tick.
TEST(MainForm, AnswersAreJudgedByTheCaptionClicked) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  const TaskCatalogue catalogue(content::TaskText(), content::SayingsText());
  std::map<TBitBtn*, GlyphKind> glyphs;  // as the last answer window opened
  run.modals.setOnShown([&](const ModalRequest& r) {
    if (r.window != ModalWindow::CorrectAnswer) return;
    glyphs.clear();
    for (TBitBtn* b : run.VisibleAnswers()) glyphs[b] = b->Kind();
  });
  run.Click(f.BitBtns[4]);
  for (int task = 0; task < 6; ++task) {
    TaskRecord record;
    ASSERT_GT(catalogue.LoadTask(f.Flow().CurrentTask(), record), 0);
    const QString right = cp1251::Decode(record.Slots[1]);
    TBitBtn* rightCaption = nullptr;
    TBitBtn* wrongCaption = nullptr;
    for (TBitBtn* b : run.VisibleAnswers()) (b->text() == right ? rightCaption : wrongCaption) = b;
    ASSERT_NE(rightCaption, nullptr) << "no button says " << right.toStdString();
    ASSERT_NE(wrongCaption, nullptr);
    const bool answerRight = task % 2 == 1;
    run.Click(answerRight ? rightCaption : wrongCaption);
    ASSERT_EQ(run.Answers().size(), static_cast<std::size_t>(task + 1));
    EXPECT_EQ(run.Answers().back().verdict, answerRight ? HintCase::Right : HintCase::Wrong) << "task " << task;
    EXPECT_EQ(run.Answers().back().rightInterpretation, right);
    if (answerRight) {
      EXPECT_EQ(glyphs[rightCaption], GlyphKind::Yes) << "task " << task;
    } else {
      EXPECT_EQ(glyphs[wrongCaption], GlyphKind::Cancel) << "task " << task;
      EXPECT_EQ(glyphs[rightCaption], GlyphKind::Yes) << "the right answer is shown, task " << task;
    }
    if (task == 4) {
      ASSERT_EQ(run.Marks().size(), 1u);
      run.Click(f.BitBtns[4]);  // a second exam: its first task is the sixth answer
    }
  }
  EXPECT_EQ(f.Flow().RightAnswers(), 1);
}

TEST(MainForm, BreakOffUnmarksTheTaskOnScreen) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  run.Click(f.BitBtns[4]);
  run.Click(run.Answer(true));
  run.Click(f.CancelBitBtn);
  EXPECT_EQ(run.state.Tasks->CountUsed(), 1);
  EXPECT_EQ(f.BitBtns[4]->Tag, kStartTag);
  EXPECT_FALSE(f.ShowLogBitBtn->isVisible());
  EXPECT_TRUE(run.Marks().empty());
  EXPECT_TRUE(f.isVisible());  // the start screen's Cancel would close; this was the exam's
}

TEST(MainForm, ArrowKeysMoveAmongTheButtons) {
  QTemporaryDir dir;
  TrainerRun run(dir.path(), {QStringLiteral("zorvik"), QStringLiteral("fn2")});  // five interpretations
  TZVMainForm& f = *run.form;
  f.activateWindow();
  run.Click(f.BitBtns[4]);
  ASSERT_EQ(f.focusWidget(), f.BitBtns[0]) << "each task puts the focus on BitBtn1";
  QTest::keyClick(f.BitBtns[0], Qt::Key_Down);
  EXPECT_EQ(f.focusWidget(), f.BitBtns[1]);
  QTest::keyClick(f.BitBtns[1], Qt::Key_Right);
  EXPECT_EQ(f.focusWidget(), f.BitBtns[2]);
  QTest::keyClick(f.BitBtns[2], Qt::Key_Up);
  QTest::keyClick(f.BitBtns[1], Qt::Key_Left);
  EXPECT_EQ(f.focusWidget(), f.BitBtns[0]);
  QTest::keyClick(f.BitBtns[0], Qt::Key_Left);  // wraps past the first control
  EXPECT_NE(f.focusWidget(), f.BitBtns[0]);
  QTest::keyClick(f.focusWidget(), Qt::Key_Right);
  EXPECT_EQ(f.focusWidget(), f.BitBtns[0]);
  // Enter presses the focused button: the answer is judged.
  QTest::keyClick(f.BitBtns[0], Qt::Key_Return);
  QTest::qWait(200);
  EXPECT_EQ(run.Answers().size(), 1u);
}

TEST(MainForm, SettingsComeBackAfterARestart) {
  QTemporaryDir dir;
  const QString hive = dir.filePath(QStringLiteral("registry"));
  {
    TrainerRun run(hive);
    TZVMainForm& f = *run.form;
    f.GenComboBox->setCurrentIndex(5);  // ten tasks
    run.Click(f.TLCheckBox);
    f.TLComboBox->setCurrentIndex(2);  // 7 s, in force with the exam started below
    run.Click(f.TictacCheckBox);
    f.move(200, 100);
    run.Click(f.BitBtns[4]);
    run.Click(run.Answer(true));
    run.Click(f.ExitBitBtn);  // closes during the exam: the task on screen stays passed
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(run.state.Tasks->CountUsed(), 2);
  }
  {
    Registry r(RegistryPaths::inOneFolder(hive));
    r.SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(r.OpenKey(QStringLiteral("Software\\Ostwin\\Zorvik"), false));
    for (const auto& [name, type] : test::kMainWindowValues)
      EXPECT_EQ(r.GetDataType(QLatin1String(name)), type) << name;
    EXPECT_FALSE(r.ValueExists(QStringLiteral("Volume")));  // no sound: the bar was never shown
    EXPECT_EQ(r.GetDataSize(QStringLiteral("FirstDate")), 8);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("RCount")), 1);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("Tasks")), 10);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("TimeLimit")), 7);
    r.CloseKey();
  }
  TrainerRun again(hive);
  TZVMainForm& f = *again.form;
  EXPECT_EQ(f.GenComboBox->currentIndex(), 5);
  EXPECT_TRUE(f.TLCheckBox->isChecked());
  EXPECT_TRUE(f.TLComboBox->isEnabled());
  EXPECT_FALSE(f.TictacCheckBox->isChecked());
  EXPECT_EQ(f.TLComboBox->currentText(), QString::fromUtf8("  7 с"));
  EXPECT_EQ(again.state.Tasks->CountUsed(), 0);  // the selectors are restored by start-up, not here
  EXPECT_EQ(f.pos(), QPoint(200, 100));
}

// With the real correct-answer, mark and protocol windows: each is prepared and asked for
// modally in its turn (the hook answers it) and the exam goes on once it is answered.
TEST(MainForm, ExamWithTheRealWindows) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  THintForm hint(*run.info.SettingsRegistry, *run.info.Random, run.sound, &f);
  TAidForm aid(&f);
  f.SetHintForm(&hint);
  f.SetAidForm(&aid);

  run.Click(f.BitBtns[4]);
  for (int task = 0; task < 5; ++task) {
    TBitBtn* b = run.Answer(task != 4);
    ASSERT_NE(b, nullptr) << task;
    b->click();
  }
  QStringList seen;  // class and caption of every modal window, in order
  for (const ModalRequest& r : run.modals.shown()) seen << r.windowClass + QLatin1Char(' ') + r.caption;
  ASSERT_EQ(seen.size(), 7) << seen.join(QLatin1String(" | ")).toStdString();
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(seen[i].startsWith(QLatin1String("zv::THintForm "))) << i;
  EXPECT_TRUE(seen[0].endsWith(QString::fromUtf8(" ответов: 1"))) << seen[0].toStdString();
  EXPECT_TRUE(seen[4].contains(QString::fromUtf8("5/5 экзамена позади."))) << seen[4].toStdString();
  EXPECT_TRUE(seen[5].startsWith(QLatin1String("zv::TMarkForm"))) << seen[5].toStdString();
  EXPECT_TRUE(seen[6].startsWith(QLatin1String("zv::TAidForm"))) << "a wrong answer opens the protocol";
  EXPECT_EQ(aid.KeyEditTag, 0) << "back in list mode after the protocol";
  EXPECT_TRUE(aid.AidRichEdit->toPlainText().contains(QString::fromUtf8("Итоговая оценка: 4")));
  EXPECT_EQ(f.Flow().Mark(), 4);
}

// Consolidation through the window: available after a first exam, chosen with the label,
// run on the passed tasks.
TEST(MainForm, ConsolidationRunOnPassedTasks) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  run.Click(f.BitBtns[4]);
  for (int task = 0; task < 5; ++task) run.Click(run.Answer(true));
  ASSERT_TRUE(f.RepCheckBox->isEnabled());
  QTest::mouseClick(f.RepLabel, Qt::LeftButton);  // the label toggles the box
  EXPECT_TRUE(f.RepCheckBox->isChecked());
  EXPECT_EQ(f.BitBtns[4]->text(), QString::fromUtf8("Приступить к закреплению пройденного"));
  run.Click(f.BitBtns[4]);
  EXPECT_TRUE(f.RepStatusLabel->isVisible());
  EXPECT_EQ(f.RepStatusLabel->text(), QString::fromUtf8(" Закрепление пройденного "));
  EXPECT_FALSE(f.RepComLabel->text().isEmpty());
  EXPECT_TRUE(f.FlashTimer->isActive()) << "consolidation flashes";
  SaveShot(f, "main_consolidation.png");
  run.Click(run.Answer(true));
  EXPECT_EQ(run.state.Tasks->DoneCount, 1);
  EXPECT_EQ(run.state.Tasks->CountUsed(), 5) << "nothing new is passed in consolidation";
}

TEST(MainForm, WithSound) {
  QTemporaryDir dir;
  const QString hive = dir.filePath(QStringLiteral("registry"));
  test::RecordingSound sound;
  {
    TrainerRun run(hive, {QStringLiteral("zorvik"), QStringLiteral("fn2")}, &sound);
    TZVMainForm& f = *run.form;
    EXPECT_EQ(sound.volumes, std::vector<int>{72}) << "the stored volume is applied once at creation";
    EXPECT_TRUE(f.SoundCheckBox->isVisibleTo(&f));
    EXPECT_TRUE(f.VolumeTrackBar->isVisibleTo(&f));
    EXPECT_TRUE(f.DirComboBox->isEnabled());
    EXPECT_EQ(f.DirComboBox->currentIndex(), 0);
    // The start comment comes 512 ms after the start screen; its end offers "Ещё раз".
    QTRY_COMPARE(sound.played.size(), qsizetype{1});
    EXPECT_TRUE(f.SpeakerAnimate->isVisibleTo(&f));
    const QImage firstFrame = f.SpeakerAnimate->pixmap().toImage();
    QTRY_VERIFY(f.SpeakerAnimate->pixmap().toImage() != firstFrame);  // the waves move while it speaks
    SaveShot(f, "main_speaking.png");                                 // the volume bar and the speaker animation
    sound.End();
    EXPECT_TRUE(f.SpeakerBitBtn->isVisibleTo(&f));
    EXPECT_FALSE(f.SpeakerAnimate->isVisibleTo(&f));
    run.Click(f.SpeakerBitBtn);
    EXPECT_EQ(sound.played.back(), QStringLiteral("start again"));

    run.Click(f.BitBtns[4]);
    EXPECT_FALSE(f.SpeakerBitBtn->isVisibleTo(&f)) << "starting the exam stops the sound";
    EXPECT_EQ(f.SoundGroupBox->parentWidget(), f.PreBottomPanel);
    EXPECT_EQ(f.VolumeTrackBar->TickPositions().size(), 78u) << "a dense band after the move";
    QTRY_COMPARE(sound.played.back(), QStringLiteral("task 2"));  // after 20 ms a character
    sound.End();
    EXPECT_TRUE(f.SpeakerBitBtn->isVisibleTo(&f));
    run.Click(f.SoundCheckBox);  // comments off: "Ещё раз" goes
    EXPECT_FALSE(f.SpeakerBitBtn->isVisibleTo(&f));
    QTest::keyClick(f.VolumeTrackBar, Qt::Key_Up);
    EXPECT_EQ(f.VolumeTrackBar->value(), 74);
    EXPECT_EQ(sound.volumes.back(), 74);
    run.Click(f.ExitBitBtn);
  }
  Registry r(RegistryPaths::inOneFolder(hive));
  r.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(r.OpenKey(QStringLiteral("Software\\Ostwin\\Zorvik"), false));
  EXPECT_EQ(r.ReadInteger(QStringLiteral("Volume")), 74) << "the bar was shown: the volume is kept";
  EXPECT_FALSE(r.ReadBool(QStringLiteral("Sound")));
  r.CloseKey();
}

// Screens of the main window: the start screen after an exam (protocol button shown), tasks
// with three, four and five interpretations, an exam with the time limit.
TEST(MainForm, Screens) {
  struct Shot {
    const char* task;
    const char* file;
  };
  for (const Shot& shot :
       {Shot{"fn9", "main_task3.png"}, Shot{"fn1", "main_task4.png"}, Shot{"fn2", "main_task5.png"}}) {
    QTemporaryDir dir;
    TrainerRun run(dir.path(), {QStringLiteral("zorvik"), QLatin1String(shot.task)});
    run.Click(run.form->BitBtns[4]);
    SaveShot(*run.form, shot.file);
  }
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  run.Click(f.TLCheckBox);
  run.Click(f.BitBtns[4]);
  EXPECT_TRUE(f.PreBottomPanel->isVisible());
  EXPECT_EQ(f.TLGroupBox->parentWidget(), f.PreBottomPanel);
  EXPECT_EQ(f.TLLabel->text(), QString::fromUtf8("    Осталось времени: "));
  EXPECT_EQ(f.TLComboBox->currentText(), QString::fromUtf8("15 с"));
  SaveShot(f, "main_timelimit.png");
  for (int task = 0; task < 5; ++task) run.Click(run.Answer(task != 0));
  EXPECT_EQ(f.TLGroupBox->parentWidget(), &f);
  EXPECT_EQ(f.TLLabel->text(), QString::fromUtf8(" Ограничение времени "));
  SaveShot(f, "main_after_exam.png");
}

}  // namespace
}  // namespace zv
