#include "tasks/ProgressExport.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zv {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr int kBytesPerLine = 32;

void AppendHexByte(QByteArray& out, unsigned char b) {
  out.append(kDigits[b >> 4]);
  out.append(kDigits[b & 0x0F]);
}

std::size_t OrderOf(const QString& name) {
  const QByteArray latin = name.toLatin1();
  const std::string_view key(latin.constData(), static_cast<std::size_t>(latin.size()));
  const auto it = std::find(kExportOrder.begin(), kExportOrder.end(), key);
  return static_cast<std::size_t>(it - kExportOrder.begin());
}

}  // namespace

QByteArray HexValueText(const QByteArray& bytes) {
  QByteArray out;
  out.reserve(5 + bytes.size() * 3 + bytes.size() / kBytesPerLine * 3 + 2);
  out.append("=hex:");
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out.append(',');
      if (i % kBytesPerLine == 0) out.append("\\\r\n");
    }
    AppendHexByte(out, static_cast<unsigned char>(bytes[i]));
  }
  out.append("\r\n");
  return out;
}

QByteArray ProgressExportBytes(const QString& keyPath, double firstDate, std::vector<SelectorState> selectors,
                               std::int32_t rCount) {
  QByteArray out;
  out.append("REGEDIT4\r\n\r\n");
  out.append("[HKEY_CURRENT_USER\\").append(keyPath.toLatin1()).append("]\r\n");

  static_assert(std::endian::native == std::endian::little, "the date is written in memory order");
  QByteArray date(sizeof firstDate, '\0');
  std::memcpy(date.data(), &firstDate, sizeof firstDate);
  out.append("\"FirstDate\"").append(HexValueText(date));

  std::stable_sort(selectors.begin(), selectors.end(), [](const SelectorState& a, const SelectorState& b) {
    return OrderOf(a.name) < OrderOf(b.name);
  });
  for (const SelectorState& s : selectors) {
    out.append('"').append(s.name.toLatin1()).append('"').append(HexValueText(s.bytes));
  }

  out.append("\"RCount\"=dword:");
  const auto counter = static_cast<std::uint32_t>(rCount);
  for (int shift = 28; shift >= 0; shift -= 4) out.append(kDigits[(counter >> shift) & 0x0F]);
  out.append("\r\n");
  return out;
}

}  // namespace zv
