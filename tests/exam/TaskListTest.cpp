// The task list's text and its search, on the built-in bank and on small documents.

#include "exam/TaskList.h"
#include "platform/RandomSource.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"

#include <QStringList>

#include <stdexcept>

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

struct AverageRow {
  const char* name;
  int rCount;
  int passed;
  int mark;
};

class AverageMarkTable : public ::testing::TestWithParam<AverageRow> {};

TEST_P(AverageMarkTable, RoundsHalvesToEven) {
  EXPECT_EQ(AverageMark(GetParam().rCount, GetParam().passed), GetParam().mark);
}

INSTANTIATE_TEST_SUITE_P(Marks, AverageMarkTable,
                         ::testing::Values(AverageRow{"seven_of_ten_3_6_up", 7, 10, 4},
                                           AverageRow{"none_right_0_1_down", 0, 10, 0},
                                           AverageRow{"all_right_5_1_down", 10, 10, 5},
                                           // 5 x 12 / 25 + 0.1 is exactly 2.5, 5 x 17 / 25 + 0.1 exactly 3.5: a binary
                                           // fraction a hair either side would round the wrong way.
                                           AverageRow{"half_to_even_down", 12, 25, 2},
                                           AverageRow{"half_to_even_up", 17, 25, 4},
                                           AverageRow{"nothing_passed", 0, 0, 0}),
                         test::RowName{});

class BuiltList : public ::testing::Test {
 protected:
  ClockSeededRandom random{5};
  TSmartRand tasks{1500, true, 50, random};
  TaskCatalogue catalogue{content::TaskText(), content::SayingsText()};

  ProtocolDocument Build(int mark = 0, bool consolidation = false, ExamStatistics stats = {7, 46000.0}) {
    TaskListInput in{catalogue, content::DisplayOrder(), tasks, stats, QDate(2025, 12, 6), mark, consolidation};
    in.locale = QLocale(QLocale::Russian, QLocale::Russia);
    return *BuildTaskList(in);
  }
  static QStringList Texts(const ProtocolDocument& d) {
    QStringList out;
    for (const ProtocolParagraph& p : d.Paragraphs()) out += p.Text();
    return out;
  }
  // The display positions (1-based) whose tasks the bank holds, in order: while content is
  // being written some tasks are still empty and their lines carry the number alone.
  std::vector<int> HeldPositions() const {
    std::vector<int> out;
    TaskRecord record;
    for (int k = 1; k <= 1500; ++k)
      if (catalogue.LoadTask(content::DisplayOrder()[static_cast<std::size_t>(k - 1)], record) > 0) out.push_back(k);
    return out;
  }
  int TaskAt(int k) const { return content::DisplayOrder()[static_cast<std::size_t>(k - 1)]; }
  // The line of display position k (1-based) in a list built without progress.
  static const ProtocolParagraph& Line(const ProtocolDocument& d, int k) {
    for (const ProtocolParagraph& p : d.Paragraphs())
      if (p.Text().startsWith(QString::number(k) + QStringLiteral(". "))) return p;
    throw std::runtime_error("no such line");
  }
};

TEST_F(BuiltList, WithoutProgressHasNoStruckPhraseNoTallyAndNoStatistics) {
  const ProtocolDocument d = Build();
  const QStringList texts = Texts(d);
  EXPECT_EQ(texts[0], QStringLiteral(" 1500 ФРАЗ"));
  EXPECT_EQ(texts[1], QStringLiteral("Получив за экзамен  5,"));
  EXPECT_EQ(texts[2], QStringLiteral("увидите и толкования."));
  EXPECT_FALSE(texts.join(QLatin1Char('\n')).contains(QStringLiteral("вычеркнуты")));
  EXPECT_FALSE(texts.join(QLatin1Char('\n')).contains(QStringLiteral("Средняя оценка")));
  int lines = 0;
  for (const ProtocolParagraph& p : d.Paragraphs())
    for (const ProtocolRun& r : p.runs) {
      EXPECT_FALSE(r.style.strikeOut) << r.text.toStdString();
      if (r.colour == kBlue) ++lines;
    }
  const std::vector<int> held = HeldPositions();
  ASSERT_FALSE(held.empty());
  EXPECT_EQ(lines, static_cast<int>(held.size()));
  // The display order decides what stands where.
  TaskRecord record;
  for (int k : {held.front(), held.back()}) {
    catalogue.LoadTask(TaskAt(k), record);
    EXPECT_EQ(Line(d, k).runs[1].text, ListPiece(record.Slots[0])) << k;
  }
}

