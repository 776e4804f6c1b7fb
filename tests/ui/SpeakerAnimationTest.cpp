// The speaker animation: its frames differ, it runs only while its label is shown, and it
// starts again from the first frame. Writes the frames, enlarged, to <build>/screens.

#include "support/TestApplication.h"
#include "ui/SpeakerAnimation.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace zv {
namespace {

ZV_TEST_APPLICATION(QApplication);

TEST(SpeakerAnimation, CyclesItsFramesOnlyWhileShown) {
  QLabel label;
  label.resize(100, 34);
  SpeakerAnimation animation(&label);
  EXPECT_FALSE(animation.Running());
  label.show();
  EXPECT_TRUE(animation.Running());
  EXPECT_EQ(animation.Frame(), 0);
  QTRY_COMPARE(animation.Frame(), 2);
  label.hide();
  EXPECT_FALSE(animation.Running());
  label.show();
  EXPECT_EQ(animation.Frame(), 0) << "each sound starts without waves";

  QImage strip(4 * 30 * 4, 30 * 4, QImage::Format_ARGB32);
  strip.fill(QColor(0xEC, 0xEC, 0xE8));
  QPainter p(&strip);
  for (int frame = 0; frame < kSpeakerFrames; ++frame) {
    const QImage image = SpeakerAnimationFrame(frame, 30, 1.0).toImage();
    for (int other = 0; other < frame; ++other)
      EXPECT_NE(image, SpeakerAnimationFrame(other, 30, 1.0).toImage()) << frame << " vs " << other;
    p.drawImage(QRect(frame * 120, 0, 120, 120), image);
  }
  p.end();
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  EXPECT_TRUE(strip.save(QStringLiteral(ZV_SCREENS_DIR "/speaker_frames.png")));
}

}  // namespace
}  // namespace zv
