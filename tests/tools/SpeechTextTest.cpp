#include "SoundSources.h"
#include "SpeechText.h"
#include "StressReadout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/RowName.h"
#include "support/Utf8.h"

namespace zv::soundbuild {
namespace {

using test::U;

struct SpeechRow {
  const char* name;
  const char* written;
  const char* spoken;  // nullptr: refused
  const char* reason;  // a fragment of the refusal
};

class SpeechOf : public ::testing::TestWithParam<SpeechRow> {};

TEST_P(SpeechOf, IsWhatTheVoiceReads) {
  const SpeechText s = ToSpeech(U(GetParam().written));
  if (GetParam().spoken != nullptr) {
    EXPECT_EQ(s.error, QString());
    EXPECT_EQ(s.text, U(GetParam().spoken));
  } else {
    EXPECT_EQ(s.text, QString());
    EXPECT_TRUE(s.error.contains(U(GetParam().reason))) << s.error.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SpeechOf,
    ::testing::Values(
        SpeechRow{"quotesDropped", "он сказал «привет» и „пока“", "Он сказал привет и пока", nullptr},
        SpeechRow{"spacedDashIsAPause", "семь раз отмерь — один отрежь", "Семь раз отмерь, один отрежь", nullptr},
        SpeechRow{"dashAfterAnExclamationAddsNothing", "я выиграл! — Да ладно!", "Я выиграл! Да ладно!", nullptr},
        SpeechRow{"leadingDashDropped", "— да ладно!", "Да ладно!", nullptr},
        SpeechRow{"threeDotsAreAPause", "это самое... ну, отвёртку", "Это самое, ну, отвёртку", nullptr},
        SpeechRow{"ellipsisBeforeAWordIsAPause", "ну…ладно", "Ну, ладно", nullptr},
        SpeechRow{"trailingPauseDropped", "ну и ну…", "Ну и ну", nullptr},
        SpeechRow{"hyphenInsideAWordStays", "кто-нибудь, помогите", "Кто-нибудь, помогите", nullptr},
        SpeechRow{"stressMarkKept", "скинь в ли́чку", "Скинь в ли́чку", nullptr},
        SpeechRow{"interjectionWithoutVowelSpoken", "хм, ну ладно", "Хм, ну ладно", nullptr},
        SpeechRow{"digitsRefused", "на все 100", nullptr, "digits"},
        SpeechRow{"latinRefused", "всё ok", nullptr, "Latin"},
        SpeechRow{"capitalsAreAnAbbreviation", "звони в МЧС", nullptr, "abbreviation"},
        SpeechRow{"dotBeforeALowerCaseWordIsAnAbbreviation", "книги, журналы и др. вещи", nullptr, "abbreviation"},
        SpeechRow{"lettersWithoutAVowelAreSpelled", "ещё пять км", nullptr, "no vowel"},
        SpeechRow{"loneLetterIsSpelled", "нужен витамин д", nullptr, "single letter"},
        SpeechRow{"loneLetterWithADotIsAnAbbreviation", "и т. п.", nullptr, "abbreviation"},
        SpeechRow{"bareAbbreviationRefused", "пять тыс рублей", nullptr, "abbreviation"},
        SpeechRow{"symbolRefused", "на все сто %", nullptr, "symbol"},
        SpeechRow{"nothingToSpeak", "— …", nullptr, "nothing"}),
    zv::test::RowName{});

struct SpokenRow {
  const char* name;
  const char* shown;
  const char* spoken;
  bool accepted;
};

class SpokenForm : public ::testing::TestWithParam<SpokenRow> {};

TEST_P(SpokenForm, SaysTheWordsOfTheShownText) {
  const QString why = CheckSpokenForm(U(GetParam().shown), U(GetParam().spoken));
  EXPECT_EQ(why.isEmpty(), GetParam().accepted) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SpokenForm,
    ::testing::Values(SpokenRow{"stressMarksAdded", "скинь мне в личку", "Скинь мне в ли́чку", true},
                      SpokenRow{"punctuationChanged", "ну ты даёшь!", "Ну, ты даёшь...", true},
                      SpokenRow{"numberSpelledOut", "на все 100", "на все сто", true},
                      SpokenRow{
                          "numberSpelledInManyWords", "в 1941 году", "в тысяча девятьсот сорок первом году", true},
                      SpokenRow{"abbreviationSpelledOut", "звони в МЧС", "звони в эм-че-эс", true},
                      SpokenRow{"latinSpelledOut", "всё ok", "всё окей", true},
                      SpokenRow{"wordChanged", "скинь мне в личку", "кинь мне в личку", false},
                      SpokenRow{"wordAdded", "скинь мне в личку", "скинь мне в личку быстро", false},
                      SpokenRow{"wordDropped", "скинь мне в личку", "скинь в личку", false},
                      SpokenRow{"yoIsNotE", "всё пропало", "все пропало", false},
                      SpokenRow{"numberLeftUnsaid", "на все 100", "на все", false},
                      SpokenRow{"markOnAnotherWordSpelling", "в личку", "в ли́чкy", false}),
    zv::test::RowName{});

TEST(Comments, RotateTheFourVoicesUnlessALineNamesOneAndScaleItsRate) {
  QStringList errors;
  const std::vector<SoundSpec> s = ParseComments(U("content/comments/y.txt"),
                                                 QByteArray("# greetings\n"
                                                            "Верно!\n"
                                                            "В точку!\n"
                                                            "Так держать!\taleksandr\n"
                                                            "Молодец!\t\t120\n"
                                                            "Угадал!\n"),
                                                 errors);
  ASSERT_EQ(errors, QStringList());
  ASSERT_EQ(s.size(), 5U);
  const std::vector<QString> voices = {U("anna"), U("elena"), U("aleksandr"), U("aleksandr"), U("anna")};
  for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].voice, voices[i]) << i;
  EXPECT_EQ(s[3].rate, std::lround(FindVoice(U("aleksandr"))->rate * 1.2));
  EXPECT_EQ(s[2].rate, FindVoice(U("aleksandr"))->rate);
  EXPECT_EQ(s[2].origin, U("content/comments/y.txt:4"));
}

TEST(Comments, RefuseWhatCannotBeSpokenWithFileAndLine) {
  QStringList errors;
  ParseComments(U("content/comments/n.txt"), QByteArray("Мимо на 100 %\nНет!\tboris\nУвы.\telena\t500\n"), errors);
  ASSERT_EQ(errors.size(), 3);
  EXPECT_TRUE(errors[0].startsWith(U("content/comments/n.txt:1: error: digits")));
  EXPECT_TRUE(errors[1].startsWith(U("content/comments/n.txt:2: error: unknown voice")));
  EXPECT_TRUE(errors[2].startsWith(U("content/comments/n.txt:3: error: the rate")));
}

TEST(StressReadout, ShowsTheFoundVowelsAndHowTheyWereFound) {
  // Words by StressWords order: я 0, выиграл 1, в 2, лотерею 3, сколько 4, ли́чку 5 (marked).
  const QString text = U("Я выиграл в лотерею, сколько ли́чку");
  std::map<std::size_t, WordStress> found;
  found[1] = {StressFound::InPhrase, {1}};
  found[3] = {StressFound::Guessed, {5}};
  found[4] = {StressFound::Alone, {2}};
  EXPECT_EQ(RenderStress(text, found), U("я вЫиграл в лотерЕю(?), скОлько(1) лИчку"));
}

}  // namespace
}  // namespace zv::soundbuild
