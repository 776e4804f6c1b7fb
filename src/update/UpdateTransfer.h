#pragma once
// Moving an update file's bytes from a web address into a local file. The decisions (result,
// what stays on disk, body limits) are DownloadRules'; an implementation only moves bytes.

#include "update/DownloadRules.h"

#include <QString>

#include <functional>

namespace zv {

struct TransferHooks {
  std::function<void()> onChunk;  // after each chunk written: the window steps its bar, processes events
  const bool* cancel = nullptr;   // read after onChunk; set: the transfer stops, the chunk not counted
};

class UpdateTransfer {
 public:
  virtual ~UpdateTransfer() = default;
  // `expected`: bytes the item should have, or -1 (an index file) for kMaxUnsizedDownload / kMaxIndexBytes
  // as the caller's limit. The verdict is JudgeDownload's; its file rules are already applied.
  virtual DownloadVerdict Download(const QString& url, const QString& destination, qint64 expected,
                                   FirstLineCheck check, const TransferHooks& hooks) = 0;
};

}  // namespace zv
