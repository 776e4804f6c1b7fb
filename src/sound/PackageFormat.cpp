#include "sound/PackageFormat.h"

#include <array>

namespace zv {

namespace {

const std::array<const char*, kPackageCount> kCategoryNames = {
    "y",  "f",  "m0", "m1", "m2", "m3", "m4", "m5",  "n",   "t",   "s",   "q1",  "q2",
    "q3", "q4", "q5", "q6", "q7", "q8", "q9", "q10", "q11", "q12", "q13", "q14", "q15"};

void AppendLittleEndian(QByteArray& out, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

void PutLittleEndian(QByteArray& out, qsizetype at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
}

}  // namespace

QString PackageCategoryName(int category) {
  if (category < 0 || category >= kPackageCount) return {};
  return QString::fromLatin1(kCategoryNames[static_cast<std::size_t>(category)]);
}

QString PackageFileName(int category) {
  const QString name = PackageCategoryName(category);
  return name.isEmpty() ? QString() : QStringLiteral("zv") + name + QStringLiteral(".cok");
}

int OffsetWidth(int version) {
  if (version == 1) return 3;
  if (version == 34) return 4;
  return 0;
}

std::uint32_t PackageKey(int version) { return version == 1 ? kPackageKey1 : kPackageKey2; }

std::uint32_t ChecksumSeed(int version) { return version == 1 ? 2003u : 2011u; }

std::uint32_t ReadLittleEndian(QByteArrayView bytes, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
  return value;
}

std::optional<PackageHead> ParsePackageHead(QByteArrayView bytes, bool voiced) {
  if (bytes.size() < 7) return std::nullopt;
  PackageHead head;
  head.version = static_cast<std::uint8_t>(bytes[4]);
  head.offsetWidth = OffsetWidth(head.version);
  if (head.offsetWidth == 0) return std::nullopt;
  head.count = static_cast<std::uint16_t>(ReadLittleEndian(bytes.sliced(5), 2));
  head.sounds = voiced ? kVoicedPerPackage : head.count;
  return head;
}

std::uint32_t PackageChecksum(QByteArrayView bytes, int version) {
  std::uint32_t sum = ChecksumSeed(version);
  for (qsizetype k = 0; k < bytes.size(); ++k)
    sum += static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[k])) * static_cast<std::uint32_t>(k + 1);
  return sum;
}

std::uint64_t SoundSeed(int version, bool voiced, int index) {
  if (!voiced) return PackageKey(version);
  // Square-and-multiply modulo 2^64; a negative exponent cannot arise from a task index.
  std::uint64_t result = 1;
  std::uint64_t base = kPackageKey1;
  auto exponent = static_cast<std::uint64_t>(index + kVoicedTaskSeedOffset);
  while (exponent != 0) {
    if ((exponent & 1u) != 0) result *= base;
    base *= base;
    exponent >>= 1;
  }
  return result;
}

void ScrambleSound(QByteArray& sound, std::uint64_t seed, std::uint32_t key) {
  const qsizetype words = (sound.size() + 1) / 2;
  if (words < 10) return;
  for (qsizetype i = 8; i <= words - 2; ++i) {
    const auto bit = static_cast<unsigned>(i % 127);
    if (bit < 64 && ((seed >> bit) & 1u) != 0) {
      // Word i is never the last one, so both of its bytes lie inside the sound.
      const char low = sound[2 * i];
      sound[2 * i] = sound[2 * i + 1];
      sound[2 * i + 1] = low;
    }
    seed *= key;
  }
}

QByteArray BuildPackage(const PackageContent& content) {
  const int e = OffsetWidth(content.version);
  const int version = e == 0 ? 34 : content.version;
  const int width = e == 0 ? 4 : e;
  const auto sounds = static_cast<qsizetype>(content.sounds.size());
  const qsizetype tableEnd = 7 + width * (sounds + 1);
  const qsizetype dataStart = tableEnd + width + 4;

  QByteArray out("ZVSP", 4);
  out.append(static_cast<char>(version));
  AppendLittleEndian(out, content.count, 2);
  qsizetype offset = dataStart;
  for (qsizetype j = 0; j <= sounds; ++j) {
    AppendLittleEndian(out, static_cast<std::uint32_t>(offset), width);
    if (j < sounds) offset += content.sounds[static_cast<std::size_t>(j)].size();
  }
  const std::uint32_t checksum = PackageChecksum(out, version);
  AppendLittleEndian(out, 0, width);  // the length field, known at the end
  AppendLittleEndian(out, checksum, 4);

  const std::uint32_t key = PackageKey(version);
  for (qsizetype j = 0; j < sounds; ++j) {
    QByteArray sound = content.sounds[static_cast<std::size_t>(j)];
    const int index = content.voiced ? content.hundred * kVoicedPerPackage + static_cast<int>(j) : static_cast<int>(j);
    ScrambleSound(sound, SoundSeed(version, content.voiced, index), key);
    out.append(sound);
  }
  PutLittleEndian(out, tableEnd, static_cast<std::uint32_t>(out.size() - 4), width);
  return out;
}

}  // namespace zv
