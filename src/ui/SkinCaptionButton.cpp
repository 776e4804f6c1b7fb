#include "ui/SkinCaptionButton.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace zv {
namespace {

const QColor kGlyph(0x3b, 0x4d, 0x6b);
const QColor kGlyphDisabled(0x9a, 0xa7, 0xba);
const QColor kHoverPlate(0xff, 0xff, 0xff, 190);
const QColor kPressedPlate(0xb9, 0xc7, 0xda);
const QColor kCloseHover(0xd9, 0x4f, 0x4f);
const QColor kFocusRing(0x39, 0x7a, 0xf2);

void DrawGlyph(QPainter& p, CaptionGlyph glyph, const QRectF& box, const QColor& colour) {
  // All glyphs are drawn in a 10 x 10 box centred on the button.
  const QPointF c = box.center();
  const qreal s = 5.0;
  QPen pen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case CaptionGlyph::Close:
      p.drawLine(c + QPointF(-s + 1, -s + 1), c + QPointF(s - 1, s - 1));
      p.drawLine(c + QPointF(s - 1, -s + 1), c + QPointF(-s + 1, s - 1));
      break;
    case CaptionGlyph::Minimise:
      p.drawLine(c + QPointF(-s + 0.5, s - 1), c + QPointF(s - 0.5, s - 1));
      break;
    case CaptionGlyph::About:
      p.setBrush(colour);
      p.setPen(Qt::NoPen);
      p.drawEllipse(c + QPointF(0, -s + 1.2), 1.2, 1.2);
      p.setPen(pen);
      p.drawLine(c + QPointF(0, -0.8), c + QPointF(0, s - 0.5));
      p.drawLine(c + QPointF(-1.6, -0.8), c + QPointF(0, -0.8));
      p.drawLine(c + QPointF(-1.8, s - 0.5), c + QPointF(1.8, s - 0.5));
      break;
    case CaptionGlyph::Update: {
      // A circular arrow: three quarters of a ring and an arrowhead at its open end.
      const QRectF ring(c.x() - s + 0.8, c.y() - s + 0.8, 2 * s - 1.6, 2 * s - 1.6);
      p.drawArc(ring, 90 * 16, 270 * 16);
      const QPointF tip(ring.center().x(), ring.top());
      QPainterPath head;
      head.moveTo(tip + QPointF(3.2, 0));
      head.lineTo(tip + QPointF(-0.2, -2.6));
      head.lineTo(tip + QPointF(-0.2, 2.6));
      head.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      p.drawPath(head);
      break;
    }
    case CaptionGlyph::TaskList:
      for (int row = 0; row < 3; ++row) {
        const qreal y = c.y() - 3.5 + 3.5 * row;
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QPointF(c.x() - s + 1, y), 1.1, 1.1);
        p.setPen(pen);
        p.drawLine(QPointF(c.x() - s + 3.6, y), QPointF(c.x() + s - 0.4, y));
      }
      break;
  }
}

}  // namespace

SkinCaptionButton::SkinCaptionButton(CaptionGlyph glyph, QWidget* parent) : QAbstractButton(parent), m_glyph(glyph) {
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
}

QSize SkinCaptionButton::sizeHint() const { return {22, 20}; }

void SkinCaptionButton::enterEvent(QEnterEvent* event) {
  m_hovered = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SkinCaptionButton::leaveEvent(QEvent* event) {
  m_hovered = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void SkinCaptionButton::focusInEvent(QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  m_keyboardFocus =
      reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
  QAbstractButton::focusInEvent(event);
}

void SkinCaptionButton::focusOutEvent(QFocusEvent* event) {
  m_keyboardFocus = false;
  QAbstractButton::focusOutEvent(event);
}

void SkinCaptionButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF plate = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const bool active = isEnabled() && (m_hovered || isDown());
  QColor glyphColour = isEnabled() ? kGlyph : kGlyphDisabled;
  if (active) {
    const bool close = m_glyph == CaptionGlyph::Close;
    QColor fill = isDown() ? kPressedPlate : kHoverPlate;
    if (close) fill = isDown() ? kCloseHover.darker(115) : kCloseHover;
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(plate, 5, 5);
    if (close) glyphColour = Qt::white;
  }
  if (hasFocus() && m_keyboardFocus) {
    p.setPen(QPen(kFocusRing, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
  }
  QRectF box(0, 0, 10, 10);
  box.moveCenter(QRectF(rect()).center() + (isDown() ? QPointF(0.5, 0.5) : QPointF()));
  DrawGlyph(p, m_glyph, box, glyphColour);
}

}  // namespace zv
