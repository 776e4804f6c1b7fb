#include "support/FakeUpdateTransfer.h"

#include "update/UpdateIndex.h"

#include <QFile>

namespace zv::test {

std::vector<QString> FakeUpdateTransfer::Urls() const {
  std::vector<QString> urls;
  for (const Request& r : requests) urls.push_back(r.url);
  return urls;
}

DownloadVerdict FakeUpdateTransfer::Download(const QString& url, const QString& destination, qint64 expected,
                                             FirstLineCheck check, const TransferHooks& hooks) {
  requests.push_back({url, destination, expected, check});
  const auto answer = m_answers.find(url);
  if (answer == m_answers.end()) return JudgeDownload({TransferEnd::NotOpened, 0}, check, false);

  QFile file(destination);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return JudgeDownload({TransferEnd::Failed, 0}, check, false);
  const QByteArray& body = answer->second.body;
  TransferReport report{answer->second.fails ? TransferEnd::Failed : TransferEnd::Complete, 0};
  int chunk = 0;
  for (qsizetype at = 0; at < body.size(); at += kDownloadChunkBytes) {
    const QByteArray piece = body.mid(at, kDownloadChunkBytes);
    file.write(piece);
    file.flush();
    if (hooks.onChunk) hooks.onChunk();
    if (afterChunk) afterChunk(url, ++chunk);
    if (hooks.cancel && *hooks.cancel) {
      report.end = TransferEnd::Cancelled;
      break;
    }
    report.bytes += piece.size();
  }
  file.close();
  const DownloadVerdict verdict = JudgeDownload(report, check, PassesFirstLineCheck(body.left(kMaxIndexLineBytes)));
  if (!verdict.keepFile) QFile::remove(destination);
  return verdict;
}

}  // namespace zv::test
