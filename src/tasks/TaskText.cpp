#include "tasks/TaskText.h"

#include "platform/Cp1251.h"

namespace zv {
namespace {

constexpr unsigned char ShiftedByte(int value, int shift) {
  return static_cast<unsigned char>(shift >= 8 ? 0 : (value << shift) & 0xFF);
}

constexpr unsigned char kOddKey = ShiftedByte(kScrambleA, kScrambleB);
constexpr unsigned char kEvenKey = static_cast<unsigned char>(2 << kScrambleA);

}  // namespace

QByteArray Descramble(QByteArrayView piece) {
  const qsizetype len = piece.size();
  QByteArray out(len, '\0');
  for (qsizetype i = 1; i <= len; ++i) {
    const auto c = static_cast<unsigned char>(piece[i - 1]);
    if (i % 2 == 1) {
      out[len - (i >> kScrambleA) - 1] = static_cast<char>(c ^ kOddKey);
    } else {
      out[(i >> kScrambleA) - 1] = static_cast<char>(kEvenKey ^ static_cast<unsigned char>(c - kScrambleB));
    }
  }
  return out;
}

QByteArray Scramble(QByteArrayView text) {
  const qsizetype len = text.size();
  QByteArray out(len, '\0');
  for (qsizetype i = 1; i <= len; ++i) {
    if (i % 2 == 1) {
      const auto p = static_cast<unsigned char>(text[len - (i >> kScrambleA) - 1]);
      out[i - 1] = static_cast<char>(p ^ kOddKey);
    } else {
      const auto p = static_cast<unsigned char>(text[(i >> kScrambleA) - 1]);
      out[i - 1] = static_cast<char>(static_cast<unsigned char>((p ^ kEvenKey) + kScrambleB));
    }
  }
  return out;
}

bool IsStorable(QByteArrayView stored) {
  for (char c : stored)
    if (c == '\0' || c == kTaskEnd || c == kPieceSeparator || c == kSayingSeparator) return false;
  return true;
}

QByteArray Capitalize(QByteArrayView text) {
  QByteArray out = text.toByteArray();
  if (!out.isEmpty()) out[0] = static_cast<char>(cp1251::ToUpper(static_cast<unsigned char>(out[0])));
  return out;
}

}  // namespace zv
