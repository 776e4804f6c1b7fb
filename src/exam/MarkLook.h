#pragma once
// MarkLook: what the mark window (TMarkForm) shows for a mark, decided without widgets.

#include "exam/HintPhrases.h"
#include "sound/SoundService.h"

#include <QString>

#include <cstdint>

namespace zv {

class RandomSource;

struct MarkLook {
  int mark = 0;                            // 0..5 (a value outside is clamped to the nearer end)
  QString digit;                           // Label2
  ButtonGlyph glyph = ButtonGlyph::Black;  // BitBtn1: green for 4 and 5, black for 0..3
  bool flashes = false;                    // MarkTimer runs (mark 5 only)
  SoundCategory comment = SoundCategory::Mark0;
};

MarkLook MarkLookFor(int mark);

// One flash of the digit: background RGB(a, b, c) and lettering RGB(d, e, f), drawn in that
// order, each from 0..255.
struct FlashColors {
  std::uint32_t background = 0;  // 0xRRGGBB
  std::uint32_t lettering = 0;
};
FlashColors DrawFlashColors(RandomSource& random);

}  // namespace zv
