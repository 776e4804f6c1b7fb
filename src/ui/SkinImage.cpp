#include "ui/SkinImage.h"

#include "ui/SkinArtwork.h"

#include <QRect>

#include <vector>

namespace zv {

const QImage& BuiltinSkinImage() {
  static const QImage image = [] {
    QImage decoded;
    decoded.loadFromData(SkinArtworkPng(), static_cast<int>(SkinArtworkPngSize()), "PNG");
    return decoded.isNull() ? decoded : decoded.convertToFormat(QImage::Format_RGB888);
  }();
  return image;
}

BitmapView ViewOf(const QImage& rgb888) {
  if (rgb888.isNull() || rgb888.format() != QImage::Format_RGB888) return {};
  return {rgb888.width(), rgb888.height(), static_cast<int>(rgb888.bytesPerLine()), rgb888.constBits()};
}

QRegion SkinRegionOf(const QImage& image, Rgb24 key, const std::function<void()>& step) {
  const QImage rgb = image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
  const std::vector<RegionSpan> spans = BuildSkinRegion(ViewOf(rgb), key, step);
  std::vector<QRect> rects;
  rects.reserve(spans.size());
  for (const RegionSpan& s : spans) rects.emplace_back(s.x, s.y, s.width, 1);
  QRegion region;
  // The spans are sorted by row and column, one row high and never touching: the banded form
  // QRegion takes without re-sorting.
  if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
  return region;
}

}  // namespace zv
