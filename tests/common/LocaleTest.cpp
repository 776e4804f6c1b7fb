#include "common/Locale.h"
#include "support/RowName.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

struct LcidRow {
  const char* name;
  const char* posix;
  std::uint32_t lcid;
  bool russian;
};
void PrintTo(const LcidRow& row, std::ostream* os) { *os << row.name; }

class LcidTest : public testing::TestWithParam<LcidRow> {};

TEST_P(LcidTest, MapsPosixLocale) {
  const LcidRow& row = GetParam();
  const std::uint32_t lcid = LcidFromPosixLocale(QString::fromLatin1(row.posix));
  EXPECT_EQ(lcid, row.lcid) << std::hex << lcid;
  EXPECT_EQ(IsRussianLcid(lcid), row.russian);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Locales, LcidTest, testing::Values(
    LcidRow{"Russian", "ru_RU.UTF-8", 0x419, true},
    LcidRow{"Ukrainian", "uk_UA.UTF-8", 0x422, true},
    LcidRow{"Belarusian", "be_BY.UTF-8", 0x423, true},
    LcidRow{"Bulgarian", "bg_BG.UTF-8", 0x402, true},
    LcidRow{"Kazakh", "kk_KZ.UTF-8", 0x43F, true},
    LcidRow{"Tatar", "tt_RU.UTF-8", 0x444, true},
    LcidRow{"RussianMoldovaIsNotRussianRussia", "ru_MD.UTF-8", 0x819, true},
    LcidRow{"RomanianMoldovaIsNotCyrillic", "ro_MD.UTF-8", 0x818, false},
    LcidRow{"SerbianCyrillicIsNotInTheList", "sr_RS.UTF-8", 0x281A, false},
    LcidRow{"ModifierSelectsScript", "sr_RS.UTF-8@latin", 0x241A, false},
    LcidRow{"UnknownModifierFallsToTerritory", "be_BY.UTF-8@latin", 0x423, true},
    LcidRow{"CroatianSharesSerbianPrimary", "hr_HR.UTF-8", 0x41A, false},
    LcidRow{"UnknownTerritoryTakesLanguage", "ru_UA.UTF-8", 0x419, true},
    LcidRow{"LanguageOnly", "uk", 0x422, true},
    LcidRow{"ChineseWithoutTerritoryIsSimplified", "zh", 0x804, false},
    LcidRow{"CaseAndHyphenTolerated", "DE-at", 0xC07, false},
    LcidRow{"PrefixIsNotALanguage", "sa_IN", 0x409, false},
    LcidRow{"EnglishUS", "en_US.UTF-8", 0x409, false},
    LcidRow{"EnglishGB", "en_GB.UTF-8", 0x809, false},
    LcidRow{"German", "de_DE.UTF-8", 0x407, false},
    LcidRow{"French", "fr_FR.UTF-8", 0x40C, false},
    LcidRow{"SpanishModernSort", "es_ES.UTF-8", 0xC0A, false},
    LcidRow{"CLocale", "C", 0x409, false},
    LcidRow{"CUtf8", "C.UTF-8", 0x409, false},
    LcidRow{"Posix", "POSIX", 0x409, false},
    LcidRow{"Empty", "", 0x409, false},
    LcidRow{"Unknown", "xx_YY", 0x409, false}),
    zv::test::RowName{});
// clang-format on

struct EnvironmentRow {
  const char* name;
  const char* lcAll;
  const char* lcNumeric;
  const char* lcMessages;
  const char* lang;
  std::uint32_t lcid;
};
void PrintTo(const EnvironmentRow& row, std::ostream* os) { *os << row.name; }

class UserLocaleTest : public testing::TestWithParam<EnvironmentRow> {};

TEST_P(UserLocaleTest, ReadsTheFormatsLocale) {
  const EnvironmentRow& row = GetParam();
  QProcessEnvironment env;
  const auto set = [&env](const char* name, const char* value) {
    if (value) env.insert(QString::fromLatin1(name), QString::fromLatin1(value));
  };
  set("LC_ALL", row.lcAll);
  set("LC_NUMERIC", row.lcNumeric);
  set("LC_MESSAGES", row.lcMessages);
  set("LANG", row.lang);
  EXPECT_EQ(UserDefaultLcid(env), row.lcid);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Variables, UserLocaleTest, testing::Values(
    EnvironmentRow{"LcAllWins", "uk_UA.UTF-8", "de_DE.UTF-8", nullptr, "en_US.UTF-8", 0x422},
    EnvironmentRow{"EmptyLcAllIsUnset", "", "de_DE.UTF-8", nullptr, "en_US.UTF-8", 0x407},
    EnvironmentRow{"NumericBeatsLang", nullptr, "ru_RU.UTF-8", nullptr, "en_US.UTF-8", 0x419},
    EnvironmentRow{"MessagesIsTheDisplayLanguageNotTheLocale", nullptr, nullptr, "ru_RU.UTF-8", "en_GB.UTF-8", 0x809},
    EnvironmentRow{"LangAlone", nullptr, nullptr, nullptr, "bg_BG.UTF-8", 0x402},
    EnvironmentRow{"NothingSet", nullptr, nullptr, nullptr, nullptr, 0x409}),
    zv::test::RowName{});
// clang-format on

TEST(EnglishLanguageNameTest, NamesTheLanguageOfTheLcid) {
  EXPECT_EQ(EnglishLanguageName(0x419), QStringLiteral("Russian"));
  EXPECT_EQ(EnglishLanguageName(0x819), QStringLiteral("Russian"));
  EXPECT_EQ(EnglishLanguageName(0x422), QStringLiteral("Ukrainian"));
  EXPECT_EQ(EnglishLanguageName(0x809), QStringLiteral("English"));
  EXPECT_EQ(EnglishLanguageName(0x407), QStringLiteral("German"));
  EXPECT_EQ(EnglishLanguageName(0x241A), QStringLiteral("Serbian"));
  EXPECT_EQ(EnglishLanguageName(0x12345), QString());
}

struct BiasRow {
  const char* name;
  const char* zone;
  int month;  // the instant is the 15th of this month, 2024
  int bias;
};
void PrintTo(const BiasRow& row, std::ostream* os) { *os << row.name; }

class StandardBiasTest : public testing::TestWithParam<BiasRow> {};

TEST_P(StandardBiasTest, IgnoresDaylightSaving) {
  const BiasRow& row = GetParam();
  const QTimeZone zone(QByteArray(row.zone));
  if (!zone.isValid()) GTEST_SKIP() << "time-zone data for " << row.zone << " is not installed";
  const QDateTime at(QDate(2024, row.month, 15), QTime(12, 0), Qt::UTC);
  EXPECT_EQ(StandardBiasMinutes(zone, at), row.bias);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Zones, StandardBiasTest, testing::Values(
    BiasRow{"NewYorkWinter", "America/New_York", 1, 300},
    BiasRow{"NewYorkSummerStaysStandard", "America/New_York", 7, 300},
    BiasRow{"MoscowEastIsNegative", "Europe/Moscow", 7, -180},
    BiasRow{"SydneySouthernSummer", "Australia/Sydney", 1, -600},
    BiasRow{"KolkataHalfHour", "Asia/Kolkata", 3, -330},
    BiasRow{"Utc", "UTC", 6, 0}),
    zv::test::RowName{});
// clang-format on

TEST(StandardBiasTest, InvalidZoneIsUtc) {
  EXPECT_EQ(StandardBiasMinutes(QTimeZone(), QDateTime::currentDateTimeUtc()), 0);
}

}  // namespace
}  // namespace zv
