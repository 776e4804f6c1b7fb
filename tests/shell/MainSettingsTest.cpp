#include "platform/Registry.h"
#include "shell/MainSettings.h"
#include "tasks/SelectorStore.h"
#include "tasks/TSmartRand.h"

#include <QTemporaryDir>

#include <climits>

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

class SettingsStore : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  Registry reg{RegistryPaths::inOneFolder(dir.path())};
  ClockSeededRandom random{3};
  TSmartRand tasks{1500, true, 50, random};
  TSmartRand sayings{170, false, 0, random};
  TSmartRand remarks{18, false, 5, random};

  // Runs `write` inside the program key, as an earlier run (or a hostile hand) left it.
  template <typename F>
  void Stored(F write) {
    reg.SetRootKey(RootKey::CurrentUser);
    reg.OpenKey(kProgramKey, true);
    write(reg);
    reg.CloseKey();
  }
  MainSettings Read(ScreenSpace space = {QSize(1920, 1080), {}, QSize(640, 480)}) {
    MainSettings s;
    s.firstDate = 46365.25;  // "now"
    ReadMainSettings(reg, s, space);
    return s;
  }
  RegType TypeOf(const char* name) {
    reg.SetRootKey(RootKey::CurrentUser);
    reg.OpenKey(kProgramKey, false);
    const RegType t = reg.GetDataType(QString::fromLatin1(name));
    reg.CloseKey();
    return t;
  }
};

TEST_F(SettingsStore, FirstRunWritesEveryValueWithItsType) {
  MainSettings s = Read();
  EXPECT_FALSE(s.left.has_value());
  EXPECT_EQ(s.firstDate, 46365.25);
  EXPECT_EQ(s.askFont.size, 14);
  EXPECT_TRUE(s.askFont.bold);
  s.left = 308;
  s.top = 126;
  s.volumeShown = true;
  tasks.DrawNew();
  WriteMainSettings(reg, s, tasks, sayings, remarks);
  for (const char* dword : {"MainFormLeft",
                            "MainFormTop",
                            "RCount",
                            "TicTac",
                            "Sound",
                            "ToTL",
                            "TimeLimit",
                            "Tasks",
                            "ViewIndex",
                            "AskFontSize",
                            "AskFontBold",
                            "AskFontItalic",
                            "AnsFontSize",
                            "AnsFontBold",
                            "AnsFontItalic",
                            "Volume"})
    EXPECT_EQ(TypeOf(dword), RegType::DWord) << dword;
  for (const char* binary : {"FirstDate", "Heart", "DoneHeart", "HeartP", "HeartRC"})
    EXPECT_EQ(TypeOf(binary), RegType::Binary) << binary;
  EXPECT_EQ(TypeOf("AskFont"), RegType::String);
  reg.SetRootKey(RootKey::CurrentUser);
  reg.OpenKey(kProgramKey, false);
  EXPECT_EQ(reg.GetDataSize(QStringLiteral("Heart")), 188);
  EXPECT_EQ(reg.GetDataSize(QStringLiteral("DoneHeart")), 188);
  EXPECT_EQ(reg.GetDataSize(QStringLiteral("HeartRC")), 4);
  EXPECT_EQ(reg.ReadDateTime(QStringLiteral("FirstDate")), 46365.25);
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("TimeLimit")), 15);
  reg.CloseKey();
}

