// TEMPORARY STAND-IN until the network transfer lands: every address is one that cannot be
// opened, so the update window fails its discovery the way it does without a connection.
// Replace this file with the network transfer's factory.

#include "update/UpdateTransferFactory.h"

namespace zv {
namespace {

class UnreachableTransfer final : public UpdateTransfer {
 public:
  DownloadVerdict Download(const QString&, const QString&, qint64, FirstLineCheck, const TransferHooks&) override {
    return JudgeDownload({TransferEnd::NotOpened, 0}, FirstLineCheck::Off, false);
  }
};

}  // namespace

std::unique_ptr<UpdateTransfer> MakeUpdateTransfer(const QByteArray&) {
  return std::make_unique<UnreachableTransfer>();
}

}  // namespace zv
