#include "shell/ProgressSteps.h"
#include "shell/TrainerState.h"

#include "ShellFixture.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <functional>
#include <vector>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

constexpr int kSayings = 170;

// Records what the progress window was asked to do, in order.
class RecordedProgress final : public ProgressSteps {
 public:
  void SetCaption(const QString& caption) override { Events.push_back(caption); }
  void Step() override { Events.push_back(u"step"_s); }
  std::vector<QString> Events;
};

QByteArray bits(int size, std::initializer_list<int> items) {
  QByteArray bytes(size, '\0');
  for (int k : items) bytes[(k - 1) / 8] = char(bytes[(k - 1) / 8] | (1 << ((k - 1) % 8)));
  return bytes;
}

void binary(Registry& r, const QString& name, const QByteArray& bytes) {
  r.WriteBinaryData(name, bytes.constData(), int(bytes.size()));
}

struct RestoreRow {
  const char* name;
  std::function<void(Registry&)> store;
  bool loadingCaption;  // "Загрузка заданий:" shown (HeartP taken)
  int sayingsUsed;
  int remarksUsed;
  int tasksUsed;
  int tasksDone;
};

class RestoreSelectors : public ::testing::TestWithParam<RestoreRow> {};

TEST_P(RestoreSelectors, TakesWhatTheSizeRuleAdmits) {
  const RestoreRow& row = GetParam();
  QTemporaryDir dir;
  SystemInfo info = test::StartTestSystem(dir, u"ru_RU.UTF-8"_s);
  if (row.store) test::WithSettingsKey(dir, row.store);

  TrainerState state;
  RecordedProgress progress;
  RestoreStartUpSelectors(info, state, kSayings, progress);

  ASSERT_TRUE(state.Sayings && state.Remarks && state.Tasks);
  EXPECT_EQ(state.Sayings->Count, kSayings);
  EXPECT_EQ(state.Remarks->Count, 18);
  EXPECT_EQ(state.Remarks->Recent.size(), 5u);
  EXPECT_EQ(state.Tasks->Count, 1500);
  EXPECT_TRUE(state.Tasks->TracksDone);
  EXPECT_EQ(state.Tasks->Recent.size(), 50u);

  EXPECT_EQ(state.Sayings->CountUsed(), row.sayingsUsed);
  EXPECT_EQ(state.Remarks->CountUsed(), row.remarksUsed);
  EXPECT_EQ(state.Tasks->CountUsed(), row.tasksUsed);
  EXPECT_EQ(state.Tasks->DoneCount, row.tasksDone);

  std::vector<QString> expected;
  if (row.loadingCaption) expected = {u"Загрузка заданий:"_s, u"step"_s};
  expected.insert(expected.end(), {u"step"_s, u"step"_s});
  EXPECT_EQ(progress.Events, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RestoreSelectors,
    ::testing::Values(
        RestoreRow{"FirstRunAllFreshOneStepFewer", nullptr, false, 0, 0, 0, 0},
        RestoreRow{"SayingsTakenShowLoadingCaption",
                   [](Registry& r) {
                     binary(r, u"HeartP"_s, bits(24, {1, 3, 170}));
                   },
                   true,
                   3,
                   0,
                   0,
                   0},
        RestoreRow{
            "EmptySayingsValueIgnored", [](Registry& r) { binary(r, u"HeartP"_s, QByteArray()); }, false, 0, 0, 0, 0},
        RestoreRow{"RemarksTaken",
                   [](Registry& r) {
                     binary(r, u"HeartRC"_s, bits(4, {2, 18}));
                   },
                   false,
                   0,
                   2,
                   0,
                   0},
        RestoreRow{"Heart189BytesIgnoredDoneHeartStillTaken",
                   [](Registry& r) {
                     binary(r, u"Heart"_s, QByteArray(189, '\xFF'));
                     binary(r, u"DoneHeart"_s, bits(188, {5, 1500}));
                   },
                   false,
                   0,
                   0,
                   0,
                   2},
        RestoreRow{"Heart188BytesFullyTaken",
                   [](Registry& r) { binary(r, u"Heart"_s, QByteArray(188, '\xFF')); },
                   false,
                   0,
                   0,
                   1500,
                   0},
        RestoreRow{"HeartOfWrongTypeLeavesTasksFresh",
                   [](Registry& r) {
                     r.WriteInteger(u"Heart"_s, -1);
                     binary(r, u"DoneHeart"_s, bits(8, {1}));
                   },
                   false,
                   0,
                   0,
                   0,
                   1},
        RestoreRow{"BadSayingsValueDoesNotStopTheOthers",
                   [](Registry& r) {
                     r.WriteString(u"HeartP"_s, u"garbage"_s);
                     binary(r, u"HeartRC"_s, bits(4, {1}));
                     binary(r, u"Heart"_s, bits(4, {7}));
                   },
                   false,
                   0,
                   1,
                   1,
                   0}),
    zv::test::RowName{});

// A shorter stored state marks only the items its bytes cover: 100 bytes are items 1..800.
TEST(RestoreSelectors, ShortHeartMarksOnlyItsItems) {
  QTemporaryDir dir;
  SystemInfo info = test::StartTestSystem(dir, u"ru_RU.UTF-8"_s);
  test::WithSettingsKey(dir, [](Registry& r) { binary(r, u"Heart"_s, QByteArray(100, '\xFF')); });
  TrainerState state;
  RecordedProgress progress;
  RestoreStartUpSelectors(info, state, kSayings, progress);
  EXPECT_EQ(state.Tasks->CountUsed(), 800);
  EXPECT_TRUE(state.Tasks->IsUsed(800));
  EXPECT_FALSE(state.Tasks->IsUsed(801));
  EXPECT_FALSE(state.Tasks->IsUsed(1500));
  // The tail bits past item 1500 are set again, so they never look free to a draw.
  EXPECT_EQ(state.Tasks->Used.back() >> 28, 0xFu);
}

// The names reach the system information, from which the settings key and the messages read
// them.
TEST(ProgramValues, PublishedToSystemInfo) {
  QTemporaryDir dir;
  SystemInfo info = test::StartTestSystem(dir, u"ru_RU.UTF-8"_s);
  info.ShortName.clear();
  info.CyrillicName.clear();
  const TrainerState state;
  PublishProgramValues(state, info);
  EXPECT_EQ(info.ShortName, u"Zorvik"_s);
  EXPECT_EQ(info.CyrillicName, u"Зорвик"_s);
  EXPECT_EQ(info.LatinName, u"Zorvik"_s);
  EXPECT_EQ(info.VersionLabel, u"1500"_s);
  EXPECT_EQ(info.BuildNumber, 15000);
  EXPECT_EQ(state.TaskCount, 1500);
}

}  // namespace
}  // namespace zv