TEST_F(SettingsStore, ValuesComeBackAfterARestart) {
  MainSettings s = Read();
  s.left = 40;
  s.top = 50;
  s.viewIndex = 2;
  s.firstDate = 45000.5;
  s.rCount = 321;
  s.toTL = true;
  s.sound = false;
  s.ticTac = false;
  s.timeLimit = 27;
  s.tasksIndex = 33;
  s.volume = 91;
  s.volumeShown = true;
  s.askFont = {QStringLiteral("Liberation Serif"), 17, false, true};
  s.ansFont = {QStringLiteral("Liberation Mono"), 11, true, true};
  WriteMainSettings(reg, s, tasks, sayings, remarks);
  const MainSettings back = Read();
  EXPECT_EQ(back.left, 40);
  EXPECT_EQ(back.top, 50);
  EXPECT_EQ(back.viewIndex, 2);
  EXPECT_EQ(back.firstDate, 45000.5);
  EXPECT_EQ(back.rCount, 321);
  EXPECT_TRUE(back.toTL);
  EXPECT_FALSE(back.sound);
  EXPECT_FALSE(back.ticTac);
  EXPECT_EQ(back.timeLimit, 27);
  EXPECT_EQ(back.timeLimitIndex, 22);
  EXPECT_EQ(back.tasksIndex, 33);
  EXPECT_EQ(back.volume, 91);
  EXPECT_EQ(back.askFont.name, QStringLiteral("Liberation Serif"));
  EXPECT_EQ(back.askFont.size, 17);
  EXPECT_FALSE(back.askFont.bold);
  EXPECT_TRUE(back.askFont.italic);
  EXPECT_TRUE(back.ansFont.bold && back.ansFont.italic);
}

TEST_F(SettingsStore, EdgesTooCloseToTheScreenBorderAreIgnored) {
  Stored([](Registry& r) {
    r.WriteInteger(QStringLiteral("MainFormLeft"), 1920 - 32);
    r.WriteInteger(QStringLiteral("MainFormTop"), 1080 - 33);
  });
  const MainSettings s = Read();
  EXPECT_FALSE(s.left.has_value());
  EXPECT_EQ(s.top, 1080 - 33);
}

// Stored edges as a hostile or stale hive may hold them, on both axes: the window must never be
// put where the learner cannot reach it (it has no title bar), and no edge may overflow.
struct StoredEdge {
  const char* name;
  qint64 edge;  // relative to the screen's far side when `fromFarSide`
  bool fromFarSide;
  bool taken;
  friend void PrintTo(const StoredEdge& e, std::ostream* os) { *os << e.name; }
};
class StoredEdgeRule : public SettingsStore, public ::testing::WithParamInterface<StoredEdge> {};

