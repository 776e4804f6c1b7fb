#pragma once
// FakeUpdateTransfer: an UpdateTransfer over a table of addresses, for the update's tests. An
// address answers with a body (written in chunks of kDownloadChunkBytes, the hooks called after
// each), fails after part of a body, or cannot be opened (every address not in the table).
// The verdict is JudgeDownload's and its file rules are applied, as the network transfer does.
// Every request is recorded.

#include "update/UpdateTransfer.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace zv::test {

class FakeUpdateTransfer final : public UpdateTransfer {
 public:
  struct Request {
    QString url;
    QString destination;
    qint64 expected = 0;
    FirstLineCheck check = FirstLineCheck::Off;
  };

  void Serve(const QString& url, QByteArray body) { m_answers[url] = {std::move(body), false}; }
  // `partial` arrives, then the transfer fails.
  void Fail(const QString& url, QByteArray partial = {}) { m_answers[url] = {std::move(partial), true}; }

  DownloadVerdict Download(const QString& url, const QString& destination, qint64 expected, FirstLineCheck check,
                           const TransferHooks& hooks) override;

  std::vector<Request> requests;
  std::vector<QString> Urls() const;
  // Runs after a chunk's hooks.onChunk and before the cancel flag is read (chunk counts from 1).
  std::function<void(const QString& url, int chunk)> afterChunk;

 private:
  struct Answer {
    QByteArray body;
    bool fails = false;
  };
  std::map<QString, Answer> m_answers;
};

}  // namespace zv::test
