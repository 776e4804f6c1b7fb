#include "platform/Cp1251.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TaskCatalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace zv {
namespace {

// The generated content as the program sees it: every written task loads with 3..5
// interpretations, the text ends where the compiler said, and the display order is whole.
TEST(BuiltinContent, EveryWrittenTaskLoads) {
  const TaskCatalogue catalogue(content::TaskText(), content::SayingsText());
  TaskRecord r;
  int written = 0;
  for (int index = 1; index <= 1500; ++index) {
    const int n = catalogue.LoadTask(index, r);
    if (n == 0) continue;
    ++written;
    ASSERT_GE(n, 3) << index;
    ASSERT_LE(n, 5) << index;
    for (int k = 0; k <= n; ++k) {
      const QString piece = cp1251::Decode(r.Slots[static_cast<std::size_t>(k)]);
      ASSERT_FALSE(piece.isEmpty()) << index;
      ASSERT_FALSE(piece.contains(QChar(0xFFFD))) << index;
    }
  }
  EXPECT_GE(written, 100);
  EXPECT_EQ(catalogue.LoadTask(1501, r), 0);
  EXPECT_GE(catalogue.CountSayings(), 150);
}

TEST(BuiltinContent, DisplayOrderIsAPermutationStartingWithTheFixedTen) {
  const auto order = content::DisplayOrder();
  const std::vector<int> head(order.begin(), order.begin() + 10);
  EXPECT_EQ(head, (std::vector<int>{701, 101, 102, 26, 601, 501, 337, 502, 1, 2}));
  std::set<int> all(order.begin(), order.end());
  EXPECT_EQ(all.size(), 1500u);
  EXPECT_EQ(*all.begin(), 1);
  EXPECT_EQ(*all.rbegin(), 1500);
}

}  // namespace
}  // namespace zv
