#include "update/UpdateTransferFactory.h"

#include "update/NetworkTransfer.h"

namespace zv {

std::unique_ptr<UpdateTransfer> MakeUpdateTransfer(const QByteArray& userAgent) {
  return std::make_unique<NetworkTransfer>(userAgent);
}

}  // namespace zv
