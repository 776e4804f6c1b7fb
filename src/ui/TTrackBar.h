#pragma once
// TTrackBar: the volume bar of the main window (VolumeTrackBar).
//
// A horizontal slider set up as the volume control: range 21..100, position 72, line size 2,
// page size 8, a tick every 8 positions and an 11-pixel thumb. Down is left: the Down key,
// Page Down and the wheel turned toward the user lower the position; Up, Page Up and the
// wheel turned away raise it. Every wheel event moves the position by exactly one, whatever
// its delta, and the position stays in range.
//
// Its tooltip shows the position followed by "%" after every change. positionChangedByUser()
// reports changes made with the mouse, the wheel or the keys, never those made by setValue(),
// so loading the settings does not set the volume. A left-press hook runs before the bar
// handles a left press (the main window replays the last sound from it).

#include <QSlider>

#include <functional>
#include <vector>

class QProxyStyle;

namespace zv {

class TTrackBar : public QSlider {
  Q_OBJECT
 public:
  explicit TTrackBar(QWidget* parent = nullptr);
  ~TTrackBar() override;

  // Runs on a left press before the bar moves; empty to remove.
  void SetLeftPressHook(std::function<void()> hook) { m_leftPressHook = std::move(hook); }

  // Clears all ticks, processes pending events, then sets a tick at every position strictly
  // between the minimum and the maximum (a dense band) when the range spans at least 2.
  void RefreshTicks();
  // The positions that carry a tick besides the two ends, which always carry one.
  const std::vector<int>& TickPositions() const { return m_ticks; }

  QSize sizeHint() const override;

 signals:
  void positionChangedByUser(int position);

 protected:
  void sliderChange(SliderChange change) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void SetTicksEvery(int frequency);
  int TickX(int position) const;

  std::function<void()> m_leftPressHook;
  std::vector<int> m_ticks;
  int m_userInput = 0;  // depth of user-input handlers running; changes inside are the user's
  QProxyStyle* m_style = nullptr;
};

}  // namespace zv
