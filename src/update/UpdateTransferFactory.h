#pragma once
// The program's transfer over the network, made where the update window opens.

#include "update/UpdateTransfer.h"

#include <QByteArray>

#include <memory>

namespace zv {

// `userAgent`: UserAgent(BuildClientId(...)), sent with every request.
std::unique_ptr<UpdateTransfer> MakeUpdateTransfer(const QByteArray& userAgent);

}  // namespace zv