TEST_F(BuiltList, PassedTasksAreStruckAndCountedWithTheAverageMark) {
  const std::vector<int> held = HeldPositions();
  ASSERT_GE(held.size(), 11u);
  for (std::size_t i = 0; i < 10; ++i) tasks.MarkUsed(TaskAt(held[i]));
  const ProtocolDocument d = Build(3);
  const QStringList texts = Texts(d);
  EXPECT_EQ(texts[1], QStringLiteral("Фразы, использованные в заданиях, вычеркнуты (таких 10)."));
  const ProtocolRun& struckWord = d.Paragraphs()[1].runs[1];
  EXPECT_EQ(struckWord.style, (RunStyle{false, true, true}));
  for (std::size_t i = 0; i < 10; ++i) EXPECT_TRUE(Line(d, held[i]).runs[1].style.strikeOut) << held[i];
  EXPECT_FALSE(Line(d, held[10]).runs[1].style.strikeOut);
  EXPECT_EQ(texts.mid(texts.size() - 5),
            (QStringList{QString(),
                         QStringLiteral("Начиная с 06.12.2025 правильно растолковано фраз:"),
                         QStringLiteral("7 из 10"),
                         QString(),
                         QStringLiteral("Средняя оценка: 4")}));
  EXPECT_EQ(d.Paragraphs().back().runs[0].colour, kGrey);
  EXPECT_EQ(d.Paragraphs().back().align, Align::Centre);
}

TEST_F(BuiltList, InterpretationsOnlyAfterAnOrdinaryFive) {
  struct Row {
    const char* name;
    int mark;
    bool consolidation;
    bool interpretations;
    bool exceptLine;
  };
  for (const Row& row : {Row{"ordinary_five", 5, false, true, false},
                         Row{"consolidation_five", 5, true, false, true},
                         Row{"ordinary_four", 4, false, false, false}}) {
    SCOPED_TRACE(row.name);
    const ProtocolDocument d = Build(row.mark, row.consolidation);
    const ProtocolParagraph& first = Line(d, HeldPositions().front());
    ASSERT_EQ(first.runs.size(), row.interpretations ? 3u : 2u);
    if (row.interpretations) {
      EXPECT_TRUE(first.runs[2].text.startsWith(QStringLiteral(" - ")));
      EXPECT_EQ(first.runs[2].colour, kGreen);
    }
    const QString all = Texts(d).join(QLatin1Char('\n'));
    EXPECT_EQ(all.contains(QStringLiteral("увидите и толкования.")), !row.interpretations);
    EXPECT_EQ(all.contains(QStringLiteral("(кроме режима повторения пройденного)")), row.exceptLine);
  }
}

TEST_F(BuiltList, CancellingAtAStepReturnsNothingAndStepsEvery16Lines) {
  TaskListInput in{catalogue, content::DisplayOrder(), tasks, {}, QDate(2025, 1, 1)};
  int steps = 0;
  EXPECT_TRUE(BuildTaskList(in, [&] { return ++steps > 0; }).has_value());
  EXPECT_EQ(steps, 1500 / 16);
  EXPECT_LE(steps, TaskListProgressSteps(1500));
  steps = 0;
  EXPECT_FALSE(BuildTaskList(in, [&] { return ++steps < 3; }).has_value());
  EXPECT_EQ(steps, 3);
}

// --- search ---------------------------------------------------------------------------------

// A small list: a header, three task lines (one wrapping in a real view) and a statistics line.
ProtocolDocument SmallList() {
  ProtocolDocument d;
  d.SetAlignment(Align::Centre);
  d.SetAttributes({true, false, false}, kRed);
  d.Append(QStringLiteral(" 1500 ФРАЗ\n"));
  d.SetAlignment(Align::Left);
  const auto line = [&d](const char* number, const char* phrase) {
    d.SetAttributes({}, kBlack);
    d.Append(QString::fromUtf8(number));
    d.SetAttributes({true, false, false}, kBlue);
    d.Append(QString::fromUtf8(phrase));
    d.Append(QStringLiteral("\n"));
  };
  line("1. ", "да нет, наверное");
  line("2. ", "нет так нет, да и ладно, да хоть завтра, с длинным хвостом для переноса строки");
  line("3. ", "да ну его");
  d.SetAlignment(Align::Centre);
  d.SetAttributes({}, kGrey);
  d.Append(QStringLiteral("Средняя оценка: 4"));
  return d;
}