TEST_P(StoredEdgeRule, BothAxes) {
  const ScreenSpace space{QSize(1920, 1080), {}, QSize(480, 480)};
  const StoredEdge& e = GetParam();
  const auto value = [&](int extent) { return static_cast<int>(e.fromFarSide ? extent + e.edge : e.edge); };
  Stored([&](Registry& r) {
    r.WriteInteger(QStringLiteral("MainFormLeft"), value(1920));
    r.WriteInteger(QStringLiteral("MainFormTop"), value(1080));
  });
  const MainSettings s = Read(space);
  EXPECT_EQ(s.left.has_value(), e.taken);
  EXPECT_EQ(s.top.has_value(), e.taken);
  if (e.taken) {
    EXPECT_EQ(s.left, value(1920));
    EXPECT_EQ(s.top, value(1080));
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, StoredEdgeRule,
                         ::testing::Values(StoredEdge{"intMin", INT_MIN, false, false},
                                           StoredEdge{"minusOne", -1, false, true}, StoredEdge{"zero", 0, false, true},
                                           StoredEdge{"intMax", INT_MAX, false, false},
                                           StoredEdge{"extentLess32", -32, true, false},
                                           StoredEdge{"extentLess33", -33, true, true},
                                           // Off the near side: 32 pixels of the 480 x 480 window must stay on screen.
                                           StoredEdge{"nearSide32Shown", -448, false, true},
                                           StoredEdge{"nearSide31Shown", -449, false, false},
                                           StoredEdge{"farOffTheNearSide", -100000, false, false}),
                         zv::test::RowName{});

TEST(StoredEdge, ASecondScreenCountsAndTheWindowsWidthToo) {
  ScreenSpace space{QSize(1920, 1080), {QRect(-1280, 0, 1280, 1024), QRect(0, 0, 1920, 1080)}, QSize(640, 480)};
  EXPECT_TRUE(StoredEdgeFits(space, Qt::Horizontal, -1000)) << "on the screen to the left";
  EXPECT_FALSE(StoredEdgeFits(space, Qt::Horizontal, -1900));
  EXPECT_TRUE(StoredEdgeFits(space, Qt::Horizontal, -1888)) << "32 pixels on the left screen";
  EXPECT_FALSE(StoredEdgeFits(space, Qt::Vertical, 1100)) << "below both screens";
}

TEST_F(SettingsStore, HostileStyleFlagsLeaveTheStyle) {
  for (const auto& [bold, italic] : {std::pair{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {1, INT_MAX}, {INT_MIN, 1}}) {
    Stored([&](Registry& r) {
      r.WriteInteger(QStringLiteral("AskFontBold"), bold);
      r.WriteInteger(QStringLiteral("AskFontItalic"), italic);
    });
    const MainSettings s = Read();
    EXPECT_TRUE(s.askFont.bold) << bold << " " << italic;
    EXPECT_FALSE(s.askFont.italic) << bold << " " << italic;
  }
}

TEST_F(SettingsStore, NoSoundFilesMarkerResetsThePresentationOnce) {
  Stored([](Registry& r) {
    r.WriteInteger(QStringLiteral("ViewIndex"), 2);
    r.WriteBool(QStringLiteral("NoSoundFiles"), true);
  });
  EXPECT_EQ(Read().viewIndex, 0);
  EXPECT_EQ(TypeOf("NoSoundFiles"), RegType::None) << "the marker is consumed";
  EXPECT_EQ(Read().viewIndex, 2);
}

TEST_F(SettingsStore, StyleNeedsBothFlagsAndUnderlineKeepsTheStoredPair) {
  Stored([](Registry& r) { r.WriteBool(QStringLiteral("AskFontBold"), false); });
  EXPECT_TRUE(Read().askFont.bold) << "one flag alone leaves the designed style";
  MainSettings s = Read();
  s.askFont = {QStringLiteral("Arial"), 14, false, true};
  WriteMainSettings(reg, s, tasks, sayings, remarks);
  s.askFont = {QStringLiteral("Arial"), 14, true, false, true};  // bold underline
  WriteMainSettings(reg, s, tasks, sayings, remarks);
  const MainSettings back = Read();
  EXPECT_FALSE(back.askFont.bold);
  EXPECT_TRUE(back.askFont.italic) << "the previous pair stays stored";
}

TEST_F(SettingsStore, AWrongTypeAbortsTheRestOfTheGroup) {
  Stored([](Registry& r) {
    r.WriteInteger(QStringLiteral("ViewIndex"), 2);
    r.WriteInteger(QStringLiteral("FirstDate"), 5);  // a DWORD where a date-time belongs
    r.WriteInteger(QStringLiteral("RCount"), 99);
    r.WriteBool(QStringLiteral("Sound"), false);
    r.WriteInteger(QStringLiteral("AskFontSize"), 20);
  });
  const MainSettings s = Read();
  EXPECT_EQ(s.viewIndex, 2) << "values before the bad one are taken";
  EXPECT_EQ(s.firstDate, 46365.25);
  EXPECT_EQ(s.rCount, 0);
  EXPECT_TRUE(s.sound);
  EXPECT_EQ(s.askFont.size, 14);
}

TEST_F(SettingsStore, AutoCheckupIntervalsAndVolumeWrittenOnlyWithSound) {
  Stored([](Registry& r) {
    r.WriteBool(QStringLiteral("AutoCheckup"), true);
    r.WriteInteger(QStringLiteral("AutoCheckupTime"), 3);
    r.WriteInteger(QStringLiteral("Volume"), 150);
    r.WriteInteger(QStringLiteral("TimeLimit"), 46);
    r.WriteInteger(QStringLiteral("Tasks"), 51);
  });
  MainSettings s = Read();
  EXPECT_TRUE(s.autoCheckup);
  EXPECT_EQ(s.autoCheckupHours, 716);
  EXPECT_EQ(s.lastCheckup, 0.0);
  EXPECT_EQ(s.volume, 100) << "the bar clamps";
  EXPECT_EQ(s.timeLimit, 15) << "a limit outside 5..45 is ignored";
  EXPECT_EQ(s.tasksIndex, 0);
  s.volume = 30;
  s.volumeShown = false;
  WriteMainSettings(reg, s, tasks, sayings, remarks);
  reg.SetRootKey(RootKey::CurrentUser);
  reg.OpenKey(kProgramKey, false);
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("Volume")), 150) << "without sound the stored volume stays";
  reg.CloseKey();
  for (const auto& [time, hours] : {std::pair{0, 164}, {1, 332}, {2, 500}, {3, 716}, {4, 0}})
    EXPECT_EQ(AutoCheckupHours(time), hours);
}

