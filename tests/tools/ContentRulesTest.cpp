#include "ContentRules.h"

#include "platform/Cp1251.h"
#include "tasks/TaskCatalogue.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv::content {
namespace {

QByteArray Line(const char* utf8) { return QByteArray(utf8) + '\n'; }

QString Messages(const Bank& bank, bool errorsOnly = true) {
  QStringList out;
  for (const Diagnostic& d : bank.diagnostics)
    if (d.error || !errorsOnly) out.append(d.Format());
  return out.join(QLatin1Char('\n'));
}

const char* kGood = "1\tразг.\tну ты даёшь!\tвыражение удивления чьим-то поступком\tпросьба дать ещё\tупрёк в щедрости";

struct BadLine {
  const char* name;
  const char* line;
  const char* expected;  // a fragment of the message
};

class RefusedTaskLine : public ::testing::TestWithParam<BadLine> {};

// Each rule refuses its breach with the file, the line and a message naming the rule.
TEST_P(RefusedTaskLine, IsReportedWithFileAndLine) {
  Bank bank;
  ParseTaskFile(bank,
                QStringLiteral("content/tasks/q01.tsv"),
                QByteArray("# comment\n") + Line(GetParam().line),
                1,
                {QStringLiteral("Маша")});
  CheckBank(bank);
  const QString messages = Messages(bank);
  EXPECT_TRUE(messages.contains(QStringLiteral("content/tasks/q01.tsv:2: error:"))) << messages.toStdString();
  EXPECT_TRUE(messages.contains(QString::fromUtf8(GetParam().expected))) << messages.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RefusedTaskLine,
    ::testing::Values(
        BadLine{"tooFewFields", "1\tразг.\tфраза\tверно\tневерно", "5 fields"},
        BadLine{"tooManyWrong", "1\tразг.\tфраза\tа\tб\tв\tг\tд\tе", "9 fields"},
        BadLine{"indexOutsideHundred", "101\tразг.\tфраза\tверно\tневерно\tмимо", "not in 1..100"},
        BadLine{"indexNotANumber", "x\tразг.\tфраза\tверно\tневерно\tмимо", "index \"x\""},
        BadLine{"unknownRegister", "1\tслэнг\tфраза\tверно\tневерно\tмимо", "register \"слэнг\""},
        BadLine{
            "phraseTooLong",
            "1\tразг.\tоченьдлиннаяфразаоченьдлиннаяфразаоченьдлиннаяфразаоченьдлиннаяфразаоченьдлиннаяфразаоченьдлинная\tверно\tневерно\tмимо",
            "more than 90"},
        BadLine{
            "answerTooLong",
            "1\tразг.\tфраза\tверноверноверноверноверноверноверноверноверноверноверноверноверноверноверноверно\tневерно\tмимо",
            "right answer has 80 characters, more than 75"},
        BadLine{"trailingBlank", "1\tразг.\tфраза \tверно\tневерно\tмимо", "leading or trailing blank"},
        BadLine{"doubledBlank", "1\tразг.\tфраза\tвер  но\tневерно\tмимо", "doubled blank"},
        BadLine{"emptyPiece", "1\tразг.\tфраза\t\tневерно\tмимо", "right answer is empty"},
        BadLine{"emoji", "1\tразг.\tфраза 😀\tверно\tневерно\tмимо", "not allowed"},
        BadLine{"symbolOutsideTheSet", "1\tразг.\tфраза @ дом\tверно\tневерно\tмимо", "\"@\""},
        BadLine{"ellipsisCharacter", "1\tразг.\tну…\tверно\tневерно\tмимо", "not allowed"},
        BadLine{"capitalStart", "1\tразг.\tНу и ну\tверно\tневерно\tмимо", "starts with a capital"},
        BadLine{"yoMissing", "1\tразг.\tну еще бы\tверно\tневерно\tмимо", "write \"еще\" with \"ё\""},
        BadLine{"answersAlike", "1\tразг.\tфраза\tверно!\tВерно\tмимо", "interpretations 1 and 2 are alike"},
        BadLine{
            "spacedHyphenForADash", "1\tразг.\tфраза\tверно - да\tневерно\tмимо", "right answer has a spaced hyphen"},
        BadLine{"latinCAtOddPosition", "1\tразг.\tфраза\tверно\tневерно\tмc", "cannot be stored"}),
    zv::test::RowName{});

TEST(ContentRules, NamesMayStartWithACapitalAndGoodLinesPass) {
  Bank bank;
  ParseTaskFile(bank,
                QStringLiteral("q01.tsv"),
                Line(kGood) + Line("2\tшутл.\tМаша, ну ты даёшь\tшутливый упрёк\tпохвала\tпросьба"),
                1,
                {QStringLiteral("Маша")});
  CheckBank(bank);
  EXPECT_FALSE(bank.HasErrors()) << Messages(bank).toStdString();
  EXPECT_TRUE(Messages(bank, false).contains(QStringLiteral("tasks missing: 3–1500")));
}

TEST(ContentRules, OrderAndUniquenessAcrossTheBank) {
  Bank bank;
  ParseTaskFile(bank, QStringLiteral("q01.tsv"), Line(kGood) + Line("1\tразг.\tдругое\tа\tб\tв"), 1, {});
  ParseTaskFile(bank,
                QStringLiteral("q02.tsv"),
                Line("101\tразг.\tНу, ты — даёшь\tа\tб\tв") +
                    Line("102\tразг.\tвот это да\tВыражение удивления: чьим-то поступком!\tб\tв") +
                    Line("103\tразг.\tвот те на\tвыражение удивления чьим-то поступком, досада\tб\tв"),
                2,
                {QStringLiteral("Ну"), QStringLiteral("Выражение")});
  CheckBank(bank);
  const QString m = Messages(bank);
  EXPECT_TRUE(m.contains(QStringLiteral("q01.tsv:2: error: index 1 repeats or is out of order"))) << m.toStdString();
  EXPECT_TRUE(m.contains(QStringLiteral("q02.tsv:1: error: phrase repeats task 1 (q01.tsv:1)"))) << m.toStdString();
  EXPECT_TRUE(m.contains(QStringLiteral("q02.tsv:2: error: right answer repeats that of task 1 (q01.tsv:1)")))
      << m.toStdString();
  EXPECT_FALSE(m.contains(QStringLiteral("q02.tsv:3:"))) << "a right answer that only shares words is its own";
}

struct GuessCase {
  const char* name;
  std::vector<QStringList> tasks;  // right answer first
  double chance;
  std::array<double, 5> score;  // longest, second-longest, middle, second-shortest, shortest
};

class LengthGuessers : public ::testing::TestWithParam<GuessCase> {};

// Each guesser scores the share it would win; options of equal length share the pick.
TEST_P(LengthGuessers, ScoreWhatTheyWouldWin) {
  std::vector<Task> tasks;
  for (const QStringList& options : GetParam().tasks)
    tasks.push_back({0, {}, QStringList{QStringLiteral("ф")} + options, {}, 0});
  std::vector<const Task*> pointers;
  for (const Task& t : tasks) pointers.push_back(&t);
  const LengthGuessScores s = ScoreLengthGuessers(pointers);
  EXPECT_NEAR(s.chance, GetParam().chance, 0.01);
  for (std::size_t g = 0; g < kLengthGuessers.size(); ++g)
    EXPECT_NEAR(s.score[g], GetParam().score[g], 0.01) << GuesserName(kLengthGuessers[g]).toStdString();
}

QStringList Options(std::initializer_list<int> lengths) {
  QStringList out;
  char16_t letter = u'а';
  for (int n : lengths) out.append(QString(QChar(letter++)).repeated(n));
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LengthGuessers,
    ::testing::Values(
        GuessCase{"rightLongestOfThree", {Options({9, 5, 3})}, 100.0 / 3, {100, 0, 0, 0, 0}},
        // n = 3: the middle rank is the second from either end; n = 4: it is the second-shortest.
        GuessCase{"middleOfThreeAndFour",
                  {Options({5, 9, 3}), Options({4, 9, 7, 2})},
                  100.0 * (1.0 / 3 + 0.25) / 2,
                  {0, 50, 100, 100, 0}},
        GuessCase{"middleOfFive", {Options({5, 9, 7, 3, 1})}, 20, {0, 0, 100, 0, 0}},
        // Right tied with one wrong at the top: the longest and the second-longest pick either.
        GuessCase{"tieSplitsThePick", {Options({6, 6, 2, 1})}, 25, {50, 50, 0, 0, 0}},
        GuessCase{"allTied", {Options({4, 4, 4})}, 100.0 / 3, {100.0 / 3, 100.0 / 3, 100.0 / 3, 100.0 / 3, 100.0 / 3}},
        GuessCase{"rightShortestHalfTheTime",
                  {Options({1, 5, 6}), Options({9, 5, 6, 7, 8})},
                  100.0 * (1.0 / 3 + 0.2) / 2,
                  {50, 0, 0, 0, 50}}),
    zv::test::RowName{});

TEST(ContentRules, SizeMixAndLengthGiveawayAreJudgedPerHundredAndOverTheBank) {
  // 60 tasks, all with 3 interpretations and the right one always the longest.
  QByteArray file;
  for (int i = 1; i <= 60; ++i)
    file += Line(QStringLiteral("%1\tразг.\tфраза номер %2\tдлинный правильный ответ %2\tкороткий\tмимо")
                     .arg(i)
                     .arg(QString(QChar(0x0430 + (i % 32))).repeated(1 + i / 32))
                     .toUtf8()
                     .constData());
  Bank bank;
  ParseTaskFile(bank, QStringLiteral("q01.tsv"), file, 1, {});
  CheckBank(bank);
  const QString m = Messages(bank);
  EXPECT_TRUE(m.contains(QStringLiteral("mix of sizes 60/0/0"))) << m.toStdString();
  EXPECT_TRUE(
      m.contains(QStringLiteral("q01.tsv: error: the options' lengths give the answer away: longest "
                                "100.0% against chance 33.3% (+66.7 points), more than 8 points")))
      << m.toStdString();
  EXPECT_TRUE(
      m.contains(QStringLiteral("content/tasks: error: the options' lengths give the answer away: "
                                "longest 100.0% against chance 33.3% (+66.7 points), more than 4 points")))
      << m.toStdString();
  EXPECT_EQ(Summary(bank).value(0),
            QStringLiteral("q01.tsv: 60 tasks; sizes 3/4/5: 60/0/0; registers: разг. 60; best length guess: "
                           "longest 100.0% against chance 33.3% (+66.7 points); worst form guess: none applies"));

  // While the bank is being revised, the same breaches are warnings.
  Bank revising;
  revising.revisionRulesAreErrors = false;
  ParseTaskFile(revising, QStringLiteral("q01.tsv"), file, 1, {});
  CheckBank(revising);
  EXPECT_FALSE(Messages(revising).contains(QStringLiteral("lengths"))) << Messages(revising).toStdString();
  EXPECT_TRUE(Messages(revising, false).contains(QStringLiteral("q01.tsv: warning: the options' lengths")));
}

struct FormCase {
  const char* name;
  FormGuesser guesser;
  std::vector<QStringList> tasks;  // right answer first
  int applicable;
  int right;
  bool givesAway;
};

class FormGuessers : public ::testing::TestWithParam<FormCase> {};

// A form guesser counts only the tasks where one option alone differs in its feature, and is
// judged against a blind pick over those tasks once there are enough of them.
TEST_P(FormGuessers, CountOnlyTasksWithOneOddOption) {
  std::vector<Task> tasks;
  int index = 0;
  for (const QStringList& options : GetParam().tasks)
    tasks.push_back({++index, {}, QStringList{QStringLiteral("ф")} + options, {}, 0});
  std::vector<const Task*> pointers;
  for (const Task& t : tasks) pointers.push_back(&t);
  const FormGuessScore s = ScoreFormGuessers(pointers).Of(GetParam().guesser);
  EXPECT_EQ(s.applicable, GetParam().applicable);
  EXPECT_EQ(s.right, GetParam().right);
  EXPECT_EQ(static_cast<int>(s.wins.size()), s.right);
  EXPECT_EQ(s.GivesAway(), GetParam().givesAway) << s.Gain() << " against the limit " << s.Limit();
}

// `times` copies of `first` followed by `rest`.
std::vector<QStringList> Repeat(int times, const QStringList& first, std::vector<QStringList> rest = {}) {
  std::vector<QStringList> out(static_cast<std::size_t>(times), first);
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

QStringList Opts(std::initializer_list<const char*> utf8) {
  QStringList out;
  for (const char* o : utf8) out.append(QString::fromUtf8(o));
  return out;
}

const QStringList kRightOddComma = Opts({"а, б", "в", "г", "д"});
const QStringList kWrongOddComma = Opts({"а", "б, в", "г", "д"});

INSTANTIATE_TEST_SUITE_P(
    Rules, FormGuessers,
    ::testing::Values(
        FormCase{"rightAloneInQuotesFires",
                 FormGuesser::InnerPunctuation,
                 Repeat(8, Opts({"а «б»", "в", "г", "д"})),
                 8,
                 8,
                 true},
        FormCase{
            "tooFewTasksAreNotJudged", FormGuesser::InnerPunctuation, Repeat(7, Opts({"а: б", "в", "г"})), 7, 7, false},
        // A dash and a colon are different sets: two odd options, nothing to pick.
        FormCase{"twoOddOptionsDoNotApply",
                 FormGuesser::InnerPunctuation,
                 Repeat(9, Opts({"а — б", "в: г", "д", "е"})),
                 0,
                 0,
                 false},
        FormCase{"markSharedWithAWrongOneDoesNotApply",
                 FormGuesser::InnerPunctuation,
                 Repeat(9, Opts({"а «б»", "в «г»", "д", "е"})),
                 0,
                 0,
                 false},
        FormCase{
            "allOptionsAlikeDoNotApply", FormGuesser::Comma, Repeat(9, Opts({"а, б", "в, г", "д, е"})), 0, 0, false},
        FormCase{"oddWrongOneIsALoss", FormGuesser::Comma, Repeat(8, kWrongOddComma), 8, 0, false},
        FormCase{"rightAsOftenAsChancePasses",
                 FormGuesser::Comma,
                 Repeat(2, kRightOddComma, Repeat(6, kWrongOddComma)),
                 8,
                 2,
                 false},
        // 20 tasks of four: 5 wins expected, three deviations are 5.8 wins over that.
        FormCase{"tenOfTwentyIsWithinTheLimit",
                 FormGuesser::Comma,
                 Repeat(10, kRightOddComma, Repeat(10, kWrongOddComma)),
                 20,
                 10,
                 false},
        FormCase{"elevenOfTwentyIsBeyondIt",
                 FormGuesser::Comma,
                 Repeat(11, kRightOddComma, Repeat(9, kWrongOddComma)),
                 20,
                 11,
                 true},
        FormCase{
            "onlyQuestionAsksFires", FormGuesser::FinalMark, Repeat(8, Opts({"а?", "б.", "в.", "г."})), 8, 8, true},
        FormCase{"noFinalMarkIsAFeatureToo", FormGuesser::FinalMark, Repeat(8, Opts({"а", "б!", "в!"})), 8, 8, true},
        FormCase{"firstWordIgnoresCaseAndPunctuation",
                 FormGuesser::FirstWord,
                 Repeat(8, Opts({"совет идти", "Просьба: уйти", "просьба, уйти", "просьба уйти"})),
                 8,
                 8,
                 true},
        FormCase{"differentFirstWordsEverywhereDoNotApply",
                 FormGuesser::FirstWord,
                 Repeat(9, Opts({"совет", "просьба", "упрёк"})),
                 0,
                 0,
                 false}),
    zv::test::RowName{});

TEST(ContentRules, FormGiveawayIsJudgedPerHundredAndOverTheBank) {
  // 60 tasks; the right answer alone carries a colon in 20 of them.
  QByteArray file;
  for (int i = 1; i <= 60; ++i)
    file += Line(QStringLiteral("%1\tразг.\tфраза номер %2\tответ %3\tдругой %2\tмимо %2\tещё %2")
                     .arg(i)
                     .arg(QString(QChar(0x0430 + (i % 32))).repeated(1 + i / 32))
                     .arg(i <= 20 ? QStringLiteral("так: %1").arg(i) : QStringLiteral("иначе %1").arg(i))
                     .toUtf8()
                     .constData());
  Bank bank;
  ParseTaskFile(bank, QStringLiteral("q01.tsv"), file, 1, {});
  CheckBank(bank);
  const QString m = Messages(bank);
  EXPECT_TRUE(
      m.contains(QStringLiteral("q01.tsv: error: the options' form gives the answer away: where one "
                                "option alone differs in its inner punctuation, it is the right one 20 "
                                "of 20 times against chance 5.0 (+75.0 points)")))
      << m.toStdString();
  EXPECT_TRUE(m.contains(QStringLiteral("in tasks 1 2 3"))) << m.toStdString();
  EXPECT_TRUE(m.contains(QStringLiteral("content/tasks: error: the options' form gives the answer away")))
      << m.toStdString();
  EXPECT_FALSE(m.contains(QStringLiteral("in its comma"))) << m.toStdString();
  EXPECT_TRUE(Summary(bank).value(0).endsWith(
      QStringLiteral("; worst form guess: inner punctuation 20 of 20 against chance 5.0 (+75.0 points, limit 29.0)")))
      << Summary(bank).value(0).toStdString();

  // While the bank is being revised, the same breach is a warning.
  Bank revising;
  revising.revisionRulesAreErrors = false;
  ParseTaskFile(revising, QStringLiteral("q01.tsv"), file, 1, {});
  CheckBank(revising);
  EXPECT_FALSE(Messages(revising).contains(QStringLiteral("form"))) << Messages(revising).toStdString();
  EXPECT_TRUE(Messages(revising, false).contains(QStringLiteral("q01.tsv: warning: the options' form")));
}

TEST(ContentRules, SayingsRules) {
  Bank few;
  ParseSayings(few, QStringLiteral("sayings.txt"), Line("век живи - век учись") + Line("век живи, век учись!"));
  EXPECT_TRUE(Messages(few).contains(QStringLiteral("sayings.txt:2: error: saying repeats line 1")));
  EXPECT_TRUE(Messages(few).contains(QStringLiteral("2 sayings; at least 150")));
  EXPECT_TRUE(Messages(few).contains(QStringLiteral("sayings.txt:1: error: saying has a spaced hyphen")));
  Bank bad;
  ParseSayings(bad, QStringLiteral("sayings.txt"), QByteArray("\xff\xfe"));
  EXPECT_TRUE(Messages(bad).contains(QStringLiteral("not valid UTF-8")));
}

TEST(ContentRules, CompiledTextLoadsBackAndOrderIsAlphabetical) {
  Bank bank;
  ParseTaskFile(bank,
                QStringLiteral("q01.tsv"),
                Line(kGood) + Line("2\tразг.\tёлки-палки\tвозглас досады\tрадость\tсогласие") +
                    Line("3\tразг.\tеда есть\tа\tб\tв") + Line("4\tразг.\tабы как\tа\tб\tв\tг\tд"),
                1,
                {});
  ParseSayings(bank, QStringLiteral("sayings.txt"), Line("тише едешь - дальше будешь"));
  const QByteArray tasks = BuildTaskText(bank);
  EXPECT_EQ(tasks.back(), '\0');
  const QByteArray sayings = BuildSayingsText(bank);
  const TaskCatalogue catalogue(tasks, sayings);
  TaskRecord r;
  ASSERT_EQ(catalogue.LoadTask(2, r), 3);
  EXPECT_EQ(cp1251::Decode(r.Slots[0]), QString::fromUtf8("Ёлки-палки"));
  ASSERT_EQ(catalogue.LoadTask(4, r), 5);
  EXPECT_EQ(catalogue.LoadTask(5, r), 0) << "missing tasks are stored empty";
  EXPECT_EQ(catalogue.LoadTask(1500, r), 0);
  EXPECT_EQ(catalogue.CountSayings(), 1);

  // "ё" sorts as "е": "еда есть" < "ёлки-палки" < "ну ты даёшь"; 1 and 2 are fixed at 9 and 10.
  const auto order = BuildDisplayOrder(bank);
  EXPECT_EQ(order[8], 1);
  EXPECT_EQ(order[9], 2);
  EXPECT_EQ(order[10], 4);  // "абы как"
  EXPECT_EQ(order[11], 3);  // "еда есть"
  EXPECT_EQ(order[12], 5) << "unwritten tasks follow, by index";
}

}  // namespace
}  // namespace zv::content
