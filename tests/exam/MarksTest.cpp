#include "exam/ElapsedTime.h"
#include "exam/Marks.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <array>
#include <string>

namespace zv {
namespace {

struct Thresholds {
  int total;
  std::array<int, 5> leastRightFor;  // marks 1..5
};

class MarkThresholds : public ::testing::TestWithParam<Thresholds> {};

// Every mark boundary of the usual exam lengths: one right answer less gives the mark below.
TEST_P(MarkThresholds, LeastRightAnswersForEachMark) {
  const auto [n, least] = GetParam();
  for (int mark = 1; mark <= 5; ++mark) {
    EXPECT_EQ(ComputeMark(least[mark - 1], n), mark) << n << " tasks, " << least[mark - 1] << " right";
    EXPECT_EQ(ComputeMark(least[mark - 1] - 1, n), mark - 1) << n << " tasks, " << least[mark - 1] - 1 << " right";
  }
  EXPECT_EQ(ComputeMark(0, n), 0);
  EXPECT_EQ(ComputeMark(n, n), 5);
}

INSTANTIATE_TEST_SUITE_P(Lengths, MarkThresholds,
                         ::testing::Values(Thresholds{5, {1, 2, 3, 4, 5}}, Thresholds{10, {1, 3, 5, 7, 9}},
                                           Thresholds{20, {2, 6, 10, 14, 18}}, Thresholds{25, {3, 7, 13, 17, 23}},
                                           Thresholds{30, {3, 9, 15, 21, 27}}, Thresholds{50, {5, 14, 25, 34, 45}}),
                         [](const auto& row) { return "tasks" + std::to_string(row.param.total); });

TEST(ComputeMark, ExactHalvesGoToTheEvenNeighbour) {
  struct Row {
    int right, total, mark;
  };
  for (const Row r : {Row{2, 25, 0},
                      Row{12, 25, 2},
                      Row{22, 25, 4},
                      Row{7, 25, 2},
                      Row{17, 25, 4},
                      Row{4, 50, 0},
                      Row{24, 50, 2},
                      Row{44, 50, 4},
                      Row{14, 50, 2},
                      Row{34, 50, 4}}) {
    EXPECT_EQ(ComputeMark(r.right, r.total), r.mark) << r.right << "/" << r.total;
  }
}

struct Elapsed {
  const char* name;
  std::uint32_t ms;
  const char* text;
};
class ElapsedText : public ::testing::TestWithParam<Elapsed> {};

TEST_P(ElapsedText, Formats) {
  EXPECT_EQ(FormatElapsed(GetParam().ms, QLatin1Char(',')), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Examples, ElapsedText,
                         ::testing::Values(Elapsed{"tenthsUnderTenSeconds", 3400, "3,4 с"}, Elapsed{"zero", 0, "0,0 с"},
                                           Elapsed{"justUnderTen", 9999, "9,9 с"},
                                           Elapsed{"wholeSeconds", 15000, "15 с"}, Elapsed{"tenSeconds", 10000, "10 с"},
                                           Elapsed{"minutes", 75000, "1 м 15 с"},
                                           Elapsed{"minuteAndFewSeconds", 63000, "1 м 03 с"},
                                           Elapsed{"hours", 3725000, "1 ч 02 м 05 с"},
                                           Elapsed{"exactHour", 3600000, "1 ч 00 м 00 с"},
                                           Elapsed{"hourAndSeconds", 3605000, "1 ч 00 м 05 с"}),
                         zv::test::RowName{});

TEST(FormatElapsed, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(FormatElapsed(3400, QLatin1Char('.')), QString::fromUtf8("3.4 с"));
}

}  // namespace
}  // namespace zv
