#include "exam/MarkLook.h"

#include "platform/RandomSource.h"

#include <algorithm>
#include <array>

namespace zv {

MarkLook MarkLookFor(int mark) {
  static constexpr std::array<SoundCategory, 6> kComments = {SoundCategory::Mark0,
                                                             SoundCategory::Mark1,
                                                             SoundCategory::Mark2,
                                                             SoundCategory::Mark3,
                                                             SoundCategory::Mark4,
                                                             SoundCategory::Mark5};
  MarkLook look;
  look.mark = std::clamp(mark, 0, 5);
  look.digit = QString::number(look.mark);
  look.glyph = look.mark >= 4 ? ButtonGlyph::Green : ButtonGlyph::Black;
  look.flashes = look.mark == 5;
  look.comment = kComments[static_cast<std::size_t>(look.mark)];
  return look;
}

FlashColors DrawFlashColors(RandomSource& random) {
  auto rgb = [&random] {
    const auto r = static_cast<std::uint32_t>(random.Uniform(256));
    const auto g = static_cast<std::uint32_t>(random.Uniform(256));
    const auto b = static_cast<std::uint32_t>(random.Uniform(256));
    return (r << 16) | (g << 8) | b;
  };
  FlashColors c;
  c.background = rgb();
  c.lettering = rgb();
  return c;
}

}  // namespace zv