struct StoredState {
  const char* name;
  int bytes;
  bool taken;
};
class SelectorStateRule : public ::testing::TestWithParam<StoredState> {};

// The size rule decides whether a stored selector state is taken; a wrong rule loses or
// corrupts progress.
TEST_P(SelectorStateRule, TasksSelector) {
  QTemporaryDir dir;
  Registry reg(RegistryPaths::inOneFolder(dir.path()));
  reg.SetRootKey(RootKey::CurrentUser);
  reg.OpenKey(kProgramKey, true);
  const QByteArray bytes(GetParam().bytes, '\xFF');
  reg.WriteBinaryData(QStringLiteral("Heart"), bytes.constData(), GetParam().bytes);
  ClockSeededRandom random(1);
  TSmartRand tasks(1500, true, 50, random);
  EXPECT_EQ(LoadUsedState(reg, QStringLiteral("Heart"), tasks), GetParam().taken);
  EXPECT_EQ(tasks.CountUsed(), GetParam().taken ? std::min(1500, 8 * GetParam().bytes) : 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SelectorStateRule,
                         ::testing::Values(StoredState{"exact", 188, true}, StoredState{"oneByteTooLong", 189, false},
                                           StoredState{"shorter", 100, true}, StoredState{"oneByte", 1, true}),
                         zv::test::RowName{});

TEST(SelectorState, OtherTypesAndTheHalfWordRule) {
  QTemporaryDir dir;
  Registry reg(RegistryPaths::inOneFolder(dir.path()));
  reg.SetRootKey(RootKey::CurrentUser);
  reg.OpenKey(kProgramKey, true);
  reg.WriteInteger(QStringLiteral("HeartP"), -1);
  reg.WriteBinaryData(QStringLiteral("HeartRC"), "", 0);
  const QByteArray eight(8, '\x01');
  const QByteArray sixteen(16, '\x01');
  reg.WriteBinaryData(QStringLiteral("HeartNC"), eight.constData(), 8);     // 144 items: 5 words
  reg.WriteBinaryData(QStringLiteral("HeartYC"), sixteen.constData(), 16);  // 111 items: 4 words
  ClockSeededRandom random(1);
  TSmartRand sayings(170, false, 0, random);
  TSmartRand remarks(18, false, 5, random);
  TSmartRand wrong(144, false, 5, random);
  TSmartRand right(111, false, 5, random);
  EXPECT_FALSE(LoadUsedState(reg, QStringLiteral("HeartP"), sayings)) << "a DWORD is not a state";
  EXPECT_FALSE(LoadUsedState(reg, QStringLiteral("HeartRC"), remarks)) << "an empty value is ignored";
  EXPECT_FALSE(LoadUsedState(reg, QStringLiteral("HeartNC"), wrong, SizeRule::HalfWordRule));
  EXPECT_TRUE(LoadUsedState(reg, QStringLiteral("HeartYC"), right, SizeRule::HalfWordRule));
  EXPECT_EQ(right.CountUsed(), 14) << "one bit a byte, less the two that fall past item 111";
  // The done set is taken by its own size rule, whether or not the used set was.
  const QByteArray done(188, '\x00');
  QByteArray someDone = done;
  someDone[0] = '\x07';
  reg.WriteBinaryData(QStringLiteral("DoneHeart"), someDone.constData(), 188);
  TSmartRand tasks(1500, true, 50, random);
  EXPECT_TRUE(LoadDoneState(reg, QStringLiteral("DoneHeart"), tasks));
  EXPECT_EQ(tasks.DoneCount, 3);
  reg.CloseKey();
}

}  // namespace
}  // namespace zv
