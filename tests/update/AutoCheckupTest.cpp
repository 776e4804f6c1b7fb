// The automatic check: when a timer tick opens the update window, what the window's controls
// change, and the values it keeps in the settings.

#include "platform/Registry.h"
#include "shell/MainSettings.h"
#include "shell/OleDate.h"
#include "update/AutoCheckup.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QTemporaryDir>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

class FakeWallClock final : public WallClock {
 public:
  QDateTime Now() const override { return now; }
  QDateTime now{QDate(2026, 12, 9), QTime(10, 0, 0)};
};

struct TickRow {
  const char* name;
  qint64 agoMs;  // the last check this long before now (negative: after now)
  int intervalIndex;
  bool windowOpen;
  bool connected;
  bool opens;
};

class Ticks : public ::testing::TestWithParam<TickRow> {};

constexpr qint64 kHour = 3600 * 1000;

TEST_P(Ticks, OpenTheWindowOnlyPastTheIntervalInWholeHours) {
  FakeWallClock clock;
  AutoCheckup check(clock);
  check.Start(true, AutoCheckupHours(GetParam().intervalIndex), ToOleDate(clock.now.addMSecs(-GetParam().agoMs)));
  check.SetWindowOpen(GetParam().windowOpen);
  EXPECT_EQ(check.Tick(GetParam().connected), GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Ticks,
    ::testing::Values(TickRow{"Week165Hours", 165 * kHour, 0, false, true, true},
                      TickRow{"Week164HoursExactly", 164 * kHour, 0, false, true, false},
                      TickRow{"WeekJustUnder165Hours", 165 * kHour - 1000, 0, false, true, false},
                      TickRow{"MonthPast", 717 * kHour, 3, false, true, true},
                      TickRow{"MonthNotYet", 716 * kHour + 59 * 60 * 1000, 3, false, true, false},
                      TickRow{"LastCheckInTheFutureCountsToo", -501 * kHour, 2, false, true, true},
                      TickRow{"WindowAlreadyOpen", 1000 * kHour, 0, true, true, false},
                      TickRow{"Offline", 1000 * kHour, 0, false, false, false}),
    zv::test::RowName{});

TEST(AutoCheckup, NeverCheckedOpensAtTheFirstTickOnline) {
  FakeWallClock clock;
  AutoCheckup check(clock);
  check.Start(true, 500, 0.0);  // "LastCheckup" missing
  EXPECT_TRUE(check.Tick(true));
  check.SetEnabled(false);
  EXPECT_FALSE(check.Tick(true));
}

// A completed check starts the interval again in memory: a long run does not open the window
// at every tick after the first check.
TEST(AutoCheckup, ACompletedCheckWaitsAFullIntervalAgain) {
  FakeWallClock clock;
  AutoCheckup check(clock);
  check.Start(true, 164, ToOleDate(clock.now.addSecs(-200 * 3600)));
  ASSERT_TRUE(check.Tick(true));
  EXPECT_EQ(check.CheckCompleted(), ToOleDate(clock.now));
  clock.now = clock.now.addSecs(164 * 3600);
  EXPECT_FALSE(check.Tick(true));
  clock.now = clock.now.addSecs(3600);
  EXPECT_TRUE(check.Tick(true));
}

TEST(AutoCheckup, TheListChangesTheIntervalOnlyForItsChoices) {
  FakeWallClock clock;
  AutoCheckup check(clock);
  check.Start(true, 0, 0.0);
  const int expected[] = {164, 332, 500, 716};
  for (int index = 0; index < 4; ++index) {
    check.ChooseInterval(index);
    EXPECT_EQ(check.IntervalHours(), expected[index]);
  }
  check.ChooseInterval(4);
  check.ChooseInterval(-1);
  EXPECT_EQ(check.IntervalHours(), 716);
  EXPECT_EQ(AutoCheckupChoices().size(), 4);
}

TEST(AutoCheckup, HoursAreWholeAndOrderFree) {
  EXPECT_EQ(WholeHoursBetween(46000.0, 46000.0 + 164.0 / 24.0), 164);
  EXPECT_EQ(WholeHoursBetween(46000.0 + 164.0 / 24.0, 46000.0), 164);
  EXPECT_GT(WholeHoursBetween(0.0, 1e300), 1000000);  // a hostile stored value: simply long ago
}

class UpdateSettings : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  Registry reg{RegistryPaths::inOneFolder(dir.path())};
};

TEST_F(UpdateSettings, AbsentUntilWrittenThenReadBack) {
  UpdateWindowSettings s = ReadUpdateWindowSettings(reg);
  EXPECT_FALSE(s.autoCheckup || s.autoCheckupTime || s.lastCheckup || s.lastDownload);
  WriteAutoCheckupChoice(reg, true, 3);
  WriteLastCheckup(reg, 46365.25);
  WriteLastDownload(reg, 46366.5);
  s = ReadUpdateWindowSettings(reg);
  EXPECT_EQ(s.autoCheckup, true);
  EXPECT_EQ(s.autoCheckupTime, 3);
  EXPECT_EQ(s.lastCheckup, 46365.25);
  EXPECT_EQ(s.lastDownload, 46366.5);
}

// A value of the wrong type is left unread; the others still are.
TEST_F(UpdateSettings, AWrongTypeSpoilsOnlyItsValue) {
  WriteLastDownload(reg, 46366.5);
  reg.SetRootKey(RootKey::CurrentUser);
  reg.OpenKey(kProgramKey, true);
  reg.WriteString(u"LastCheckup"_s, u"вчера"_s);
  reg.WriteString(u"AutoCheckup"_s, u"да"_s);
  reg.CloseKey();
  const UpdateWindowSettings s = ReadUpdateWindowSettings(reg);
  EXPECT_FALSE(s.lastCheckup.has_value());
  EXPECT_FALSE(s.autoCheckup.has_value());
  EXPECT_EQ(s.lastDownload, 46366.5);
}

TEST(AutoCheckupTexts, DateInShortFormTimeWithSecondsNoZone) {
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  const QDateTime when(QDate(2026, 12, 9), QTime(7, 5, 9));
  EXPECT_EQ(LastCheckupText(when, russian), u"Последняя проверка была выполнена\r\n09.12.2026 07:05:09"_s);
  EXPECT_EQ(LastDownloadText(when, russian), u"Последняя загрузка - 09.12.2026 07:05:09"_s);
}

}  // namespace
}  // namespace zv
