#include "ui/TBitBtn.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextLayout>

#include <algorithm>

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

// The cancel glyph: the red letter "Х" in the caption's family, bold.
const QString kCancelLetter = QString(QChar(0x0425));
const QColor kCancelRed(204, 20, 20);

QFont CancelLetterFont(const QFont& caption) {
  QFont f = caption;
  f.setBold(true);
  f.setItalic(false);
  f.setUnderline(false);
  return f;
}

// One size smaller: a pixel, or half a point; false at the smallest legible size.
bool Smaller(QFont& f) {
  if (f.pixelSize() > 0) {
    if (f.pixelSize() <= 9) return false;
    f.setPixelSize(f.pixelSize() - 1);
    return true;
  }
  if (f.pointSizeF() <= 6.5) return false;
  f.setPointSizeF(f.pointSizeF() - 0.5);
  return true;
}

// Whether the cancel letter begins the caption's word: the caption goes on in lower case.
bool ContinuesCancelLetter(const QString& caption) { return !caption.isEmpty() && caption.at(0).isLower(); }

// The room between the cancel letter and the rest of its word: a spaced-out caption
// ("в а т и т !") keeps its own spacing, a plain one ("ва") follows as the word does.
qreal CancelGap(const QString& caption, const QFont& font) {
  if (caption.size() > 1 && caption.at(1) == QLatin1Char(' '))
    return QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
  return 0.5;
}

}  // namespace

void PaintGlyph(QPainter& p, const QRectF& box, GlyphKind kind, const QFont& font) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c = box.center();
  const qreal r = box.width() / 2.0 - 0.5;
  switch (kind) {
    case GlyphKind::Question: {
      p.setPen(QPen(QColor(40, 78, 150), 1.2));
      p.setBrush(QColor(222, 232, 250));
      p.drawEllipse(c, r, r);
      QFont f(font);
      f.setPixelSize(static_cast<int>(box.height() * 0.72));
      f.setBold(true);
      f.setItalic(false);
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
      p.setPen(QPen(yes ? QColor(20, 140, 40) : QColor(30, 110, 60),
                    yes ? 3.0 : 2.4,
                    Qt::SolidLine,
                    Qt::RoundCap,
                    Qt::RoundJoin));
      p.drawPath(tick);
      break;
    }
    case GlyphKind::Cancel: {
      // The letter filling the box's height, centred (icons for other windows' buttons).
      QFont f = CancelLetterFont(font);
      f.setPixelSize(std::max(8, static_cast<int>(box.height() * 0.95)));
      p.setFont(f);
      p.setPen(kCancelRed);
      p.drawText(box, Qt::AlignCenter, kCancelLetter);
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

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
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

void TBitBtn::SetCentred(bool centred) {
  m_centred = centred;
  update();
}

void TBitBtn::SetGlyphOnRight(bool right) {
  m_glyphOnRight = right;
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
  QPushButton::keyPressEvent(event);
}

void TBitBtn::enterEvent(QEnterEvent* event) {
  m_hovered = true;
  update();
  QPushButton::enterEvent(event);
}

void TBitBtn::leaveEvent(QEvent* event) {
  m_hovered = false;
  update();
  QPushButton::leaveEvent(event);
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

  const qreal shift = down ? 1 : 0;
  const QString caption = text();
  const bool iconGlyph = m_glyphVisible && !icon().isNull();
  // A caption of its own ("Отказываюсь от испытаний", a wrong answer) has the letter in the
  // glyph's place, like the other kinds.
  const bool letterGlyph =
      m_glyphVisible && !iconGlyph && m_kind == GlyphKind::Cancel && ContinuesCancelLetter(caption);

  // The caption: one line if it fits, else wrapped; smaller until it fits the height.
  QFont f = font();
  QTextOption option(m_glyphVisible ? Qt::AlignLeft : Qt::AlignHCenter);
  option.setWrapMode(QTextOption::WordWrap);
  QTextLayout layout(caption, f);
  layout.setTextOption(option);
  qreal glyphWidth = 0;
  qreal gap = 0;
  auto measureGlyph = [&] {
    if (iconGlyph) {
      glyphWidth = iconSize().width();
      gap = kPadding;
    } else if (letterGlyph) {
      glyphWidth = QFontMetricsF(CancelLetterFont(f)).horizontalAdvance(kCancelLetter);
      gap = CancelGap(caption, f);
    } else if (m_glyphVisible) {
      glyphWidth = kGlyph;
      gap = kPadding;
    }
  };
  measureGlyph();
  auto room = [&] { return std::max<qreal>(10, this->width() - 2 * kPadding - glyphWidth - gap); };
  qreal h = LayOut(layout, room());
  while (h > height() - 2 && Smaller(f)) {
    layout.setFont(f);
    measureGlyph();
    h = LayOut(layout, room());
  }

  // Glyph and caption start at the left padding, or are centred together on one line.
  qreal x = kPadding + shift;
  if (m_centred && layout.lineCount() == 1)
    x = std::max<qreal>(kPadding, (this->width() - glyphWidth - gap - layout.lineAt(0).naturalTextWidth()) / 2.0) +
        shift;
  const qreal textTop = (height() - h) / 2.0 + shift;
  qreal textX = x + glyphWidth + gap;
  if (m_glyphOnRight) {
    textX = x;
    x += (layout.lineCount() == 1 ? layout.lineAt(0).naturalTextWidth() : room()) + gap;
  }
  if (iconGlyph) {
    const QSize size = iconSize();
    const QPixmap pm = icon().pixmap(size, devicePixelRatioF(), active ? QIcon::Normal : QIcon::Disabled);
    p.drawPixmap(QPointF(x, (height() - size.height()) / 2.0 + shift), pm);
  } else if (letterGlyph) {
    // On the caption's baseline, so the letter and the caption read as one word.
    const QFont letterFont = CancelLetterFont(f);
    const QFontMetricsF metrics(letterFont);
    const qreal baseline = layout.lineCount() > 0 ? textTop + layout.lineAt(0).y() + layout.lineAt(0).ascent()
                                                  : (height() + metrics.capHeight()) / 2.0 + shift;
    p.setFont(letterFont);
    p.setPen(active ? kCancelRed : QColor(170, 140, 140));
    p.drawText(QPointF(x, baseline), kCancelLetter);
  } else if (m_glyphVisible) {
    PaintGlyph(p, QRectF(x, (height() - kGlyph) / 2.0 + shift, kGlyph, kGlyph), m_kind, f);
  }

  QColor ink(20, 24, 32);
  if (palette().isBrushSet(QPalette::Active, QPalette::ButtonText))
    ink = palette().color(QPalette::Active, QPalette::ButtonText);
  p.setPen(active ? ink : QColor(140, 140, 140));
  layout.draw(&p, QPointF(textX, textTop));
}

}  // namespace zv
