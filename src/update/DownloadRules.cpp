#include "update/DownloadRules.h"

#include <algorithm>
#include <limits>

namespace zv {

DownloadVerdict JudgeDownload(const TransferReport& report, FirstLineCheck check, bool firstLinePasses) {
  switch (report.end) {
    case TransferEnd::Complete:
      if (check == FirstLineCheck::On && report.bytes > 0 && !firstLinePasses) return {0, false, false};
      return {report.bytes, true, false};
    case TransferEnd::NotOpened:
      return {-1, false, false};
    case TransferEnd::Failed:
    case TransferEnd::TooLarge:
      return {0, false, true};
    case TransferEnd::Cancelled:
      return {report.bytes, false, false};
  }
  return {0, false, true};
}

qint64 BodyLimit(qint64 expected) {
  if (expected <= 0) return kMaxUnsizedDownload;
  return std::min(expected, kMaxUnsizedDownload) * 2 + 65536;
}

int ProgressMaximum(qint64 expected) {
  return int(std::clamp<qint64>(expected / kDownloadChunkBytes, 0, std::numeric_limits<int>::max()));
}

QByteArray UserAgent(const QString& clientId) {
  QByteArray agent;
  agent.reserve(clientId.size());
  for (const QChar c : clientId) {
    const char16_t u = c.unicode();
    agent.append(u >= 0x20 && u < 0x7F ? char(u) : '?');
  }
  return agent;
}

void DownloadedMarks::Set(int position) {
  if (position >= 0 && position < int(m_bits.size())) m_bits.set(std::size_t(position));
}

bool DownloadedMarks::IsSet(int position) const {
  return position >= 0 && position < int(m_bits.size()) && m_bits.test(std::size_t(position));
}

}  // namespace zv
