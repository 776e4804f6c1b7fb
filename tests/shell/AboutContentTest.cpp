// The about window's decisions: the sound coverage text, the mail target and the credits built
// from the content files.

#include "common/ClientId.h"
#include "shell/AboutContent.h"
#include "support/RowName.h"

#include "../platform/QtPrint.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

// Counts no two categories share, so a count put in the wrong place shows.
SoundCoverage Coverage(std::initializer_list<int> missingHundreds, bool comments = true) {
  SoundCoverage c;
  if (comments) {
    c.comments = {21, 52, 53, 24, 10, 11, 12, 13, 14, 15, 17};  // s y n t m0..m5 f
    for (int n : c.comments) c.totalComments += n;
  }
  c.voicedPresent.fill(true);
  for (int q : missingHundreds) c.voicedPresent[static_cast<std::size_t>(q - 1)] = false;
  c.voicedPresentCount = static_cast<int>(std::count(c.voicedPresent.begin(), c.voicedPresent.end(), true));
  c.allVoicedPresent = c.voicedPresentCount == 15;
  return c;
}

const QString kCounts =
    u"Количество звуковых комментариев - 242\r\n(к началу экзамена - 21, к правильным ответам - 52,\r\n"
    u"к неправильным ответам - 53, к цейтноту - 24, к оценке \"0\" - 10, к оценке \"1\" - 11, "
    u"к оценке \"2\" - 12, к оценке \"3\" - 13, \r\nк оценке \"4\" - 14, к оценке \"5\" - 15, "
    u"к выходу из программы - 17)."_s;
const QString kUpdateHint = u"Воспользуйтесь \"Интернет-обновлением\"!"_s;

TEST(AboutCoverage, EveryCountStandsInItsPlace) {
  const CoverageText t = BuildCoverageText(Coverage({}));
  EXPECT_EQ(t.text, kCounts);
  EXPECT_EQ(t.labelGrowth, 0);
  EXPECT_EQ(t.hint, QString());
}

struct CoverageRow {
  const char* name;
  SoundCoverage coverage;
  QString counts;  // a piece of the counts
  QString extra;   // what follows the counts' closing ")."
  int growth;
  bool hint;
  QString voicedState;
};
void PrintTo(const CoverageRow& row, std::ostream* os) { *os << row.name; }

class AboutCoverageCases : public testing::TestWithParam<CoverageRow> {};

TEST_P(AboutCoverageCases, ExtraLinesGrowthHintAndVoicedState) {
  const CoverageRow& row = GetParam();
  const CoverageText t = BuildCoverageText(row.coverage);
  EXPECT_TRUE(t.text.contains(row.counts)) << t.text.toStdString();
  EXPECT_EQ(t.text.mid(t.text.indexOf(u")."_s) + 2), row.extra);
  EXPECT_EQ(t.labelGrowth, row.growth);
  EXPECT_EQ(t.hint, row.hint ? kUpdateHint : QString());
  EXPECT_EQ(VoicedState(row.coverage), row.voicedState);
}

