#include "ui/TTrackBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QWheelEvent>

namespace zv {
namespace {

constexpr int kThumbLength = 11;

// Gives the bar its 11-pixel thumb and a thumb thickness that leaves room for the ticks; the
// rest of the layout and the hit-testing stay the style's.
class TrackBarStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SliderLength) return kThumbLength;
    if (metric == PM_SliderThickness) return 16;
    if (metric == PM_SliderControlThickness) return 16;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

// Marks the changes made while a user-input handler runs.
class UserInput {
 public:
  explicit UserInput(int& depth) : m_depth(depth) { ++m_depth; }
  ~UserInput() { --m_depth; }
  UserInput(const UserInput&) = delete;
  UserInput& operator=(const UserInput&) = delete;

 private:
  int& m_depth;
};

}  // namespace

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setObjectName(QStringLiteral("VolumeTrackBar"));
  m_style = new TrackBarStyle(QApplication::style()->name());
  m_style->setParent(this);
  setStyle(m_style);
  setRange(21, 100);
  setValue(72);
  setSingleStep(2);
  setPageStep(8);
  setTickPosition(QSlider::TicksBelow);
  setTickInterval(8);
  SetTicksEvery(8);
  setToolTip(QStringLiteral("%1%").arg(value()));
}

TTrackBar::~TTrackBar() = default;

QSize TTrackBar::sizeHint() const { return {150, 26}; }

void TTrackBar::SetTicksEvery(int frequency) {
  m_ticks.clear();
  for (int p = minimum() + frequency; p < maximum(); p += frequency) m_ticks.push_back(p);
  update();
}

void TTrackBar::RefreshTicks() {
  m_ticks.clear();
  update();
  QCoreApplication::processEvents();
  if (maximum() - minimum() >= 2)
    for (int p = minimum() + 1; p < maximum(); ++p) m_ticks.push_back(p);
  update();
}

void TTrackBar::sliderChange(SliderChange change) {
  QSlider::sliderChange(change);
  if (change != SliderValueChange) return;
  setToolTip(QStringLiteral("%1%").arg(value()));
  if (QToolTip::isVisible()) QToolTip::hideText();
  if (m_userInput > 0) emit positionChangedByUser(value());
}

void TTrackBar::wheelEvent(QWheelEvent* event) {
  int delta = event->angleDelta().y();
  if (delta == 0) delta = event->angleDelta().x();
  if (event->inverted()) delta = -delta;
  if (delta == 0) {
    event->ignore();
    return;
  }
  UserInput input(m_userInput);
  setValue(value() + (delta > 0 ? 1 : -1));  // setValue keeps the position in range
  event->accept();
}

void TTrackBar::keyPressEvent(QKeyEvent* event) {
  UserInput input(m_userInput);
  QSlider::keyPressEvent(event);
}

void TTrackBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_leftPressHook) m_leftPressHook();
  UserInput input(m_userInput);
  QSlider::mousePressEvent(event);
}

void TTrackBar::mouseMoveEvent(QMouseEvent* event) {
  UserInput input(m_userInput);
  QSlider::mouseMoveEvent(event);
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event) {
  UserInput input(m_userInput);
  QSlider::mouseReleaseEvent(event);
}

int TTrackBar::TickX(int position) const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const int span = groove.width() - kThumbLength;
  return groove.x() + kThumbLength / 2 +
         QStyle::sliderPositionFromValue(minimum(), maximum(), position, span, option.upsideDown);
}

void TTrackBar::paintEvent(QPaintEvent*) {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);

  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = isEnabled() ? QColor(0x3b, 0x4d, 0x6b) : QColor(0x9a, 0xa7, 0xba);
  const QColor fill = isEnabled() ? QColor(57, 122, 242) : QColor(0xb5, 0xc0, 0xd0);

  // The track: a slim rounded channel, filled up to the thumb.
  const qreal trackY = handle.center().y() - 1.5;
  const QRectF track(groove.x() + 1, trackY, groove.width() - 2, 4);
  p.setPen(QPen(QColor(0x9a, 0xa8, 0xbc), 1));
  p.setBrush(QColor(0xf6, 0xf8, 0xfb));
  p.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(
      QRectF(track.x() + 1, track.y() + 1, handle.center().x() - track.x() - 1, track.height() - 2), 1, 1);

  // Ticks under the track: the two ends always, the set positions between them.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(ink, 1));
  const int tickTop = handle.bottom() + 2;
  auto tick = [&](int position, int length) {
    const int x = TickX(position);
    p.drawLine(x, tickTop, x, tickTop + length - 1);
  };
  tick(minimum(), 4);
  tick(maximum(), 4);
  for (int position : m_ticks) tick(position, 3);

  // The thumb: a small pentagon pointing down at the ticks.
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF t = QRectF(handle).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath thumb;
  thumb.moveTo(t.left(), t.top() + 2);
  thumb.quadTo(t.left(), t.top(), t.left() + 2, t.top());
  thumb.lineTo(t.right() - 2, t.top());
  thumb.quadTo(t.right(), t.top(), t.right(), t.top() + 2);
  thumb.lineTo(t.right(), t.bottom() - t.width() / 2);
  thumb.lineTo(t.center().x(), t.bottom());
  thumb.lineTo(t.left(), t.bottom() - t.width() / 2);
  thumb.closeSubpath();
  QLinearGradient shade(t.topLeft(), t.bottomLeft());
  const bool pressed = isSliderDown();
  shade.setColorAt(0, pressed ? QColor(0xdd, 0xe6, 0xf3) : QColor(0xff, 0xff, 0xff));
  shade.setColorAt(1, pressed ? QColor(0xbf, 0xcd, 0xe2) : QColor(0xd9, 0xe1, 0xec));
  p.setBrush(shade);
  p.setPen(QPen(hasFocus() ? fill : ink, 1));
  p.drawPath(thumb);
}

}  // namespace zv
