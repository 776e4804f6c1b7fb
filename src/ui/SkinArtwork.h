#pragma once
// The skin bitmap embedded at build time: zvskin (tools/skin) renders content/skin/skin.svg,
// checks it and generates the definition of these two functions. The bytes are a PNG without
// alpha of skin::kWidth x skin::kHeight whose outside pixels are exactly RGB(2, 4, 8).

#include <cstddef>

namespace zv {
const unsigned char* SkinArtworkPng();
std::size_t SkinArtworkPngSize();
}  // namespace zv
