#include "ui/TBitBtn.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextLayout>

namespace zv {
namespace {

constexpr int kGlyph = 18;
constexpr int kPadding = 6;

// Lays `text` out in `width` with `font`; returns the lines' total height.
qreal LayOut(QTextLayout& layout, qreal width) {
  layout.beginLayout();
  qreal y = 0;
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout.endLayout();
  return y;
}

}  // namespace

void PaintGlyph(QPainter& p, const QRectF& box, GlyphKind kind) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c = box.center();
  const qreal r = box.width() / 2.0 - 0.5;
  switch (kind) {
    case GlyphKind::Question: {
      p.setPen(QPen(QColor(40, 78, 150), 1.2));
      p.setBrush(QColor(222, 232, 250));
      p.drawEllipse(c, r, r);
      QFont f(QStringLiteral("Arial"));
      f.setPixelSize(static_cast<int>(box.height() * 0.72));
      f.setBold(true);
      p.setFont(f);
      p.setPen(QColor(40, 78, 150));
      p.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case GlyphKind::Ok:
    case GlyphKind::Yes: {
      const bool yes = kind == GlyphKind::Yes;
      if (yes) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 240, 214));
        p.drawEllipse(c, r, r);
      }
      QPainterPath tick;
      tick.moveTo(box.left() + box.width() * 0.2, box.top() + box.height() * 0.55);
      tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.76);
      tick.lineTo(box.left() + box.width() * 0.82, box.top() + box.height() * 0.26);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(yes ? QColor(20, 140, 40) : QColor(30, 110, 60), yes ? 3.0 : 2.4, Qt::SolidLine,
                    Qt::RoundCap, Qt::RoundJoin));
      p.drawPath(tick);
      break;
    }
    case GlyphKind::Cancel: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(250, 220, 220));
      p.drawEllipse(c, r, r);
      const qreal d = box.width() * 0.24;
      p.setPen(QPen(QColor(200, 30, 30), 2.8, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
      p.drawLine(QPointF(c.x() + d, c.y() - d), QPointF(c.x() - d, c.y() + d));
      break;
    }
  }
  p.restore();
}

QIcon GlyphIcon(GlyphKind kind, int size) {
  QIcon icon;
  for (const qreal dpr : {1.0, 2.0}) {
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    PaintGlyph(p, QRectF(0, 0, size, size), kind);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

TBitBtn::TBitBtn(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
}

void TBitBtn::SetKind(GlyphKind kind) {
  if (kind == m_kind) return;
  m_kind = kind;
  update();
}

void TBitBtn::SetGlyphVisible(bool visible) {
  m_glyphVisible = visible;
  update();
}

QSize TBitBtn::sizeHint() const {
  const QFontMetrics fm(font());
  const int glyph = m_glyphVisible ? kGlyph + kPadding : 0;
  return {fm.horizontalAdvance(text()) + glyph + 3 * kPadding, std::max(fm.height(), kGlyph) + 10};
}

void TBitBtn::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
    animateClick();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void TBitBtn::enterEvent(QEnterEvent* event) {
  m_hovered = true;
  update();
  QAbstractButton::enterEvent(event);
}

void TBitBtn::leaveEvent(QEvent* event) {
  m_hovered = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void TBitBtn::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF plate = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const bool down = isDown();
  const bool active = isEnabled();

  QColor top(252, 252, 250), bottom(230, 233, 238);
  if (m_hovered && active) {
    top = QColor(255, 255, 255);
    bottom = QColor(236, 241, 250);
  }
  if (down) std::swap(top, bottom);
  QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  const QColor border = hasFocus() ? QColor(70, 110, 190) : QColor(150, 158, 172);
  p.setPen(QPen(border, hasFocus() ? 1.6 : 1.0));
  p.setBrush(fill);
  p.drawRoundedRect(plate, 5, 5);

  qreal x = kPadding + (down ? 1 : 0);
  const qreal shift = down ? 1 : 0;
  if (m_glyphVisible) {
    const QRectF glyph(x, (height() - kGlyph) / 2.0 + shift, kGlyph, kGlyph);
    PaintGlyph(p, glyph, m_kind);
    x += kGlyph + kPadding;
  }

  // The caption: one line if it fits, else wrapped; smaller until it fits the height.
  const qreal width = std::max<qreal>(10, this->width() - x - kPadding);
  QFont f = font();
  QTextOption option(m_glyphVisible ? Qt::AlignLeft : Qt::AlignHCenter);
  option.setWrapMode(QTextOption::WordWrap);
  QTextLayout layout(text(), f);
  layout.setTextOption(option);
  qreal h = LayOut(layout, width);
  for (qreal size = f.pointSizeF(); h > height() - 2 && size > 6.5; ) {
    size -= 0.5;
    f.setPointSizeF(size);
    layout.setFont(f);
    h = LayOut(layout, width);
  }
  p.setPen(active ? QColor(20, 24, 32) : QColor(140, 140, 140));
  layout.draw(&p, QPointF(x, (height() - h) / 2.0 + shift));
}

}  // namespace zv
