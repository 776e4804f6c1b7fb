#include "sound/PackageFile.h"

#include <QIODevice>

#include <algorithm>
#include <optional>

namespace zv {

namespace {

// Exactly `length` bytes at `at`, or nothing when the device does not hold them.
std::optional<QByteArray> ReadAt(QIODevice& device, qint64 at, qint64 length) {
  if (at < 0 || length < 0 || at > device.size() || length > device.size() - at) return std::nullopt;
  if (!device.seek(at)) return std::nullopt;
  QByteArray bytes = device.read(length);
  if (bytes.size() != length) return std::nullopt;
  return bytes;
}

}  // namespace

PackageInspection InspectPackage(QIODevice& device, bool voiced) {
  PackageInspection result;
  const qint64 size = device.size();
  const std::optional<QByteArray> first = ReadAt(device, 0, std::min<qint64>(size, 7));
  if (!first || first->size() < 5 || OffsetWidth(static_cast<std::uint8_t>(first->at(4))) == 0) {
    result.status = PackageStatus::BadVersion;
    return result;
  }
  const std::optional<PackageHead> head = ParsePackageHead(*first, voiced);
  if (!head) return result;  // cut short after the version: corrupt
  result.head = *head;
  const int e = head->offsetWidth;

  const std::optional<QByteArray> entry0Bytes = ReadAt(device, 7, e);
  if (!entry0Bytes) return result;
  const qint64 entry0 = ReadLittleEndian(*entry0Bytes, e);
  const std::optional<QByteArray> tail = ReadAt(device, entry0 - e - 4, e + 4);
  if (!tail) return result;
  const qint64 length = ReadLittleEndian(*tail, e);
  const std::uint32_t checksum = ReadLittleEndian(QByteArrayView(*tail).sliced(e), 4);

  if (length + 4 != size) return result;
  const std::optional<QByteArray> checked = ReadAt(device, 0, head->checkedLength());
  if (!checked || PackageChecksum(*checked, head->version) != checksum) return result;
  result.status = PackageStatus::Intact;
  return result;
}

QByteArray ReadPackageSound(QIODevice& device, bool voiced, int index) {
  const std::optional<QByteArray> first = ReadAt(device, 0, 7);
  if (!first) return {};
  const std::optional<PackageHead> head = ParsePackageHead(*first, voiced);
  if (!head || index < 0) return {};
  const int j = voiced ? index % kVoicedPerPackage : index;
  if (j >= head->sounds) return {};

  const int e = head->offsetWidth;
  const std::optional<QByteArray> entries = ReadAt(device, 7 + qint64{e} * j, 2 * qint64{e});
  if (!entries) return {};
  const qint64 begin = ReadLittleEndian(*entries, e);
  const qint64 end = ReadLittleEndian(QByteArrayView(*entries).sliced(e), e);
  if (end <= begin) return {};
  std::optional<QByteArray> sound = ReadAt(device, begin, end - begin);
  if (!sound) return {};
  ScrambleSound(*sound, SoundSeed(head->version, voiced, index), PackageKey(head->version));
  return *std::move(sound);
}

}  // namespace zv
