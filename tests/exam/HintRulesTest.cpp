#include "exam/HintLayout.h"
#include "exam/HintPhrases.h"
#include "exam/MarkLook.h"
#include "platform/Registry.h"
#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <memory>

namespace zv {
namespace {

using test::ScriptedRandom;

const QString kKey = QStringLiteral("\\Software\\Ostwin\\Zorvik");

QSet<QString> Shown(HintList list) {
  QSet<QString> all;
  for (int k = 1; k <= HintPhrases::Count(list); ++k) all.insert(UpperFirst(HintPhrases::Phrase(list, k)));
  return all;
}

// --- the verdict's remark, comment and colours --------------------------------------------

struct CaseRow {
  const char* name;
  HintCase verdict;
  HintCase kind;
  HintList list;
  bool showsInterpretation;
  SoundCategory comment;
  std::uint32_t window;  // the window's colour
  std::uint32_t font;    // the remark's lettering
};

class HintCaseTable : public ::testing::TestWithParam<CaseRow> {};

// A wrong mapping shows praise after a wrong answer, hides the right answer when it is needed,
// or plays the comment of another case.
TEST_P(HintCaseTable, DrawsTheRemarkAndCommentOfItsCase) {
  const CaseRow row = GetParam();
  ClockSeededRandom random(7);
  HintPhrases phrases(random);
  const HintShowing s = phrases.Draw(row.verdict);
  EXPECT_EQ(s.kind, row.kind);
  EXPECT_EQ(ColoursOf(row.verdict).window, row.window);
  EXPECT_EQ(ColoursOf(row.verdict).font, row.font);
  EXPECT_EQ(s.showsInterpretation, row.showsInterpretation);
  EXPECT_EQ(s.comment, row.comment);
  EXPECT_TRUE(Shown(row.list).contains(s.remark)) << s.remark.toStdString();
  EXPECT_TRUE(Shown(HintList::Button).contains(s.buttonCaption)) << s.buttonCaption.toStdString();
  for (HintList l : {HintList::Right, HintList::Wrong, HintList::TimeOut})
    EXPECT_EQ(phrases.Selector(l).CountUsed(), l == row.list ? 1 : 0) << "a draw went to another list";
  EXPECT_EQ(phrases.Selector(HintList::Button).CountUsed(), 1);
}

INSTANTIATE_TEST_SUITE_P(Verdicts, HintCaseTable,
                         ::testing::Values(CaseRow{"rightIsFuchsiaAndBlue",
                                                   HintCase::Right,
                                                   HintCase::Right,
                                                   HintList::Right,
                                                   false,
                                                   SoundCategory::Right,
                                                   0xFF00FF,
                                                   0x0000FF},
                                           CaseRow{"wrongIsBlackAndSilver",
                                                   HintCase::Wrong,
                                                   HintCase::Wrong,
                                                   HintList::Wrong,
                                                   true,
                                                   SoundCategory::Wrong,
                                                   0x000000,
                                                   0xC0C0C0},
                                           CaseRow{"timeOutIsNavyAndAqua",
                                                   HintCase::TimeOut,
                                                   HintCase::TimeOut,
                                                   HintList::TimeOut,
                                                   true,
                                                   SoundCategory::TimeOut,
                                                   0x000080,
                                                   0x00FFFF}),
                         zv::test::RowName{});

TEST(HintPhrases, ListsHaveTheirSizesAndNoDuplicates) {
  const std::pair<HintList, int> sizes[] = {
      {HintList::Button, 13}, {HintList::Right, 111}, {HintList::Wrong, 144}, {HintList::TimeOut, 40}};
  for (auto [list, n] : sizes) {
    EXPECT_EQ(HintPhrases::Count(list), n);
    EXPECT_EQ(Shown(list).size(), n) << "a remark is missing or doubled";
    EXPECT_TRUE(HintPhrases::Phrase(list, 0).isEmpty());
    EXPECT_TRUE(HintPhrases::Phrase(list, n + 1).isEmpty());
  }
  EXPECT_EQ(HintPhrases::ValueName(HintList::Button), QStringLiteral("HeartOC"));
  EXPECT_EQ(HintPhrases::ValueName(HintList::Right), QStringLiteral("HeartYC"));
  EXPECT_EQ(HintPhrases::ValueName(HintList::Wrong), QStringLiteral("HeartNC"));
  EXPECT_EQ(HintPhrases::ValueName(HintList::TimeOut), QStringLiteral("HeartTC"));
}

// All thirteen button remarks come in thirteen showings, each once, as the user sees them.
TEST(HintPhrases, ButtonRemarksComeOnceEachWithACapital) {
  ClockSeededRandom random(3);
  HintPhrases phrases(random);
  QSet<QString> captions;
  for (int i = 0; i < 13; ++i) captions.insert(phrases.Draw(HintCase::Right).buttonCaption);
  const QSet<QString> expected = {QStringLiteral("Вперёд!"),
                                  QStringLiteral("Дальше!"),
                                  QStringLiteral("Короче!"),
                                  QStringLiteral("Ладно ..."),
                                  QStringLiteral("О'кей!"),
                                  QStringLiteral("Погнали!"),
                                  QStringLiteral("Подумаешь!"),
                                  QStringLiteral("Поехали!"),
                                  QStringLiteral("Понятно"),
                                  QStringLiteral("Проехали!"),
                                  QStringLiteral("Угу"),
                                  QStringLiteral("Усвоено"),
                                  QStringLiteral("Ясно")};
  EXPECT_EQ(captions, expected);
}

struct UpperRow {
  const char* name;
  const char* in;
  const char* out;
};
class UpperFirstTable : public ::testing::TestWithParam<UpperRow> {};

TEST_P(UpperFirstTable, OnlyASmallFirstLetterChanges) {
  EXPECT_EQ(UpperFirst(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Texts, UpperFirstTable,
                         ::testing::Values(UpperRow{"cyrillic", "ясно", "Ясно"}, UpperRow{"yo", "ёлки", "Ёлки"},
                                           UpperRow{"apostropheInside", "о'кей!", "О'кей!"},
                                           UpperRow{"alreadyCapital", "Уже", "Уже"},
                                           UpperRow{"quotationMarkKept", "«так»", "«так»"}, UpperRow{"empty", "", ""}),
                         zv::test::RowName{});

// --- stored states ------------------------------------------------------------------------

class HintStore : public ::testing::Test {
 protected:
  std::unique_ptr<Registry> OpenRegistry() {
    return std::make_unique<Registry>(RegistryPaths::inOneFolder(m_dir.path()));
  }
  void Store(const QString& name, const QByteArray& bytes) {
    auto reg = OpenRegistry();
    reg->SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(reg->OpenKey(kKey, true));
    reg->WriteBinaryData(name, bytes.constData(), static_cast<int>(bytes.size()));
    reg->CloseKey();
  }
  void StoreText(const QString& name, const QString& text) {
    auto reg = OpenRegistry();
    reg->SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(reg->OpenKey(kKey, true));
    reg->WriteString(name, text);
    reg->CloseKey();
  }

  QTemporaryDir m_dir;
};

// The point of storing: a remark list goes on across program runs instead of starting again.
TEST_F(HintStore, ButtonRemarksDoNotRepeatAcrossRunsAndAreStoredAtTheirSizes) {
  ClockSeededRandom random(11);
  QSet<QString> captions;
  {
    auto reg = OpenRegistry();
    HintPhrases first(random);
    first.Load(*reg);
    for (int i = 0; i < 7; ++i) captions.insert(first.Draw(HintCase::Wrong).buttonCaption);
    first.Save(*reg);
  }
  auto reg = OpenRegistry();
  reg->SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(reg->OpenKey(kKey, false));
  const std::pair<const char*, int> sizes[] = {{"HeartOC", 4}, {"HeartYC", 16}, {"HeartNC", 20}, {"HeartTC", 8}};
  for (auto [name, size] : sizes) {
    EXPECT_EQ(reg->GetDataType(QLatin1String(name)), RegType::Binary) << name;
    EXPECT_EQ(reg->GetDataSize(QLatin1String(name)), size) << name;
  }
  reg->CloseKey();

  HintPhrases second(random);
  second.Load(*reg);
  EXPECT_EQ(second.Selector(HintList::Wrong).CountUsed(), 7);
  for (int i = 0; i < 6; ++i) captions.insert(second.Draw(HintCase::Wrong).buttonCaption);
  EXPECT_EQ(captions.size(), 13) << "a button remark came again before all were shown";
}

struct StoredRow {
  const char* name;
  const char* value;  // the value that is stored oddly
  int size;           // bytes of 0x07 (items 1..3 used); -1: stored as text
  HintList list;
  int expectedUsed;  // after loading
};
class HintStoredStates : public HintStore, public ::testing::WithParamInterface<StoredRow> {};

// A stored state is taken only by the half-word size rule; one odd value never keeps the
// others from being restored.
TEST_P(HintStoredStates, LoadTakesOnlyStatesOfTheRightSize) {
  const StoredRow row = GetParam();
  Store(QStringLiteral("HeartOC"), QByteArray::fromHex("ff0f0000"));  // items 1..12 used
  Store(QStringLiteral("HeartTC"), QByteArray::fromHex("0300000000000000"));
  if (row.size < 0) {
    StoreText(QLatin1String(row.value), QStringLiteral("x"));
  } else {
    QByteArray bytes(row.size, '\0');
    bytes[0] = 0x07;
    Store(QLatin1String(row.value), bytes);
  }
  ClockSeededRandom random(5);
  HintPhrases phrases(random);
  auto reg = OpenRegistry();
  phrases.Load(*reg);
  EXPECT_EQ(phrases.Selector(row.list).CountUsed(), row.expectedUsed);
  if (row.list != HintList::Button) {
    EXPECT_EQ(phrases.Selector(HintList::Button).CountUsed(), 12);
    EXPECT_EQ(phrases.Draw(HintCase::Right).buttonCaption, QStringLiteral("Ясно"));
  }
  if (row.list != HintList::TimeOut) {
    EXPECT_EQ(phrases.Selector(HintList::TimeOut).CountUsed(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, HintStoredStates,
                         ::testing::Values(StoredRow{"rightOfFullSizeTaken", "HeartYC", 16, HintList::Right, 3},
                                           StoredRow{"rightOfHalfSizeRefused", "HeartYC", 8, HintList::Right, 0},
                                           StoredRow{"rightTooLongRefused", "HeartYC", 20, HintList::Right, 0},
                                           StoredRow{"wrongOfSixteenTaken", "HeartNC", 16, HintList::Wrong, 3},
                                           StoredRow{"wrongOfTwelveRefused", "HeartNC", 12, HintList::Wrong, 0},
                                           StoredRow{"rightAsTextIgnored", "HeartYC", -1, HintList::Right, 0},
                                           StoredRow{"buttonAsTextIgnored", "HeartOC", -1, HintList::Button, 0}),
                         zv::test::RowName{});

// A registry that cannot be written (its folder lies under a plain file) must not take the
// program down when the window is destroyed.
TEST_F(HintStore, FailingRegistryIsSilent) {
  QFile blocker(m_dir.filePath(QStringLiteral("file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Registry reg(RegistryPaths::inOneFolder(m_dir.filePath(QStringLiteral("file/registry"))));
  ClockSeededRandom random(1);
  HintPhrases phrases(random);
  EXPECT_NO_THROW(phrases.Load(reg));
  phrases.Draw(HintCase::Right);
  EXPECT_NO_THROW(phrases.Save(reg));
  EXPECT_FALSE(reg.HasCurrentKey());
}

// --- layout -------------------------------------------------------------------------------

struct PositionRow {
  const char* name;
  QRect main;
  int screenBottom;
  int panelTop;
  QPoint expected;
};
class FirstPositionTable : public ::testing::TestWithParam<PositionRow> {};

TEST_P(FirstPositionTable, CentredOverThePanelOrAboveTheWindow) {
  const PositionRow r = GetParam();
  EXPECT_EQ(FirstHintPosition(r.main, 355, r.screenBottom, r.panelTop), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FirstPositionTable,
    ::testing::Values(
        PositionRow{"roomBelowGoesOverThePanel", QRect(100, 50, 580, 468), 768, 400, QPoint(212, 450)},
        PositionRow{"exactly89BelowStillOverThePanel", QRect(100, 211, 580, 468), 768, 400, QPoint(212, 611)},
        PositionRow{"88BelowGoesAbove", QRect(100, 212, 580, 468), 768, 400, QPoint(212, 188)},
        PositionRow{"oddWidthDifferenceRoundsDown", QRect(0, 0, 580 + 1, 300), 1080, 250, QPoint(113, 250)},
        PositionRow{"mainNarrowerThanWindow", QRect(10, 0, 300, 300), 1080, 250, QPoint(-17, 250)}),
    zv::test::RowName{});

TEST(TrueLabelLeft, CentredOnlyWhenTheWindowIsWider) {
  EXPECT_EQ(TrueLabelLeft(355, 200, 2), 77);
  EXPECT_EQ(TrueLabelLeft(355, 354, 2), 0);
  EXPECT_EQ(TrueLabelLeft(355, 355, 2), 2) << "an equally wide label keeps its place";
  EXPECT_EQ(TrueLabelLeft(355, 400, 3), 3);
}

// The shake is a loop: four steps return to the start, and the counter carries over from one
// showing to the next.
TEST(TrueLabelJerk, FourStepsMakeALoopThatGoesOnAcrossShowings) {
  TrueLabelJerk jerk;
  QPoint p(100, 60);
  const QPoint expected[] = {{101, 59}, {102, 60}, {101, 61}, {100, 60}, {101, 59}, {102, 60}};
  for (const QPoint& e : expected) {
    p = jerk.Step(p);
    EXPECT_EQ(p, e);
  }
  EXPECT_EQ(jerk.Counter(), 2);
  // Next showing: the label was centred anew at 50.
  EXPECT_EQ(jerk.Step(QPoint(50, 60)), QPoint(49, 61));
}

// --- mark window --------------------------------------------------------------------------

struct MarkRow {
  const char* name;
  int mark;
  const char* digit;
  ButtonGlyph glyph;
  bool flashes;
  SoundCategory comment;
};
class MarkLookTable : public ::testing::TestWithParam<MarkRow> {};

TEST_P(MarkLookTable, GlyphFlashAndComment) {
  const MarkRow r = GetParam();
  const MarkLook look = MarkLookFor(r.mark);
  EXPECT_EQ(look.digit, QLatin1String(r.digit));
  EXPECT_EQ(look.glyph, r.glyph);
  EXPECT_EQ(look.flashes, r.flashes);
  EXPECT_EQ(look.comment, r.comment);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, MarkLookTable,
    ::testing::Values(MarkRow{"zero", 0, "0", ButtonGlyph::Black, false, SoundCategory::Mark0},
                      MarkRow{"threeIsBlack", 3, "3", ButtonGlyph::Black, false, SoundCategory::Mark3},
                      MarkRow{"fourIsGreenWithoutFlash", 4, "4", ButtonGlyph::Green, false, SoundCategory::Mark4},
                      MarkRow{"fiveFlashes", 5, "5", ButtonGlyph::Green, true, SoundCategory::Mark5},
                      MarkRow{"belowRangeShowsZero", -2, "0", ButtonGlyph::Black, false, SoundCategory::Mark0},
                      MarkRow{"aboveRangeShowsFive", 9, "5", ButtonGlyph::Green, true, SoundCategory::Mark5}),
    zv::test::RowName{});

TEST(DrawFlashColors, BackgroundThenLetteringEachFromTheFullRange) {
  ScriptedRandom random{255, 0, 128, 1, 2, 254};  // 255 would be refused from a range of 255
  const FlashColors c = DrawFlashColors(random);
  EXPECT_EQ(c.background, 0xFF0080u);
  EXPECT_EQ(c.lettering, 0x0102FEu);
  EXPECT_TRUE(random.Exhausted());
}

}  // namespace
}  // namespace zv
