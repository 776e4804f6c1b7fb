#include "SkinRender.h"

#include "skin/SkinLayout.h"

#include <QBuffer>
#include <QColor>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <deque>
#include <vector>

namespace zv {
namespace {

constexpr QRgb kKey = qRgb(skin::kKeyRed, skin::kKeyGreen, skin::kKeyBlue);
const QLatin1String kOutlineId("outline");

struct OutlineFacts {
  bool found = false;
  QString tag;
  QString fill;
  QString pathData;
  QStringList forbidden;  // attributes that would make the coverage wrong
};

OutlineFacts ReadOutline(const QByteArray& svg, QString* xmlError) {
  OutlineFacts facts;
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes attributes = xml.attributes();
    if (attributes.value(QLatin1String("id")) != kOutlineId) continue;
    facts.found = true;
    facts.tag = xml.name().toString();
    facts.fill = attributes.value(QLatin1String("fill")).toString().trimmed();
    facts.pathData = attributes.value(QLatin1String("d")).toString();
    for (const char* name : {"stroke", "transform", "opacity", "fill-opacity", "style"}) {
      const QString value = attributes.value(QLatin1String(name)).toString().trimmed();
      if (value.isEmpty()) continue;
      if (QLatin1String(name) == QLatin1String("stroke") && value == QLatin1String("none")) continue;
      if (QLatin1String(name).endsWith(QLatin1String("opacity")) && value.toDouble() == 1.0) continue;
      facts.forbidden << QLatin1String(name);
    }
    break;
  }
  if (xml.hasError()) *xmlError = xml.errorString();
  return facts;
}

// Every subpath of an SVG path's data must end with a close command. SVG fills an open subpath
// as if it were closed, so only the data tells that the outline was not drawn to the end.
QStringList CheckClosed(const QString& d) {
  QStringList errors;
  static const QRegularExpression command(QStringLiteral("[MmZzLlHhVvCcSsQqTtAa]"));
  int subpaths = 0;
  bool open = false;
  QRegularExpressionMatchIterator it = command.globalMatch(d);
  while (it.hasNext()) {
    const QChar c = it.next().captured(0).at(0);
    if (c == QLatin1Char('M') || c == QLatin1Char('m')) {
      if (open)
        errors << QStringLiteral("subpath %1 of the outline is not closed (no Z before the next M)").arg(subpaths);
      ++subpaths;
      open = true;
    } else if (c == QLatin1Char('Z') || c == QLatin1Char('z')) {
      open = false;
    } else if (!open && subpaths > 0) {
      open = true;  // drawing on after a Z starts a new subpath at the same point
    }
  }
  if (subpaths == 0)
    errors << QStringLiteral("the outline has no path data");
  else if (open)
    errors
        << QStringLiteral("subpath %1 of the outline is not closed (the path data does not end with Z)").arg(subpaths);
  return errors;
}

struct Coverage {
  int width = 0;
  int height = 0;
  std::vector<bool> inside;
  bool at(int x, int y) const { return inside[static_cast<std::size_t>(y) * width + x]; }
};

// Counts the 4-connected pieces of pixels whose inside flag equals `value`; `touchesBorder`
// reports, per piece, whether it reaches the bitmap's border. Returns the first pixel of each.
struct Pieces {
  std::vector<QPoint> first;
  std::vector<bool> touchesBorder;
};
Pieces FindPieces(const Coverage& c, bool value) {
  Pieces pieces;
  std::vector<bool> seen(c.inside.size(), false);
  std::deque<QPoint> queue;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * c.width + x;
      if (seen[i] || c.inside[i] != value) continue;
      bool border = false;
      seen[i] = true;
      queue.push_back({x, y});
      while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        if (p.x() == 0 || p.y() == 0 || p.x() == c.width - 1 || p.y() == c.height - 1) border = true;
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = p + step;
          if (q.x() < 0 || q.y() < 0 || q.x() >= c.width || q.y() >= c.height) continue;
          const std::size_t j = static_cast<std::size_t>(q.y()) * c.width + q.x();
          if (seen[j] || c.inside[j] != value) continue;
          seen[j] = true;
          queue.push_back(q);
        }
      }
      pieces.first.push_back({x, y});
      pieces.touchesBorder.push_back(border);
    }
  }
  return pieces;
}

