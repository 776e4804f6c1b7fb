#include "shell/OleDate.h"
#include "shell/RegionalSettings.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <cmath>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

struct OleRow {
  const char* name;
  QDateTime local;
  double ole;
};

class OleDates : public ::testing::TestWithParam<OleRow> {};

// FirstDate is stored in this form and shown as "Начиная с ..."; a day off or a wrong
// fraction moves the statistics' start.
TEST_P(OleDates, BothWays) {
  const OleRow row = GetParam();
  EXPECT_DOUBLE_EQ(ToOleDate(row.local), row.ole);
  EXPECT_EQ(FromOleDate(row.ole), row.local);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OleDates,
    ::testing::Values(OleRow{"Epoch", QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
                      OleRow{"NoLeapDay1900", QDateTime(QDate(1900, 1, 1), QTime(0, 0)), 2.0},
                      OleRow{"TimeOfDayIsFraction", QDateTime(QDate(2024, 3, 1), QTime(18, 0)), 45352.75},
                      OleRow{"BeforeEpochFractionCountsForward", QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25}),
    zv::test::RowName{});

TEST(OleDates, HostileValuesGiveNoDate) {
  EXPECT_FALSE(FromOleDate(std::nan("")).isValid());
  EXPECT_FALSE(FromOleDate(1e300).isValid());
  EXPECT_FALSE(FromOleDate(-1e12).isValid());
  // Rounding just below midnight lands on the next day, not on an invalid time.
  EXPECT_EQ(FromOleDate(45352.9999999999), QDateTime(QDate(2024, 3, 2), QTime(0, 0)));
}

struct RegionalRow {
  const char* name;
  bool gnome;
  bool kde;
  const char* program;  // "" for none
  const char* argument;
};

class RegionalSettings : public ::testing::TestWithParam<RegionalRow> {};

TEST_P(RegionalSettings, FirstInstalledPanel) {
  const RegionalRow row = GetParam();
  const auto command = RegionalSettingsCommand([&](const QString& name) {
    if (row.gnome && name == u"gnome-control-center"_s) return u"/usr/bin/gnome-control-center"_s;
    if (row.kde && name == u"systemsettings"_s) return u"/usr/bin/systemsettings"_s;
    return QString();
  });
  if (*row.program == '\0') {
    EXPECT_FALSE(command.has_value());
    return;
  }
  ASSERT_TRUE(command.has_value());
  EXPECT_EQ(command->Program, QString::fromLatin1(row.program));
  EXPECT_EQ(command->Arguments, QStringList{QString::fromLatin1(row.argument)});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegionalSettings,
    ::testing::Values(RegionalRow{"GnomeFirst", true, true, "/usr/bin/gnome-control-center", "region"},
                      RegionalRow{"KdeWhenNoGnome", false, true, "/usr/bin/systemsettings", "kcm_regionandlang"},
                      RegionalRow{"NothingOnOtherDesktops", false, false, "", ""}),
    zv::test::RowName{});

}  // namespace
}  // namespace zv
