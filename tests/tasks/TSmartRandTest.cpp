#include "platform/MessageBox.h"
#include "support/ScriptedRandom.h"
#include "tasks/TSmartRand.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QList>

#include <set>

namespace zv {
namespace {

using test::ScriptedRandom;

struct Geometry {
  const char* name;
  int n;
  int words;
  int tailBits;
};

class SelectorGeometry : public ::testing::TestWithParam<Geometry> {};

// The stored size and the tail bits decide whether a stored state is accepted at all, and a
// wrong CountUsed shows wrong progress to the user.
TEST_P(SelectorGeometry, WordsTailBitsAndFreshState) {
  const Geometry g = GetParam();
  ClockSeededRandom random(1);
  TSmartRand s(g.n, true, 0, random);
  EXPECT_EQ(s.Words, g.words);
  EXPECT_EQ(s.TailBits, g.tailBits);
  EXPECT_EQ(s.CountUsed(), 0);
  EXPECT_EQ(s.UsedBytes().size(), 4 * g.words);
  EXPECT_EQ(s.UsedBytes(), QByteArray(4 * g.words, '\0')) << "tail bits leaked into the stored state";
  const TSmartRand::Word tail = g.tailBits ? ~TSmartRand::Word(0) << g.tailBits : 0;
  EXPECT_EQ(s.Used.back(), tail) << "tail bits not set in memory";
  for (int k = 1; k <= g.n; ++k) ASSERT_FALSE(s.IsUsed(k)) << k;
}

INSTANTIATE_TEST_SUITE_P(Instances, SelectorGeometry,
                         ::testing::Values(Geometry{"tasks", 1500, 47, 28}, Geometry{"remarks", 18, 1, 18},
                                           Geometry{"oneFullWord", 32, 1, 0}, Geometry{"oneBitOver", 33, 2, 1},
                                           Geometry{"okPhrases", 13, 1, 13}, Geometry{"rightPhrases", 111, 4, 15},
                                           Geometry{"wrongPhrases", 144, 5, 16}, Geometry{"timeoutPhrases", 40, 2, 8}),
                         zv::test::RowName{});

TEST(TSmartRand, DrawNewTakesTheScriptedWordAndBitAndRemembersRecent) {
  // Word 1, then bit 5 is tried after the used bit 3: item 32 + 5 + 1.
  ScriptedRandom random{1, 3};
  TSmartRand s(64, false, 2, random);
  EXPECT_EQ(s.DrawNew(), 36);
  random.Push({1, 3, 5});
  EXPECT_EQ(s.DrawNew(), 38);
  EXPECT_EQ(s.Last, 38);
  EXPECT_EQ(s.Recent, (std::vector<int>{36, 38}));
  EXPECT_EQ(s.RecentPos, 0) << "the ring must wrap after its last slot";
  EXPECT_EQ(s.CountUsed(), 2);
}

TEST(TSmartRand, DrawingEveryItemGivesEachOnceThenStartsAgain) {
  ClockSeededRandom random(7);
  TSmartRand s(18, false, 5, random);
  std::set<int> seen;
  for (int i = 0; i < 18; ++i) seen.insert(s.DrawNew());
  EXPECT_EQ(seen.size(), 18u);
  EXPECT_EQ(*seen.begin(), 1);
  EXPECT_EQ(*seen.rbegin(), 18);
  EXPECT_FALSE(s.Wrapped);
  const int again = s.DrawNew();
  EXPECT_TRUE(s.Wrapped);
  EXPECT_GE(again, 1);
  EXPECT_LE(again, 18);
  EXPECT_EQ(s.CountUsed(), 1) << "starting again forgets everything but the new draw";
}

TEST(TSmartRand, ExhaustionIsStatisticalAndClearsDone) {
  // 64 items, all used but item 64; word 0 is full. 8 x 2 - 1 picks of the full word are
  // tolerated; the next countdown step starts again even though item 64 is still free.
  ScriptedRandom random;
  TSmartRand s(64, true, 0, random);
  for (int k = 1; k < 64; ++k) s.MarkUsed(k);
  s.Last = 5;
  s.MarkDone();
  ASSERT_EQ(s.DoneCount, 1);
  for (int i = 0; i < 15; ++i) random.Push(0);
  random.Push({0, 9});  // after starting again: word 0 is free now, bit 9
  EXPECT_EQ(s.DrawNew(), 10);
  EXPECT_TRUE(s.Wrapped);
  EXPECT_EQ(s.DoneCount, 0);
  EXPECT_FALSE(s.IsDone(5));
  EXPECT_EQ(s.CountUsed(), 1);
  EXPECT_TRUE(random.Exhausted());
}

TEST(TSmartRand, FourteenFullPicksDoNotStartAgain) {
  ScriptedRandom random;
  TSmartRand s(64, false, 0, random);
  for (int k = 1; k < 64; ++k) s.MarkUsed(k);
  for (int i = 0; i < 14; ++i) random.Push(0);
  random.Push({1, 31});
  EXPECT_EQ(s.DrawNew(), 64);
  EXPECT_FALSE(s.Wrapped);
}

TEST(TSmartRand, ResetKeepsRecentUnlessFull) {
  ClockSeededRandom random(3);
  TSmartRand s(100, true, 3, random);
  std::vector<int> drawn;
  for (int i = 0; i < 5; ++i) drawn.push_back(s.DrawNew());
  s.Wrapped = true;
  s.Reset(false);
  EXPECT_EQ(s.CountUsed(), 3) << "the last three draws stay used";
  for (int i = 2; i < 5; ++i) EXPECT_TRUE(s.IsUsed(drawn[static_cast<std::size_t>(i)]));
  EXPECT_TRUE(s.Wrapped);
  s.Reset(true);
  EXPECT_EQ(s.CountUsed(), 0);
  EXPECT_FALSE(s.Wrapped);
}

TEST(TSmartRand, DrawUsedOffersUsedNotDoneItemsOncePerRebuild) {
  ClockSeededRandom random(11);
  TSmartRand s(1500, true, 50, random);
  for (int k : {3, 7, 900, 1500}) s.MarkUsed(k);
  s.Last = 7;
  s.MarkDone();
  std::multiset<int> drawn;
  for (int i = 0; i < 3; ++i) drawn.insert(s.DrawUsed());
  EXPECT_EQ(drawn, (std::multiset<int>{3, 900, 1500}));
  // The candidates are used up: the next draw rebuilds them from Used minus Done.
  const int next = s.DrawUsed();
  EXPECT_TRUE(next == 3 || next == 900 || next == 1500) << next;
  EXPECT_EQ(s.CountUsed(), 4) << "DrawUsed must not touch Used";
  // A new draw makes the candidates stale; the new item becomes a candidate.
  const int fresh = s.DrawNew();
  std::set<int> after;
  for (int i = 0; i < 4; ++i) after.insert(s.DrawUsed());
  EXPECT_EQ(after, (std::set<int>{3, 900, 1500, fresh}));
}

TEST(TSmartRand, DrawUsedWithNothingLeftShowsTheFailureAndAnswersOne) {
  MessageBoxHook boxes;
  ClockSeededRandom random(5);
  TSmartRand s(1500, true, 50, random);
  for (int k : {40, 41}) {
    s.MarkUsed(k);
    s.Last = k;
    s.MarkDone();
  }
  EXPECT_EQ(s.DrawUsed(), 1);
  EXPECT_EQ(s.Last, 1);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8("Ошибка программы.\r\nНормальная работа не гарантируется."));
  EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("TSmartRand"));
  EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Warning);
  EXPECT_TRUE(boxes.shown()[0].russian);
}