QString Describe(QRgb c) { return QStringLiteral("RGB(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)); }

void CheckLayout(const QImage& image, const Coverage& coverage, QStringList& errors) {
  auto rectText = [](const SkinRect& r) {
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x).arg(r.y).arg(r.width).arg(r.height);
  };
  auto insideRect = [&](const SkinRect& r) {
    if (r.x < 0 || r.y < 0 || r.right() > coverage.width || r.bottom() > coverage.height) return false;
    for (int y = r.y; y < r.bottom(); ++y)
      for (int x = r.x; x < r.right(); ++x)
        if (!coverage.at(x, y)) return false;
    return true;
  };
  // The first pixel of `r` whose colour is not `colour`, or (-1, -1).
  auto offColour = [&](const SkinRect& r, QRgb colour) {
    for (int y = r.y; y < r.bottom(); ++y)
      for (int x = r.x; x < r.right(); ++x)
        if (image.pixel(x, y) != colour) return QPoint(x, y);
    return QPoint(-1, -1);
  };
  auto flatAt = [&](SkinPoint p, QRgb* colour) {
    if (p.x < 1 || p.y < 1 || p.x + 1 >= coverage.width || p.y + 1 >= coverage.height) return false;
    *colour = image.pixel(p.x, p.y);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (!coverage.at(p.x + dx, p.y + dy) || image.pixel(p.x + dx, p.y + dy) != *colour) return false;
    return true;
  };

  for (const SkinRect& r : skin::kInsideShape)
    if (!insideRect(r)) errors << QStringLiteral("layout rectangle %1 is not wholly inside the shape").arg(rectText(r));

  // A control coloured from the skin must lie on calm colour: the point it samples sits on
  // flat colour (3 x 3 pixels alike, so a one-pixel shift of the artwork changes nothing) and
  // the artwork under the whole control is that colour, so the control blends in.
  for (const skin::SampledControl& control : skin::kSampledControls) {
    const QString name = QLatin1String(control.name);
    if (!insideRect(control.rect)) {
      errors << QStringLiteral("%1 %2 is not wholly inside the shape").arg(name, rectText(control.rect));
      continue;
    }
    const SkinPoint p = SkinSamplePoint(control.rect, control.rule);
    QRgb colour = 0;
    if (!flatAt(p, &colour)) {
      errors << QStringLiteral("%1 takes its colour at (%2, %3), which is not on flat colour inside the shape")
                    .arg(name)
                    .arg(p.x)
                    .arg(p.y);
      continue;
    }
    const QPoint off = offColour(control.rect, colour);
    if (off.x() >= 0)
      errors << QStringLiteral("%1 %2 takes %3 from (%4, %5) but the artwork under it is %6 at (%7, %8)")
                    .arg(name, rectText(control.rect), Describe(colour))
                    .arg(p.x)
                    .arg(p.y)
                    .arg(Describe(image.pixel(off)))
                    .arg(off.x())
                    .arg(off.y());
  }

  // The main window gives these controls the colour of another one.
  struct SameColour {
    const char* name;
    SkinRect rect;
    const char* sourceName;
    SkinRect source;
    SkinSample rule;
  };
  const SameColour pairs[] = {
      {"DirStatusPanel", skin::DirStatusPanel, "StatusPanel", skin::StatusPanel, SkinSample::TopLeft},
      {"LiveUpdatePanel", skin::LiveUpdatePanel, "TaskListPanel", skin::TaskListPanel, SkinSample::BelowLeft},
      {"DirGroupBox", skin::DirGroupBox, "GenGroupBox", skin::GenGroupBox, SkinSample::TopLeft},
      {"SoundGroupBox", skin::SoundGroupBox, "GenGroupBox", skin::GenGroupBox, SkinSample::TopLeft},
      {"RepGroupBox", skin::RepGroupBox, "TLGroupBox", skin::TLGroupBox, SkinSample::TopLeft},
  };
  for (const SameColour& pair : pairs) {
    const SkinPoint p = SkinSamplePoint(pair.source, pair.rule);
    if (!insideRect(pair.rect) || p.x < 0 || p.y < 0 || p.x >= image.width() || p.y >= image.height()) continue;
    const QRgb colour = image.pixel(p.x, p.y);
    const QPoint off = offColour(pair.rect, colour);
    if (off.x() >= 0)
      errors << QStringLiteral("%1 gets the colour of %2 (%3) but the artwork under it is %4 at (%5, %6)")
                    .arg(QLatin1String(pair.name),
                         QLatin1String(pair.sourceName),
                         Describe(colour),
                         Describe(image.pixel(off)))
                    .arg(off.x())
                    .arg(off.y());
  }
}

}  // namespace

