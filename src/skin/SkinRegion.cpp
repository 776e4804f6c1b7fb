#include "skin/SkinRegion.h"

namespace zv {

std::vector<RegionSpan> BuildSkinRegion(const BitmapView& bitmap, Rgb24 key, const std::function<void()>& step) {
  std::vector<RegionSpan> spans;
  if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.bits == nullptr || bitmap.bytesPerLine < 3 * bitmap.width)
    return spans;

  for (int y = 0; y < bitmap.height; ++y) {
    // Walk the row run by run; a run ends where the colour changes or at the right edge,
    // and every run that is not of the key colour stays in the shape. Neighbouring non-key
    // runs of different colours join into one span.
    int spanStart = -1;
    int x = 0;
    while (x < bitmap.width) {
      const Rgb24 colour = bitmap.pixel(x, y);
      int runEnd = x + 1;
      while (runEnd < bitmap.width && bitmap.pixel(runEnd, y) == colour) ++runEnd;
      if (colour == key) {
        if (spanStart >= 0) spans.push_back({spanStart, y, x - spanStart});
        spanStart = -1;
      } else if (spanStart < 0) {
        spanStart = x;
      }
      x = runEnd;
    }
    if (spanStart >= 0) spans.push_back({spanStart, y, bitmap.width - spanStart});
    if (step && (y + 1) % kSkinRegionRowsPerStep == 0) step();
  }
  return spans;
}

}  // namespace zv
