#pragma once
// The stored form of catalogue text and the rules on its single-byte codes.
//
// Every piece (phrase, interpretation, saying) is stored scrambled; the stored task text uses
// "c" (0x63) and "o" (0x6F) as separators and the sayings text "^" (0x5E), and the whole text
// ends in a zero byte. The two parameters are chosen so that Descramble is a true inverse of
// Scramble and, for the characters our content uses, no stored byte is a separator or zero:
//   odd input positions (1-based) fill the result from the back and are XORed with the byte of
//   (a << b), which is 0 for b >= 8 -- they are only moved;
//   even input positions fill it from the front and become (2 << a) XOR (c - b).
// With a = 1 the two position maps are a bijection for every length. b = 83 sends the
// plaintexts that would store as a separator or zero into unused control and symbol codes
// (0x0F, 0x14, 0x18, 0xA9) at even positions; at odd positions the stored byte is the plain
// one, so the content must not put Latin "c" or "o" there. The content compiler proves both
// for the actual content.

#include <QByteArray>
#include <QByteArrayView>

namespace zv {

inline constexpr int kScrambleA = 1;
inline constexpr int kScrambleB = 83;
inline constexpr char kTaskEnd = 'c';
inline constexpr char kPieceSeparator = 'o';
inline constexpr char kSayingSeparator = '^';
inline constexpr int kMaxPiece = 255;

QByteArray Descramble(QByteArrayView piece);
QByteArray Scramble(QByteArrayView text);
// True when no byte of the stored form is a separator or zero.
bool IsStorable(QByteArrayView stored);

// Upper-cases the first character when it is a small letter (a-z, а-я, ё -> Ё). Anything else
// (digits, quotation marks, capitals) is left as it is.
QByteArray Capitalize(QByteArrayView text);

}  // namespace zv