SkinRenderResult RenderSkin(const QByteArray& svg, const SkinRenderRules& rules) {
  SkinRenderResult result;
  QStringList& errors = result.errors;

  QString xmlError;
  const OutlineFacts outline = ReadOutline(svg, &xmlError);
  if (!xmlError.isEmpty()) {
    errors << QStringLiteral("the artwork is not well-formed XML: %1").arg(xmlError);
    return result;
  }
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    errors << QStringLiteral("the artwork is not an SVG document that can be drawn");
    return result;
  }
  const QSize size = renderer.defaultSize();
  if (size != QSize(rules.width, rules.height) || renderer.viewBoxF() != QRectF(0, 0, rules.width, rules.height)) {
    errors << QStringLiteral("the artwork must be %1 x %2 with the view box 0 0 %1 %2 (it is %3 x %4)")
                  .arg(rules.width)
                  .arg(rules.height)
                  .arg(size.width())
                  .arg(size.height());
    return result;
  }

  if (!outline.found || !renderer.elementExists(kOutlineId)) {
    errors << QStringLiteral("the artwork has no element with id \"outline\" (the window's shape)");
    return result;
  }
  if (outline.tag != QLatin1String("path"))
    errors << QStringLiteral("the outline must be a <path>, not <%1>").arg(outline.tag);
  else
    errors << CheckClosed(outline.pathData);
  const QColor fill(outline.fill);
  if (!outline.fill.startsWith(QLatin1Char('#')) || !fill.isValid())
    errors << QStringLiteral("the outline's fill must be a plain #rrggbb colour (it is \"%1\")").arg(outline.fill);
  else if (fill.rgb() == kKey)
    errors << QStringLiteral("the outline's fill is the key colour RGB(2, 4, 8)");
  for (const QString& attribute : outline.forbidden)
    errors << QStringLiteral("the outline must not carry \"%1\"; its coverage defines the shape").arg(attribute);
  if (!errors.isEmpty()) return result;

  // 1. Coverage of the shape.
  QImage shape(size, QImage::Format_ARGB32_Premultiplied);
  shape.fill(Qt::transparent);
  {
    QPainter painter(&shape);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, kOutlineId, renderer.boundsOnElement(kOutlineId));
  }
  Coverage coverage{
      size.width(), size.height(), std::vector<bool>(static_cast<std::size_t>(size.width()) * size.height())};
  int insideCount = 0;
  for (int y = 0; y < size.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const bool in = qAlpha(line[x]) >= 128;
      coverage.inside[static_cast<std::size_t>(y) * size.width() + x] = in;
      insideCount += in ? 1 : 0;
    }
  }
  if (insideCount == 0) {
    errors << QStringLiteral("the outline covers no pixel: the window would have no shape");
    return result;
  }
  const Pieces solid = FindPieces(coverage, true);
  if (solid.first.size() > 1)
    errors << QStringLiteral("the shape falls apart into %1 pieces (the second starts at (%2, %3))")
                  .arg(solid.first.size())
                  .arg(solid.first[1].x())
                  .arg(solid.first[1].y());
  const Pieces outside = FindPieces(coverage, false);
  for (std::size_t i = 0; i < outside.first.size(); ++i)
    if (!outside.touchesBorder[i]) {
      errors << QStringLiteral("the shape has a hole at (%1, %2)").arg(outside.first[i].x()).arg(outside.first[i].y());
      break;
    }

  // 2. The artwork over the inside colour; 3. the key colour outside.
  QImage art(size, QImage::Format_RGB32);
  art.fill(fill);
  {
    QPainter painter(&art);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
  }
  QImage bitmap(size, QImage::Format_RGB888);
  int keyInside = 0;
  QPoint firstKeyInside;
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      QRgb colour = kKey;
      if (coverage.at(x, y)) {
        colour = art.pixel(x, y) | 0xFF000000u;
        if ((colour & 0xFFFFFFu) == (kKey & 0xFFFFFFu) && keyInside++ == 0) firstKeyInside = {x, y};
      }
      bitmap.setPixel(x, y, colour);
    }
  }
  if (keyInside > 0)
    errors << QStringLiteral(
                  "%1 pixel(s) inside the shape have the key colour RGB(2, 4, 8), the first at (%2, %3):"
                  " they would be holes in the window")
                  .arg(keyInside)
                  .arg(firstKeyInside.x())
                  .arg(firstKeyInside.y());

  if (rules.checkLayout && rules.width == skin::kWidth && rules.height == skin::kHeight)
    CheckLayout(bitmap, coverage, errors);

  result.image = bitmap;
  return result;
}

QByteArray EncodeSkinPng(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG");
  return png;
}

QByteArray GenerateSkinSource(const QByteArray& png, const QString& origin) {
  QByteArray out;
  out += "// Generated by zvskin from " + origin.toUtf8() + "; do not edit.\n";
  out += "#include \"ui/SkinArtwork.h\"\n\nnamespace zv {\nnamespace {\nconst unsigned char kPng[] = {";
  for (qsizetype i = 0; i < png.size(); ++i) {
    if (i % 20 == 0) out += "\n ";
    out += ' ';
    out += QByteArray::number(static_cast<unsigned char>(png[i]));
    out += ',';
  }
  out += "\n};\n}  // namespace\n\n";
  out += "const unsigned char* SkinArtworkPng() { return kPng; }\n";
  out += "std::size_t SkinArtworkPngSize() { return sizeof kPng; }\n\n}  // namespace zv\n";
  return out;
}

}  // namespace zv
