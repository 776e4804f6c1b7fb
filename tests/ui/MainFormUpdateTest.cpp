// The main window's side of the update: the automatic check's timer opens the update window
// only past the interval and online, the button hides the main window meanwhile and no tick
// opens a second one, and a hand-off to the installers ends the trainer with its state written.

#include "platform/Registry.h"
#include "shell/MainSettings.h"
#include "shell/OleDate.h"
#include "support/MainFormRun.h"
#include "support/RowName.h"
#include "support/TestApplication.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TZVMainForm.h"
#include "update/AutoCheckup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::TrainerRun;

ZV_TEST_APPLICATION(QApplication);

class RecordingLink final : public UpdateWindowLink {
 public:
  bool Online() override { return online; }
  int Run(TZVMainForm& main, UpdateOpening opening) override {
    openings.push_back(opening);
    mainShown.push_back(main.isVisible());
    if (during) during(main);
    return result;
  }
  bool online = true;
  int result = 0;
  std::vector<UpdateOpening> openings;
  std::vector<bool> mainShown;
  std::function<void(TZVMainForm&)> during;
};

constexpr qint64 kHourMs = 3600 * 1000;

// The hive a run starts from: automatic checking and the last check `hoursAgo` hours back.
void StoreCheckup(const QString& hive, bool on, int timeIndex, qint64 hoursAgo) {
  Registry r(RegistryPaths::inOneFolder(hive));
  WriteAutoCheckupChoice(r, on, timeIndex);
  WriteLastCheckup(r, ToOleDate(QDateTime::currentDateTime().addMSecs(-hoursAgo * kHourMs)));
}

RecordingLink& Link(TrainerRun& run) {
  auto link = std::make_unique<RecordingLink>();
  RecordingLink& ref = *link;
  run.form->SetUpdateWindowLink(std::move(link));
  return ref;
}

struct TickRow {
  const char* name;
  bool autoCheckup;
  int timeIndex;
  qint64 hoursAgo;
  bool online;
  bool opens;
};

class Ticks : public ::testing::TestWithParam<TickRow> {};

TEST_P(Ticks, OpenTheUpdateWindowInAutomaticMode) {
  QTemporaryDir hive;
  StoreCheckup(hive.path(), GetParam().autoCheckup, GetParam().timeIndex, GetParam().hoursAgo);
  TrainerRun run(hive.path());
  RecordingLink& link = Link(run);
  link.online = GetParam().online;
  EXPECT_EQ(run.form->UpdateCheckupTimer->isActive(), GetParam().autoCheckup);
  EXPECT_EQ(run.form->UpdateCheckupTimer->interval(), 59500);
  run.form->UpdateCheckupTimerTimer();
  EXPECT_EQ(link.openings.size(), GetParam().opens ? 1u : 0u);
  if (GetParam().opens) {
    EXPECT_EQ(link.openings[0], UpdateOpening::ByTimer);
    EXPECT_EQ(link.mainShown[0], true);  // the timer leaves the main window shown
    EXPECT_TRUE(run.form->isVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, Ticks,
                         ::testing::Values(TickRow{"Week165HoursOpens", true, 0, 165, true, true},
                                           TickRow{"Week164HoursDoesNot", true, 0, 164, true, false},
                                           TickRow{"MonthPassedOpens", true, 3, 717, true, true},
                                           TickRow{"OfflineDoesNot", true, 0, 1000, false, false},
                                           TickRow{"CheckingOffDoesNot", false, 0, 1000, true, false}),
                         test::RowName{});

TEST(UpdateButton, HidesTheMainWindowAndKeepsTicksOut) {
  QTemporaryDir hive;
  StoreCheckup(hive.path(), true, 0, 1000);
  TrainerRun run(hive.path());
  RecordingLink& link = Link(run);
  link.during = [](TZVMainForm& main) {
    EXPECT_TRUE(main.UpdateWindowOpen());
    main.UpdateCheckupTimerTimer();  // a tick while the window is open: nothing
    main.LiveUpdateBitBtn->click();  // nor a second window
  };
  run.form->LiveUpdateBitBtn->click();
  EXPECT_EQ(link.openings, std::vector<UpdateOpening>{UpdateOpening::ByUser});
  EXPECT_EQ(link.mainShown, std::vector<bool>{false});
  EXPECT_TRUE(run.form->isVisible());
  EXPECT_FALSE(run.form->UpdateWindowOpen());
  run.form->UpdateCheckupTimerTimer();  // closed again: ticks count
  EXPECT_EQ(link.openings.size(), 2u);
}

TEST(UpdateTimer, NoAutomaticWindowDuringAnExam) {
  QTemporaryDir hive;
  StoreCheckup(hive.path(), true, 0, 1000);
  TrainerRun run(hive.path());
  RecordingLink& link = Link(run);
  run.Click(run.form->BitBtns[4]);  // "Приступить к испытаниям"
  ASSERT_FALSE(run.form->LiveUpdateBitBtn->isVisible());
  run.form->UpdateCheckupTimerTimer();
  EXPECT_TRUE(link.openings.empty());
}

TEST(UpdateButton, AHandOffEndsTheTrainerWithItsStateWritten) {
  QTemporaryDir hive;
  TrainerRun run(hive.path());
  RecordingLink& link = Link(run);
  link.result = kUpdateHandedOff;
  // The program's message loop ends (the installers wait for the trainer to go).
  QTimer::singleShot(0, run.form.get(), [&run] { run.form->LiveUpdateBitBtn->click(); });
  QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(run.form->isVisible());
  Registry r(RegistryPaths::inOneFolder(hive.path()));
  r.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(r.OpenKey(kProgramKey, false));
  EXPECT_TRUE(r.ValueExists(u"Tasks"_s));
}

}  // namespace
}  // namespace zv