SoundCoverage WithoutTimeOutComments() {
  SoundCoverage c = Coverage({});
  c.totalComments -= c.comments[static_cast<std::size_t>(SoundCategory::TimeOut)];
  c.comments[static_cast<std::size_t>(SoundCategory::TimeOut)] = 0;
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    , AboutCoverageCases,
    testing::Values(
        CoverageRow{"everything_installed", Coverage({}), u"- 242\r\n"_s, u""_s, 0, false, u"all"_s},
        CoverageRow{"hundreds_3_and_12_missing", Coverage({12, 3}), u"- 242\r\n"_s,
                    u"\r\nНе озвучены следующие сотни заданий:\r\n 3, 12."_s, 24, true, u"1300"_s},
        CoverageRow{"only_the_last_hundred_missing", Coverage({15}), u"- 242\r\n"_s,
                    u"\r\nНе озвучены следующие сотни заданий:\r\n 15."_s, 24, true, u"1400"_s},
        CoverageRow{"only_one_hundred_voiced", Coverage({2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}),
                    u"- 242\r\n"_s,
                    u"\r\nНе озвучены следующие сотни заданий:\r\n 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15."_s,
                    24, true, u"100"_s},
        CoverageRow{"nothing_installed", Coverage({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, false),
                    u"комментариев - 0\r\n(к началу экзамена - 0,"_s,
                    u"\r\nНе озвучена ни одна сотня заданий!"_s, 12, true, u"no"_s},
        CoverageRow{"a_comment_category_empty", WithoutTimeOutComments(), u"- 218\r\n"_s, u""_s, 0, true,
                    u"all"_s}),
    test::RowName());

struct MailRow {
  const char* name;
  SoundCoverage coverage;
  int biasMinutes;
  QString subject;
};
void PrintTo(const MailRow& row, std::ostream* os) { *os << row.name; }

class AboutMailTarget : public testing::TestWithParam<MailRow> {};

TEST_P(AboutMailTarget, SubjectCarriesTheClientAndTheCoverage) {
  const MailRow& row = GetParam();
  const ClientIdInputs in{u"Zorvik"_s, u"1500"_s, u"WinXP Pro SP3"_s, u"Russian"_s, 0x419, row.biasMinutes};
  EXPECT_EQ(MailTarget(u"zorvik@example.org"_s, BuildClientId(in, true), row.coverage),
            u"mailto:zorvik@example.org?subject=Zorvik%201500.0.0%20(WinXP%20Pro%20SP3%20Russian%200419,%20"_s +
                row.subject);
}

INSTANTIATE_TEST_SUITE_P(
    , AboutMailTarget,
    testing::Values(
        MailRow{"everything_installed", Coverage({}), -180, u"UTC+3)%20all%20questsounds,%20242%20comments"_s},
        MailRow{"hundreds_3_and_12_missing", Coverage({3, 12}), -180,
                u"UTC+3)%201300%20questsounds,%20242%20comments"_s},
        MailRow{"nothing_installed", Coverage({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, false), 0,
                u"UTC0)%20no%20questsounds,%200%20comments"_s},
        MailRow{"west_of_utc", Coverage({3, 12}), 300, u"UTC-5)%201300%20questsounds,%20242%20comments"_s}),
    test::RowName());

TEST(AboutLinks, WebAndSupportPages) {
  EXPECT_EQ(WebTarget(u"zorvik.example.org"_s), u"http://zorvik.example.org"_s);
  EXPECT_EQ(GrantTarget(u"host.example.org"_s, true), u"http://host.example.org/GrantRus/"_s);
  EXPECT_EQ(GrantTarget(u"host.example.org"_s, false), u"http://host.example.org/GrantEng/"_s);
}

TEST(AboutCredits, ItemsSkipCommentsAndBlankLines) {
  EXPECT_EQ(ParseAboutItems("# a comment\r\n  first item \r\n\r\n   \nsecond # not a comment\n#last"),
            (QStringList{u"first item"_s, u"second # not a comment"_s}));
}

TEST(AboutCredits, BuiltInCopyIsTheContentFolder) {
  const AboutCredits built = LoadAboutCredits(u":/about"_s);
  const AboutCredits source = LoadAboutCredits(QStringLiteral(ZV_CONTENT_DIR "/about"));
  EXPECT_EQ(built.hints, source.hints);
  EXPECT_EQ(built.sources, source.sources);
  EXPECT_EQ(built.performers, source.performers);
  EXPECT_EQ(built.helpers, source.helpers);
  EXPECT_EQ(built.hints,
            (QStringList{u"Режим закрепления пройденного становится доступным после прохождения достаточного "
                         u"количества новых заданий;"_s,
                         u"Успешно повторенные задания больше не появляются в режиме закрепления пройденного;"_s,
                         u"Щелчком правой кнопкой \"мыши\" по строке задания вызывается окно выбора шрифта заданий;"_s,
                         u"Щелчком правой кнопкой \"мыши\" по кнопке с вариантом толкования вызывается окно выбора "
                         u"шрифта ответов."_s}));
  for (const QStringList* list : {&built.sources, &built.performers, &built.helpers})
    EXPECT_FALSE(list->isEmpty()) << "a credits file is missing from the program";
}

TEST(AboutCredits, FragmentsFromTheContentFiles) {
  const AboutCredits credits = LoadAboutCredits(u":/about"_s);
  const std::vector<AboutFragment> f = BuildAboutFragments(credits);
  const auto items = credits.hints.size() + credits.sources.size() + credits.helpers.size();
  ASSERT_EQ(f.size(), static_cast<std::size_t>(items + 5));

  // Headings, each before its own items.
  std::size_t at = 0;
  const auto heading = [&](const QString& text, std::uint32_t colour) {
    SCOPED_TRACE(text.toStdString());
    ASSERT_LT(at, f.size());
    EXPECT_EQ(f[at], (AboutFragment{text, colour, true, false, false}));
    ++at;
  };
  const auto bullets = [&](const QStringList& list) {
    for (const QString& item : list) {
      ASSERT_LT(at, f.size());
      EXPECT_EQ(f[at], (AboutFragment{item + u'\n', 0, false, true, true}));
      ++at;
    }
  };
  heading(u"Неочевидное:\n"_s, kCreditNavy);
  bullets(credits.hints);
  heading(u"\nИсточники:\n"_s, kCreditBlue);
  bullets(credits.sources);
  heading(u"\nИспользованы звуковые фрагменты произведений следующих исполнителей:\n"_s, kCreditGreen);
  ASSERT_LT(at, f.size());
  EXPECT_EQ(f[at].text, u"Anna, Elena, Irina, Aleksandr — голоса синтезатора речи RHVoice (лицензия LGPL-2.1+)"_s)
      << "the voices are not one comma-separated line";
  EXPECT_TRUE(f[at].italic);
  EXPECT_FALSE(f[at].bulleted);
  ++at;
  heading(u"\nПомощники:\n"_s, kCreditPurple);
  bullets(credits.helpers);
}

}  // namespace
}  // namespace zv
