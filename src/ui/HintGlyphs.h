#pragma once
// Glyphs of the correct-answer and mark windows, drawn in code: the closing buttons' "go on"
// arrow (green for HintBitBtn and good marks, black for HintBitBtn0 and the others) and the
// speaker of the "Ещё раз" buttons; and the Arial fonts both windows use (Liberation Sans
// stands in where Arial is not installed).

#include "exam/HintPhrases.h"

#include <QFont>
#include <QIcon>

namespace zv {

inline constexpr int kButtonGlyphSize = 20;
inline constexpr int kSpeakerGlyphSize = 20;

QIcon ButtonGlyphIcon(ButtonGlyph glyph);
QIcon SpeakerGlyphIcon();

QFont ArialFont(int pixelSize, bool bold, bool italic);

}  // namespace zv