struct SearchRow {
  const char* name;
  const char* key;
  bool whole;
  int found;
  std::vector<QString> keptPrefixes;  // the first characters of each paragraph left
};

class SearchTable : public ::testing::TestWithParam<SearchRow> {};

TEST_P(SearchTable, KeepsWholeMatchingLinesAndCountsTheLastString) {
  const SearchRow& row = GetParam();
  const SearchResult r = SearchTaskList(SmallList(), QString::fromUtf8(row.key), row.whole);
  EXPECT_EQ(r.found, row.found);
  std::vector<QString> prefixes;
  for (const ProtocolParagraph& p : r.document.Paragraphs()) prefixes.push_back(p.Text().left(2));
  EXPECT_EQ(prefixes, row.keptPrefixes);
}

INSTANTIATE_TEST_SUITE_P(
    Search, SearchTable,
    ::testing::Values(
        // Both strings must be in a line; the count is of НЕТ's occurrences in what ДА left.
        SearchRow{"two_words_need_both", "ДА НЕТ", false, 3, {QStringLiteral("1."), QStringLiteral("2.")}},
        SearchRow{"leading_blanks_skipped", "   НУ", false, 1, {QStringLiteral("3.")}},
        SearchRow{"inside_words_without_whole", "ЛАД", false, 1, {QStringLiteral("2.")}},
        SearchRow{"whole_word_not_inside_words", "ЛАД", true, 0, {QStringLiteral("Не")}},
        SearchRow{
            "whole_word_bounded", "ДА", true, 4, {QStringLiteral("1."), QStringLiteral("2."), QStringLiteral("3.")}},
        SearchRow{"only_hit_in_statistics_line", "ОЦЕНКА", false, 1, {QStringLiteral("Ср")}},
        SearchRow{"blanks_only_searches_nothing", "   ", false, 0, {QStringLiteral("Не")}},
        SearchRow{"first_word_missing_ends_search", "ЖУК ДА", false, 0, {QStringLiteral("Не")}}),
    test::RowName{});

TEST(Search, OccurrencesTurnRedAndTheRestKeepsItsLook) {
  const SearchResult r = SearchTaskList(SmallList(), QStringLiteral("НУ"), false);
  ASSERT_EQ(r.document.Paragraphs().size(), 1u);
  const auto& runs = r.document.Paragraphs()[0].runs;
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[1].text, QStringLiteral("да "));
  EXPECT_EQ(runs[1].colour, kBlue);
  EXPECT_EQ(runs[2].text, QStringLiteral("ну"));
  EXPECT_EQ(runs[2].colour, kRed);
  EXPECT_TRUE(runs[2].style.bold) << "the occurrence keeps the phrase's style";
  EXPECT_EQ(runs[3].text, QStringLiteral(" его"));
}

TEST(Search, NothingFoundNamesTheKeyInRedAndTheWholeOption) {
  const SearchResult r = SearchTaskList(SmallList(), QStringLiteral("ЖУК"), true);
  ASSERT_EQ(r.document.Paragraphs().size(), 1u);
  const ProtocolParagraph& p = r.document.Paragraphs()[0];
  EXPECT_EQ(p.Text(), QStringLiteral("Нет фраз, содержащих \"ЖУК\" целиком"));
  EXPECT_EQ(p.align, Align::Centre);
  for (const ProtocolRun& run : p.runs) {
    EXPECT_TRUE(run.style.bold);
    EXPECT_EQ(run.colour, run.text == QStringLiteral("ЖУК") ? kRed : kBlack) << run.text.toStdString();
  }
}

TEST(Search, MixedAlphabetsInOneWord) {
  struct Row {
    const char* key;
    std::optional<const char*> mixed;
  };
  for (const Row& row : {Row{"ДA ", "ДA"},  // the second letter is Latin A
                         Row{"AД ", "AД"},
                         Row{"ДА НЕТ ", std::nullopt},
                         Row{"OK ", std::nullopt},
                         Row{"ДА-NO ", std::nullopt},  // the hyphen separates two clean words
                         Row{"ЁЖ Ёx ", "Ёx"}}) {
    SCOPED_TRACE(row.key);
    const std::optional<QString> got = FirstMixedWord(QString::fromUtf8(row.key));
    ASSERT_EQ(got.has_value(), row.mixed.has_value());
    if (got) {
      EXPECT_EQ(*got, QString::fromUtf8(*row.mixed));
    }
  }
}

}  // namespace
}  // namespace zv
