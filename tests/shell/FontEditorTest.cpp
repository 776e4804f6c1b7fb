#include "shell/FontEditor.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

using namespace Qt::StringLiterals;

// ---- sizes --------------------------------------------------------------------------------

struct SizeCase {
  const char* name;
  FontTarget target;
  int stored;   // the target's size when the window opens
  int shown;    // what the field shows
  int chosen;   // what the user then puts in the field
  int applied;  // the target's size afterwards
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class FontSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FontSizes, KeepToTheTargetsRange) {
  const SizeCase& row = GetParam();
  FontEditor editor(row.target, FontChoice{u"Arial"_s, row.stored, false, false}, {});
  EXPECT_EQ(editor.SizeShown(), row.shown);
  EXPECT_EQ(editor.Current().size, row.stored) << "opening the window changed the size";
  EXPECT_EQ(editor.ChooseSize(row.chosen), row.applied != row.stored);
  EXPECT_EQ(editor.Current().size, row.applied);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, FontSizes,
    ::testing::Values(SizeCase{"taskWithinRange", FontTarget::TaskText, 14, 14, 17, 17},
                      SizeCase{"taskBelowTwelve", FontTarget::TaskText, 14, 14, 11, 12},
                      SizeCase{"taskAboveTwenty", FontTarget::TaskText, 14, 14, 21, 20},
                      SizeCase{"taskTopEdge", FontTarget::TaskText, 19, 19, 20, 20},
                      SizeCase{"answersBelowEight", FontTarget::Answers, 10, 10, 7, 8},
                      SizeCase{"answersAboveTwelve", FontTarget::Answers, 10, 10, 13, 12},
                      SizeCase{"storedSizeAboveRangeShownAtTheTop", FontTarget::TaskText, 30, 20, 30, 20},
                      SizeCase{"storedSizeBelowRangeShownAtTheBottom", FontTarget::Answers, 6, 8, 9, 9},
                      SizeCase{"sameSizeIsNoChange", FontTarget::Answers, 11, 11, 11, 11}),
    zv::test::RowName{});

// ---- typefaces ----------------------------------------------------------------------------

InstalledFonts Fonts() {
  InstalledFonts fonts;
  fonts.families = {u"DejaVu Sans"_s, u"Liberation Sans"_s, u"Liberation Serif"_s};
  fonts.resolveAlias = [](const QString& name) {
    return name.compare(u"Arial"_s, Qt::CaseInsensitive) == 0 ? u"Liberation Sans"_s : QString();
  };
  return fonts;
}

TEST(FontEditor, FindsTheTypefaceByNameOrAlias) {
  auto indexOf = [](const QString& name) {
    return FontEditor(FontTarget::TaskText, FontChoice{name, 14, true, false}, Fonts()).TypefaceIndex();
  };
  EXPECT_EQ(indexOf(u"Liberation Serif"_s), 2);
  EXPECT_EQ(indexOf(u"liberation serif"_s), 2);
  EXPECT_EQ(indexOf(u"Arial"_s), 1);
  EXPECT_EQ(indexOf(u"Tahoma"_s), -1);
}

TEST(FontEditor, TypefaceNoLongerInstalledIsKeptUntilAnotherIsChosen) {
  FontEditor editor(FontTarget::Answers, FontChoice{u"Tahoma"_s, 10, false, true}, Fonts());
  EXPECT_EQ(editor.TypefaceIndex(), -1);
  EXPECT_EQ(editor.Current().name, u"Tahoma"_s);
  EXPECT_FALSE(editor.ChooseTypeface(QString())) << "no selection is no choice";
  EXPECT_TRUE(editor.ChooseTypeface(u"Liberation Serif"_s));
  EXPECT_EQ(editor.Current().name, u"Liberation Serif"_s);
  EXPECT_TRUE(editor.Current().italic) << "a new typeface keeps the style";
  EXPECT_EQ(editor.Current().size, 10);
}

// ---- styles -------------------------------------------------------------------------------

TEST(FontEditor, StylesAreTheFourSamples) {
  struct Row {
    bool bold, italic, underline;
    FontStyle checked;
  };
  for (const Row& r : {Row{false, false, false, FontStyle::Regular},
                       Row{false, true, false, FontStyle::Italic},
                       Row{true, false, false, FontStyle::Bold},
                       Row{true, true, false, FontStyle::BoldItalic},
                       Row{true, true, true, FontStyle::Regular}}) {
    FontChoice font{u"Arial"_s, 10, r.bold, r.italic, r.underline};
    EXPECT_EQ(FontEditor(FontTarget::Answers, font, Fonts()).CheckedStyle(), r.checked)
        << r.bold << r.italic << r.underline;
  }

  FontEditor underlined(FontTarget::TaskText, FontChoice{u"Arial"_s, 14, true, false, true}, Fonts());
  EXPECT_TRUE(underlined.ChooseStyle(FontStyle::Bold)) << "choosing bold drops the underline";
  EXPECT_FALSE(underlined.Current().underline);
  EXPECT_FALSE(underlined.ChooseStyle(FontStyle::Bold));
  EXPECT_TRUE(underlined.ChooseStyle(FontStyle::Italic));
  EXPECT_FALSE(underlined.Current().bold);
  EXPECT_TRUE(underlined.Current().italic);
}

}  // namespace
}  // namespace zv
