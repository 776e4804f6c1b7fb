#include "shell/LanguageCheck.h"

#include "ShellFixture.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

using namespace Qt::StringLiterals;

enum class Stored { Absent, False, True, Text };

struct CheckRow {
  const char* name;
  Stored stored;
  bool answerYes;
  bool answerNoMore;
  bool expectShown;
  bool expectResult;
  Stored expectStoredAfter;
};

void store(Registry& r, Stored s) {
  const QString name = u"NoLangDialog"_s;
  switch (s) {
    case Stored::Absent:
      break;
    case Stored::False:
      r.WriteInteger(name, 0);
      break;
    case Stored::True:
      r.WriteInteger(name, 1);
      break;
    case Stored::Text:
      r.WriteString(name, u"1"_s);
      break;
  }
}

Stored readBack(Registry& r) {
  const QString name = u"NoLangDialog"_s;
  if (!r.ValueExists(name)) return Stored::Absent;
  if (r.GetDataType(name) != RegType::DWord) return Stored::Text;
  return r.ReadInteger(name) != 0 ? Stored::True : Stored::False;
}

class LanguageCheckDecision : public ::testing::TestWithParam<CheckRow> {};

TEST_P(LanguageCheckDecision, ShowsAnswersAndRemembers) {
  const CheckRow row = GetParam();
  QTemporaryDir dir;
  SystemInfo info = test::StartTestSystem(dir, u"en_US.UTF-8"_s);
  if (row.stored != Stored::Absent) test::WithSettingsKey(dir, [&](Registry& r) { store(r, row.stored); });

  int shown = 0;
  QString caption, text;
  const bool result = CheckLanguage(info, {u"Deutsch"_s, u"German"_s}, [&](const QString& c, const QString& t) {
    ++shown;
    caption = c;
    text = t;
    return LanguageWarningAnswer{row.answerYes, row.answerNoMore};
  });

  EXPECT_EQ(shown, row.expectShown ? 1 : 0);
  EXPECT_EQ(result, row.expectResult);
  if (row.expectShown) {
    EXPECT_EQ(caption, u"Зорвик"_s);
    EXPECT_TRUE(
        text.startsWith(u"В Вашей системе Windows основным языком отображения является "
                        u"Deutsch (German).\r\n"_s));
  }
  Stored after = Stored::Absent;
  test::WithSettingsKey(dir, [&](Registry& r) { after = readBack(r); });
  EXPECT_EQ(after, row.expectStoredAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LanguageCheckDecision,
    ::testing::Values(
        CheckRow{"FirstRunNoAnswerKeepsAsking", Stored::Absent, false, false, true, false, Stored::Absent},
        CheckRow{"StoredFalseShowsAgain", Stored::False, false, false, true, false, Stored::False},
        CheckRow{"StoredTrueSuppresses", Stored::True, true, true, false, false, Stored::True},
        CheckRow{"TickedWithNoIsWritten", Stored::Absent, false, true, true, false, Stored::True},
        CheckRow{"TickedWithYesIsWrittenAndOpensSettings", Stored::False, true, true, true, true, Stored::True},
        CheckRow{"YesUntickedOpensSettingsOnly", Stored::Absent, true, false, true, true, Stored::Absent},
        CheckRow{"UnreadableFlagDoesNotSuppress", Stored::Text, false, false, true, false, Stored::Text},
        CheckRow{"TickReplacesUnreadableFlag", Stored::Text, false, true, true, false, Stored::True}),
    zv::test::RowName{});

// The warning is the one text the user reads before deciding; a lost line end or a changed
// word would show.
TEST(LanguageWarningText, IsTheTwoLanguageMessage) {
  EXPECT_EQ(LanguageWarningText({u"français"_s, u"French"_s}),
            u"В Вашей системе Windows основным языком отображения является français (French).\r\n"
            u"Программе нужен русский язык хотя бы \"для не-Юникод-программ\".\r\n"
            u"Хотите сейчас войти в процедуру установки языка отображения?\r\n\r\n"
            u"français (French) is the default language in your Windows system.\r\n"
            u"Russian language is required for at least \"non-Unicode programs\".\r\n"
            u"Would you like to launch Locales Setup now?"_s);
}

struct NamesRow {
  const char* name;
  const char* lang;
  const char16_t* local;
  const char16_t* english;
};

class SystemLanguageNames : public ::testing::TestWithParam<NamesRow> {};

TEST_P(SystemLanguageNames, FromLang) {
  const NamesRow row = GetParam();
  QProcessEnvironment env;
  env.insert(u"LANG"_s, QString::fromLatin1(row.lang));
  const LanguageNames names = SystemDefaultLanguageNames(env);
  EXPECT_EQ(names.Local, QString::fromUtf16(row.local));
  EXPECT_EQ(names.English, QString::fromUtf16(row.english));
  EXPECT_LE(names.Local.size(), kLanguageNameLength);
  EXPECT_LE(names.English.size(), kLanguageNameLength);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SystemLanguageNames,
    ::testing::Values(NamesRow{"CodesetAndModifierIgnored", "de_DE.UTF-8@euro", u"Deutsch", u"German"},
                      NamesRow{"DashSeparatorAccepted", "fr-FR", u"français", u"French"},
                      NamesRow{"PosixLocaleIsEnglish", "C", u"American English", u"English"},
                      NamesRow{"UnknownLocaleIsEnglish", "xx_YY.UTF-8", u"American English", u"English"},
                      NamesRow{"LongNameCutTo24", "zgh_MA.UTF-8", u"ⵜⴰⵎⴰⵣⵉⵖⵜ", u"Standard Moroccan Tamazi"}),
    zv::test::RowName{});

}  // namespace
}  // namespace zv
