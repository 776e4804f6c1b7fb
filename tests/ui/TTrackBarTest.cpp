#include "support/RowName.h"
#include "ui/TTrackBar.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>

namespace zv {
namespace {

void Wheel(TTrackBar& bar, int delta) {
  const QPointF at(bar.width() / 2.0, bar.height() / 2.0);
  QWheelEvent event(
      at, bar.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&bar, &event);
}

TEST(TTrackBar, StartsAsTheVolumeBar) {
  TTrackBar bar;
  EXPECT_EQ(bar.minimum(), 21);
  EXPECT_EQ(bar.maximum(), 100);
  EXPECT_EQ(bar.value(), 72);
  EXPECT_EQ(bar.singleStep(), 2);
  EXPECT_EQ(bar.pageStep(), 8);
  EXPECT_EQ(bar.tickInterval(), 8);
  EXPECT_EQ(bar.toolTip(), QStringLiteral("72%"));
}

struct WheelCase {
  const char* name;
  int start;
  int delta;
  int expected;
};
class TTrackBarWheel : public ::testing::TestWithParam<WheelCase> {};

TEST_P(TTrackBarWheel, EachEventMovesByOne) {
  TTrackBar bar;
  bar.resize(150, 26);
  bar.setValue(GetParam().start);
  Wheel(bar, GetParam().delta);
  EXPECT_EQ(bar.value(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Notches, TTrackBarWheel,
    ::testing::Values(WheelCase{"upIsPlusOne", 72, 120, 73}, WheelCase{"downIsMinusOne", 72, -120, 71},
                      WheelCase{"bigDeltaStillOne", 72, 360, 73}, WheelCase{"fineDeltaStillOne", 72, -15, 71},
                      WheelCase{"upAtMaximumStays", 100, 120, 100}, WheelCase{"downAtMinimumStays", 21, -120, 21}),
    zv::test::RowName{});

TEST(TTrackBar, DownIsLeftForTheKeys) {
  TTrackBar bar;
  QTest::keyClick(&bar, Qt::Key_Down);
  EXPECT_EQ(bar.value(), 70);
  QTest::keyClick(&bar, Qt::Key_Up);
  QTest::keyClick(&bar, Qt::Key_Up);
  EXPECT_EQ(bar.value(), 74);
  QTest::keyClick(&bar, Qt::Key_PageDown);
  EXPECT_EQ(bar.value(), 66);
  QTest::keyClick(&bar, Qt::Key_Left);
  EXPECT_EQ(bar.value(), 64);
}

TEST(TTrackBar, ReportsUserChangesAndShowsThePositionInItsHint) {
  TTrackBar bar;
  bar.resize(150, 26);
  QSignalSpy byUser(&bar, &TTrackBar::positionChangedByUser);
  bar.setValue(40);  // as when the settings are read
  EXPECT_EQ(byUser.count(), 0);
  EXPECT_EQ(bar.toolTip(), QStringLiteral("40%"));
  Wheel(bar, 120);
  QTest::keyClick(&bar, Qt::Key_Up);
  ASSERT_EQ(byUser.count(), 2);
  EXPECT_EQ(byUser.at(0).at(0).toInt(), 41);
  EXPECT_EQ(byUser.at(1).at(0).toInt(), 43);
  EXPECT_EQ(bar.toolTip(), QStringLiteral("43%"));
}

QPoint ThumbCentre(const TTrackBar& bar) {
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = bar.orientation();
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = option.sliderValue = bar.value();
  option.tickPosition = bar.tickPosition();
  option.tickInterval = bar.tickInterval();
  option.subControls = QStyle::SC_All;
  return bar.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &bar).center();
}

TEST(TTrackBar, LeftPressHookRunsBeforeTheBarHandlesThePress) {
  TTrackBar bar;
  bar.resize(150, 26);
  bar.show();
  int calls = 0;
  bool downInHook = true;
  bar.SetLeftPressHook([&] {
    downInHook = bar.isSliderDown();
    ++calls;
  });
  const QPoint thumb = ThumbCentre(bar);
  QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, thumb);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(downInHook) << "the hook ran after the bar took the press";
  EXPECT_TRUE(bar.isSliderDown()) << "the press is still handled by the bar";
  QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, thumb);
  QTest::mouseClick(&bar, Qt::RightButton, Qt::NoModifier, thumb);
  EXPECT_EQ(calls, 1) << "only the left button";
}

TEST(TTrackBar, RefreshTicksFillsEveryInnerPosition) {
  TTrackBar bar;
  std::vector<int> every8;
  for (int p = 29; p < 100; p += 8) every8.push_back(p);
  EXPECT_EQ(bar.TickPositions(), every8);
  bar.RefreshTicks();
  ASSERT_EQ(bar.TickPositions().size(), 78u);
  EXPECT_EQ(bar.TickPositions().front(), 22);
  EXPECT_EQ(bar.TickPositions().back(), 99);
  bar.setRange(5, 6);
  bar.RefreshTicks();
  EXPECT_TRUE(bar.TickPositions().empty());
}

}  // namespace
}  // namespace zv