TEST(TSmartRand, BadSizeShowsTheBoxAndDrawsNothing) {
  MessageBoxHook boxes;
  ClockSeededRandom random(5);
  TSmartRand empty(0, true, 0, random);
  TSmartRand negativeWindow(10, false, -1, random);
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("index<=0"));
  EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("SmartRand"));
  EXPECT_EQ(empty.Words, 0);
  EXPECT_EQ(empty.DrawNew(), 0) << "an empty selector must not loop or read past its words";
  EXPECT_GE(negativeWindow.DrawNew(), 1);
}

TEST(TSmartRand, UnmarkAndMarkDoneCounting) {
  ClockSeededRandom random(9);
  TSmartRand s(1500, true, 50, random);
  const int k = s.DrawNew();
  s.DrawNew();
  ASSERT_EQ(s.CountUsed(), 2);
  s.Unmark(k);
  EXPECT_EQ(s.CountUsed(), 1);
  EXPECT_FALSE(s.IsUsed(k));
  s.MarkUsed(k);
  s.Last = k;
  s.MarkDone();
  s.MarkDone();
  EXPECT_EQ(s.DoneCount, 1) << "the same item marked twice counts once";
}

TEST(TSmartRand, WriteUsedHexIsTheRegistryExportForm) {
  ClockSeededRandom random(1);
  TSmartRand s(1500, true, 50, random);
  s.MarkUsed(1);     // word 0 = 01 00 00 00
  s.MarkUsed(1500);  // word 46, bit 27 = 00 00 00 08
  QByteArray out;
  s.WriteUsedHex(out);
  ASSERT_TRUE(out.startsWith("=hex:01,00,00,00,"));
  ASSERT_TRUE(out.endsWith(",00,00,00,08\r\n")) << "tail bits must be clear, no trailing comma";
  QByteArray body = out.mid(5);
  body.replace("\\\r\n", "");
  body.chop(2);
  EXPECT_EQ(body.split(',').size(), 188);
  EXPECT_EQ(out.count("\\\r\n"), 5);
  // A continuation follows the comma after words 8, 16, 24, 32 and 40.
  const QList<QByteArray> lines = out.split('\n');
  ASSERT_EQ(lines.size(), 7);  // 6 lines and the empty rest after the final CR LF
  EXPECT_EQ(lines[0].size(), QByteArray("=hex:").size() + 8 * 12 + 2);
  EXPECT_EQ(lines[1].size(), 8 * 12 + 2);
  EXPECT_EQ(s.Used.back() >> 28, 0xFu) << "tail bits must be set again after writing";
}

TEST(TSmartRand, ShorterStoredStateFillsOnlyItsBytes) {
  ClockSeededRandom random(1);
  TSmartRand s(1500, true, 50, random);
  s.LoadUsedBytes(QByteArray(100, '\xFF'));
  EXPECT_EQ(s.CountUsed(), 800);
  EXPECT_TRUE(s.IsUsed(800));
  EXPECT_FALSE(s.IsUsed(801));
  EXPECT_EQ(s.Used.back() >> 28, 0xFu);
  // A done set with bits beyond item 1500 (a foreign value) only counts real items.
  s.LoadDoneBytes(QByteArray(188, '\xFF'));
  s.CountDone();
  EXPECT_EQ(s.DoneCount, 1500);
}

}  // namespace
}  // namespace zv
