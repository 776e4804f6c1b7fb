#pragma once
// SkinRender: turns the skin artwork (SVG) into the window's 24-bit bitmap and checks it.
//
// The shape is the element with id "outline": one or more closed subpaths with a solid fill,
// no stroke, no transform, full opacity. Rendering:
//   1. the outline alone gives each pixel's coverage of the shape;
//   2. the whole artwork is drawn with antialiasing over a canvas filled with the outline's own
//      colour, so edge pixels blend toward the inside colour and never toward the key colour;
//   3. every pixel covered less than half becomes exactly the key colour RGB(2, 4, 8); every
//      other pixel keeps its colour, and a kept pixel that is the key colour is an error.
// Checks: the document's size, the outline (present, closed, solid), the shape (not empty, in
// one piece, without holes), no key colour inside and, with the layout check on, every
// rectangle and sampling point of SkinLayout.h (inside the shape, on flat colour, equal
// colours where the main window gives one panel the colour of another).

#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace zv {

struct SkinRenderRules {
  int width = 580;
  int height = 468;
  bool checkLayout = true;  // off for small test artworks that are not the main window
};

struct SkinRenderResult {
  QImage image;        // Format_RGB888, width x height; null when the artwork cannot be drawn
  QStringList errors;  // empty when every rule holds
  bool ok() const { return errors.isEmpty() && !image.isNull(); }
};

SkinRenderResult RenderSkin(const QByteArray& svg, const SkinRenderRules& rules = {});

// The bitmap as a PNG without alpha (colour type 2, 8 bits per channel).
QByteArray EncodeSkinPng(const QImage& image);

// A C++ source defining SkinArtworkPng() and SkinArtworkPngSize() (ui/SkinArtwork.h).
QByteArray GenerateSkinSource(const QByteArray& png, const QString& origin);

}  // namespace zv
