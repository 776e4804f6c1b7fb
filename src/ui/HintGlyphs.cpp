#include "ui/HintGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace zv {
namespace {

// A disc with a white arrow pointing right, drawn on a size x size canvas of unit scale.
QPixmap ArrowDisc(int size, qreal dpr, QColor light, QColor dark) {
  QPixmap pm(QSize(size, size) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(1, 1, size - 2, size - 2);
  QRadialGradient shade(disc.center() - QPointF(size / 6.0, size / 6.0), size * 0.7);
  shade.setColorAt(0, light);
  shade.setColorAt(1, dark);
  p.setPen(QPen(dark.darker(130), 1));
  p.setBrush(shade);
  p.drawEllipse(disc);

  // Arrow: a shaft and a head, centred in the disc.
  const qreal u = size / 20.0;
  QPainterPath arrow;
  arrow.moveTo(5 * u, 8.5 * u);
  arrow.lineTo(10 * u, 8.5 * u);
  arrow.lineTo(10 * u, 5 * u);
  arrow.lineTo(15.5 * u, 10 * u);
  arrow.lineTo(10 * u, 15 * u);
  arrow.lineTo(10 * u, 11.5 * u);
  arrow.lineTo(5 * u, 11.5 * u);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(arrow);
  return pm;
}

QPixmap Speaker(int size, qreal dpr) {
  QPixmap pm(QSize(size, size) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal u = size / 20.0;
  const QColor ink(0x20, 0x3a, 0x60);
  QPainterPath body;
  body.moveTo(2 * u, 7.5 * u);
  body.lineTo(6 * u, 7.5 * u);
  body.lineTo(11 * u, 3 * u);
  body.lineTo(11 * u, 17 * u);
  body.lineTo(6 * u, 12.5 * u);
  body.lineTo(2 * u, 12.5 * u);
  body.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPath(body);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ink, 1.6 * u, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(9 * u, 6.5 * u, 6 * u, 7 * u), -50 * 16, 100 * 16);
  p.drawArc(QRectF(8.5 * u, 3.5 * u, 10 * u, 13 * u), -50 * 16, 100 * 16);
  return pm;
}

}  // namespace

QIcon ButtonGlyphIcon(ButtonGlyph glyph) {
  const QColor light = glyph == ButtonGlyph::Green ? QColor(0x6c, 0xc8, 0x6a) : QColor(0x77, 0x77, 0x77);
  const QColor dark = glyph == ButtonGlyph::Green ? QColor(0x1b, 0x7a, 0x2a) : QColor(0x14, 0x14, 0x14);
  QIcon icon;
  icon.addPixmap(ArrowDisc(kButtonGlyphSize, 1.0, light, dark));
  icon.addPixmap(ArrowDisc(kButtonGlyphSize, 2.0, light, dark));
  return icon;
}

QFont ArialFont(int pixelSize, bool bold, bool italic) {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

QIcon SpeakerGlyphIcon() {
  QIcon icon;
  icon.addPixmap(Speaker(kSpeakerGlyphSize, 1.0));
  icon.addPixmap(Speaker(kSpeakerGlyphSize, 2.0));
  return icon;
}

}  // namespace zv
