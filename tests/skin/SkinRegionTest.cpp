#include "skin/SkinRegion.h"
#include "support/RowName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace zv {
namespace {

// A bitmap drawn as text, one string per row: 'k' is the key colour, any other letter a
// colour of its own. Rows are padded to four bytes, and the padding holds non-key bytes, so a
// builder that reads past the row's width would see pixels that do not exist.
struct TextBitmap {
  explicit TextBitmap(const std::vector<std::string>& rows, int width = -1) {
    view.height = static_cast<int>(rows.size());
    view.width = width >= 0 ? width : (rows.empty() ? 0 : static_cast<int>(rows[0].size()));
    view.bytesPerLine = (3 * view.width + 3) / 4 * 4 + 4;
    bytes.assign(static_cast<std::size_t>(view.bytesPerLine) * std::max(view.height, 1), 0x77);
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) {
        std::uint8_t* p = &bytes[static_cast<std::size_t>(y) * view.bytesPerLine + 3 * x];
        const char c = rows[y][x];
        if (c == 'k') {
          p[0] = kSkinKeyColor.red, p[1] = kSkinKeyColor.green, p[2] = kSkinKeyColor.blue;
        } else {
          // Colours next to the key colour, so a builder comparing one channel only would fail.
          p[0] = 2, p[1] = 4, p[2] = static_cast<std::uint8_t>(c);
        }
      }
    view.bits = bytes.data();
  }
  std::vector<std::uint8_t> bytes;
  BitmapView view;
};

struct RegionCase {
  const char* name;
  std::vector<std::string> rows;
  std::vector<RegionSpan> spans;
};

class SkinRegionTable : public ::testing::TestWithParam<RegionCase> {};

TEST_P(SkinRegionTable, KeyRunsAreLeftOut) {
  const TextBitmap bitmap(GetParam().rows);
  EXPECT_EQ(BuildSkinRegion(bitmap.view), GetParam().spans);
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, SkinRegionTable,
    ::testing::Values(RegionCase{"noKeyColourKeepsWholeRows", {"abc", "aaa"}, {{0, 0, 3}, {0, 1, 3}}},
                      RegionCase{"fullyKeyRowIsMissing", {"aaa", "kkk", "aba"}, {{0, 0, 3}, {0, 2, 3}}},
                      RegionCase{"keyRunAtRightEdgeIsRemoved", {"aakk", "abbk"}, {{0, 0, 2}, {0, 1, 3}}},
                      RegionCase{"runEndingAtRightEdgeIsKept", {"kkab", "kbbb"}, {{2, 0, 2}, {1, 1, 3}}},
                      RegionCase{"keyRunsInsideSplitTheRow", {"akbkkc"}, {{0, 0, 1}, {2, 0, 1}, {5, 0, 1}}},
                      RegionCase{"singleKeyPixelCorners", {"kaak", "aaaa", "kaak"}, {{1, 0, 2}, {0, 1, 4}, {1, 2, 2}}},
                      RegionCase{"neighbouringColoursJoinOneSpan", {"abcd"}, {{0, 0, 4}}},
                      RegionCase{"allKeyGivesNothing", {"kkk", "kkk"}, {}}),
    zv::test::RowName{});

TEST(SkinRegion, EmptyBitmapsGiveTheEmptyRegion) {
  EXPECT_TRUE(BuildSkinRegion(TextBitmap({}, 0).view).empty()) << "0 x 0";
  EXPECT_TRUE(BuildSkinRegion(TextBitmap({"", ""}, 0).view).empty()) << "width 0";
  TextBitmap noRows({"ab"});
  noRows.view.height = 0;
  EXPECT_TRUE(BuildSkinRegion(noRows.view).empty()) << "height 0";
  EXPECT_TRUE(BuildSkinRegion(BitmapView{4, 4, 12, nullptr}).empty()) << "no pixels";
}

TEST(SkinRegion, OtherKeyColourIsHonoured) {
  const TextBitmap bitmap({"abk"});
  EXPECT_EQ(BuildSkinRegion(bitmap.view, Rgb24{2, 4, 'a'}), (std::vector<RegionSpan>{{1, 0, 2}}));
}

// The progress display steps once per 128 rows while the shape is built, each step right
// after its rows: the main window's skin (468 rows) gives 3 steps, which with the other
// start-up steps fill the bar to exactly its maximum of 35 once the sound packages step too.
struct StepCase {
  const char* name;
  int height;
  std::vector<int> rowsAtEachStep;
};
void PrintTo(const StepCase& row, std::ostream* os) { *os << row.name; }

class SkinRegionSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(SkinRegionSteps, OneStepPerBlockOf128Rows) {
  const StepCase row = GetParam();
  TextBitmap bitmap(std::vector<std::string>(static_cast<std::size_t>(row.height), "kab"));
  // Each step turns the row after its block into key colour: a builder that steps only at
  // the end (or ahead of its rows) keeps that row in the shape.
  std::vector<int> steps;
  const std::vector<RegionSpan> spans = BuildSkinRegion(bitmap.view, kSkinKeyColor, [&] {
    const int next = static_cast<int>(steps.size() + 1) * kSkinRegionRowsPerStep;
    steps.push_back(next);
    if (next < row.height)
      for (int x = 0; x < 3; ++x) {
        std::uint8_t* p = &bitmap.bytes[static_cast<std::size_t>(next) * bitmap.view.bytesPerLine + 3 * x];
        p[0] = kSkinKeyColor.red, p[1] = kSkinKeyColor.green, p[2] = kSkinKeyColor.blue;
      }
  });
  EXPECT_EQ(steps, row.rowsAtEachStep);
  std::vector<int> missing;
  for (int y = 0, i = 0; y < row.height; ++y) {
    if (i < static_cast<int>(spans.size()) && spans[static_cast<std::size_t>(i)].y == y)
      ++i;
    else
      missing.push_back(y);
  }
  std::vector<int> blanked;
  for (int y : row.rowsAtEachStep)
    if (y < row.height) blanked.push_back(y);
  EXPECT_EQ(missing, blanked) << "a step did not come right after its rows";
}

INSTANTIATE_TEST_SUITE_P(Heights, SkinRegionSteps,
                         ::testing::Values(StepCase{"shortSkinNoStep", 127, {}}, StepCase{"oneFullBlock", 128, {128}},
                                           StepCase{"partialBlockAtTheBottomNoStep", 255, {128}},
                                           StepCase{"mainWindowSkinThreeSteps", 468, {128, 256, 384}}),
                         zv::test::RowName{});

}  // namespace
}  // namespace zv
