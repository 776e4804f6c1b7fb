#include "common/ClientId.h"
#include "support/RowName.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

struct ZoneRow {
  const char* name;
  int bias;
  const char* part;
};
void PrintTo(const ZoneRow& row, std::ostream* os) { *os << row.name; }

class TimeZonePartTest : public testing::TestWithParam<ZoneRow> {};

TEST_P(TimeZonePartTest, ShowsTheStandardOffset) {
  EXPECT_EQ(TimeZonePart(GetParam().bias), QString::fromLatin1(GetParam().part));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Biases, TimeZonePartTest, testing::Values(
    ZoneRow{"WestIsMinus", 300, ", UTC-5"},
    ZoneRow{"UtcHasNoSign", 0, ", UTC0"},
    ZoneRow{"EastIsPlus", -180, ", UTC+3"},
    ZoneRow{"DatelineWest", 720, ", UTC-12"},
    ZoneRow{"HalfHourEast", -330, ", UTC+5:30"},
    ZoneRow{"HalfHourWestKeepsSign", 210, ", UTC-3:30"},
    ZoneRow{"QuarterHour", -345, ", UTC+5:45"},
    ZoneRow{"UnderAnHourWestKeepsSign", 30, ", UTC-0:30"},
    ZoneRow{"UnderAnHourEast", -30, ", UTC+0:30"},
    ZoneRow{"ChathamPastTwelve", -765, ", UTC+12:45"}),
    zv::test::RowName{});
// clang-format on

ClientIdInputs trainer() {
  ClientIdInputs in;
  in.shortName = QStringLiteral("Zorvik");
  in.versionLabel = QStringLiteral("1500");
  in.shortOSName = QStringLiteral("WinXP Pro SP3");
  in.englishLanguage = QStringLiteral("Russian");
  in.lcid = 0x419;
  in.biasMinutes = -180;
  return in;
}

TEST(BuildClientIdTest, ComposesTheTrainersIdentity) {
  EXPECT_EQ(BuildClientId(trainer(), false), QStringLiteral("Zorvik 1500.0.0 (WinXP Pro SP3 Russian 0419, UTC+3)"));
  EXPECT_EQ(BuildClientId(trainer(), true),
            QStringLiteral("Zorvik%201500.0.0%20(WinXP%20Pro%20SP3%20Russian%200419,%20UTC+3)"));
}

TEST(BuildClientIdTest, VersionWithDotGetsNoExtraZero) {
  ClientIdInputs in = trainer();
  in.versionLabel = QStringLiteral("1.5");
  EXPECT_TRUE(BuildClientId(in, false).startsWith(QStringLiteral("Zorvik 1.5.0 (")));
}

TEST(BuildClientIdTest, LcidIsFourUpperCaseHexDigits) {
  ClientIdInputs in = trainer();
  in.lcid = 0x43F;
  in.biasMinutes = 300;
  in.englishLanguage = QStringLiteral("Kazakh");
  EXPECT_TRUE(BuildClientId(in, false).endsWith(QStringLiteral(" Kazakh 043F, UTC-5)")));
  in.lcid = 0x281A;
  EXPECT_TRUE(BuildClientId(in, false).contains(QStringLiteral(" 281A, ")));
}

TEST(BuildClientIdTest, LanguageNameIsCutTo23Characters) {
  ClientIdInputs in = trainer();
  in.englishLanguage = QStringLiteral("Abcdefghijklmnopqrstuvwxyz");
  EXPECT_TRUE(BuildClientId(in, false).contains(QStringLiteral(" Abcdefghijklmnopqrstuvw 0419")));
}

struct EscapeRow {
  const char* name;
  const char* text;
  const char* escaped;
};
void PrintTo(const EscapeRow& row, std::ostream* os) { *os << row.name; }

class EscapeSpacesTest : public testing::TestWithParam<EscapeRow> {};

TEST_P(EscapeSpacesTest, ReplacesEveryBlank) {
  EXPECT_EQ(EscapeSpaces(QString::fromUtf8(GetParam().text)), QString::fromUtf8(GetParam().escaped));
}

INSTANTIATE_TEST_SUITE_P(Texts, EscapeSpacesTest,
                         testing::Values(EscapeRow{"DoubleBlankStaysDouble", "a b  c", "a%20b%20%20c"},
                                         EscapeRow{"EmptyStaysEmpty", "", ""},
                                         EscapeRow{"EdgesAndOtherWhitespace", " a\tб ", "%20a\tб%20"}),
                         zv::test::RowName{});

}  // namespace
}  // namespace zv
