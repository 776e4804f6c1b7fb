#include "sound/BuiltInSounds.h"

namespace zv {

QByteArray DeltaDecode(std::span<const unsigned char> stored) {
  if (stored.empty()) return {};
  QByteArray out;
  out.reserve(static_cast<qsizetype>(stored.size()) - 1);
  unsigned char previous = stored[0];
  for (std::size_t i = 1; i < stored.size(); ++i) {
    previous = static_cast<unsigned char>(previous + stored[i]);
    out.append(static_cast<char>(previous));
  }
  return out;
}

const QByteArray& BuiltInSoundFile(BuiltInSound sound) {
  static const QByteArray tick = DeltaDecode(builtin::kTickStored);
  static const QByteArray tack = DeltaDecode(builtin::kTackStored);
  return sound == BuiltInSound::Tick ? tick : tack;
}

}  // namespace zv
