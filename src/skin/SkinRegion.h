#pragma once
// SkinRegion: the window's shape from the skin bitmap.
//
// The shape is every pixel that is not of the key colour. Each row is scanned left to right
// and split into runs of equal colour; key-coloured runs are left out, so what remains of a
// row is a list of spans one pixel high. Runs are merged only along a row. The widget turns
// the spans into its mask (QRegion::setRects accepts them as they come: sorted by row, then
// by column, never touching or overlapping).

#include <cstdint>
#include <functional>
#include <vector>

namespace zv {

struct Rgb24 {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend constexpr bool operator==(Rgb24, Rgb24) = default;
};

inline constexpr Rgb24 kSkinKeyColor{2, 4, 8};

// A read-only view of a 24-bit bitmap: rows top to bottom, three bytes per pixel in the order
// red, green, blue, `bytesPerLine` bytes from the start of one row to the next (rows may be
// padded). The view does not own the pixels.
struct BitmapView {
  int width = 0;
  int height = 0;
  int bytesPerLine = 0;
  const std::uint8_t* bits = nullptr;

  Rgb24 pixel(int x, int y) const {
    const std::uint8_t* p = bits + static_cast<std::ptrdiff_t>(y) * bytesPerLine + 3 * x;
    return {p[0], p[1], p[2]};
  }
};

struct RegionSpan {
  int x = 0;
  int y = 0;
  int width = 0;  // one row high
  friend constexpr bool operator==(RegionSpan, RegionSpan) = default;
};

// Rows scanned between two calls of the step callback.
inline constexpr int kSkinRegionRowsPerStep = 128;

// The spans of every non-key pixel. A bitmap of width or height 0, or without pixels, gives no
// span (the empty region); so does a bitmap that is all key colour.
// `step`, when given, is called each time another kSkinRegionRowsPerStep rows have been
// scanned (a partial block at the bottom makes no call): start-up advances its progress
// display with it while the main window's shape is built.
std::vector<RegionSpan> BuildSkinRegion(const BitmapView& bitmap, Rgb24 key = kSkinKeyColor,
                                        const std::function<void()>& step = {});

}  // namespace zv
