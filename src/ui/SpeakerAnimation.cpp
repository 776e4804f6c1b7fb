#include "ui/SpeakerAnimation.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace zv {

QPixmap SpeakerAnimationFrame(int frame, int size, qreal dpr) {
  QPixmap pm(QSize(size, size) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal u = size / 24.0;
  // The ink of the window's speaker glyphs, with a lighter cone so the shape reads when small.
  const QColor ink(0x20, 0x3a, 0x60);
  QPainterPath box;
  box.addRoundedRect(QRectF(2 * u, 8.5 * u, 4.5 * u, 7 * u), 1 * u, 1 * u);
  QPainterPath cone;
  cone.moveTo(6 * u, 8.5 * u);
  cone.lineTo(11.5 * u, 3.5 * u);
  cone.lineTo(11.5 * u, 20.5 * u);
  cone.lineTo(6 * u, 15.5 * u);
  cone.closeSubpath();
  p.setPen(QPen(ink, 0.8 * u));
  p.setBrush(ink);
  p.drawPath(box);
  p.setBrush(QColor(0x4a, 0x6e, 0xa8));
  p.drawPath(cone);

  // Waves: the first `frame` arcs, the newest one lightest.
  p.setBrush(Qt::NoBrush);
  for (int wave = 0; wave < frame && wave < 3; ++wave) {
    QColor colour = ink;
    colour.setAlphaF(wave == frame - 1 ? 0.55f : 1.0f);
    p.setPen(QPen(colour, 1.7 * u, Qt::SolidLine, Qt::RoundCap));
    const qreal r = (4.0 + 3.5 * wave) * u;
    p.drawArc(QRectF(12 * u - r, 12 * u - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
  return pm;
}

SpeakerAnimation::SpeakerAnimation(QLabel* label, int size)
    : QObject(label), m_label(label), m_timer(new QTimer(this)), m_size(size) {
  m_timer->setInterval(kSpeakerFrameMs);
  connect(m_timer, &QTimer::timeout, this, [this] { Show((m_frame + 1) % kSpeakerFrames); });
  m_label->installEventFilter(this);
  Show(0);
  if (m_label->isVisible()) m_timer->start();
}

bool SpeakerAnimation::Running() const { return m_timer->isActive(); }

void SpeakerAnimation::Show(int frame) {
  m_frame = frame;
  m_label->setPixmap(SpeakerAnimationFrame(frame, m_size, m_label->devicePixelRatioF()));
}

bool SpeakerAnimation::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_label) {
    if (event->type() == QEvent::Show) {
      Show(0);
      m_timer->start();
    } else if (event->type() == QEvent::Hide) {
      m_timer->stop();
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zv
