#pragma once
// SkinImage: the embedded skin as a QImage and the window region built from it.

#include "skin/SkinRegion.h"

#include <QImage>
#include <QRegion>

namespace zv {

// The embedded skin decoded once, Format_RGB888. Null if the embedded bytes cannot be decoded
// (then the window keeps its rectangular shape).
const QImage& BuiltinSkinImage();

// A view of an image's pixels for the region builder; the image must be Format_RGB888 and
// outlive the view.
BitmapView ViewOf(const QImage& rgb888);

// The window region of every pixel that is not the key colour. Empty for a null image or one
// that is all key colour. `step` is called once per kSkinRegionRowsPerStep rows scanned.
QRegion SkinRegionOf(const QImage& image, Rgb24 key = kSkinKeyColor, const std::function<void()>& step = {});

}  // namespace zv
