#pragma once
// NetworkTransfer: an update file's bytes over HTTP(S) with Qt Network, on the calling (UI)
// thread. The call returns when the transfer has ended; meanwhile a local event loop runs, and
// the hooks let the window step its bar and process its events after every chunk.
//
// What it does for the server and the network: the system's proxy settings; the agent string
// it is given; no cache on either side (the body is always fetched, never stored); the body as
// sent (no content decoding, so the bytes and the Content-Length agree); http and https only,
// redirects too (a redirect elsewhere, or from https to http, counts as not opened); at most
// kMaxRedirects redirects (more is a failed transfer). A transfer that receives nothing for the
// inactivity time-out fails.
//
// How a transfer ends (the verdict then is JudgeDownload's): no answer to the request, an
// address of another scheme, or a status other than 2xx: not opened, and no file is made. A
// body that passes its limit (BodyLimit of the expected size; for an index, expected < 0,
// kMaxIndexBytes) is cut off; a body shorter than its Content-Length, a connection lost
// midway or a destination that cannot be written fails. The body goes to `destination` in
// chunks of kDownloadChunkBytes as it arrives (the last one may be shorter), `onChunk` after
// each; nothing but `destination` is ever written, and it is deleted when the verdict does not
// keep it.

#include "update/UpdateTransfer.h"

#include <QByteArray>

#include <chrono>
#include <memory>

class QNetworkAccessManager;

namespace zv {

class NetworkTransfer : public UpdateTransfer {
 public:
  // Long enough for a slow mobile link to deliver the next bytes, short enough that a server
  // that never answers does not hold the window for minutes.
  static constexpr std::chrono::milliseconds kInactivityTimeout{25000};

  explicit NetworkTransfer(QByteArray userAgent, std::chrono::milliseconds inactivityTimeout = kInactivityTimeout);
  ~NetworkTransfer() override;
  NetworkTransfer(const NetworkTransfer&) = delete;
  NetworkTransfer& operator=(const NetworkTransfer&) = delete;

  DownloadVerdict Download(const QString& url, const QString& destination, qint64 expected, FirstLineCheck check,
                           const TransferHooks& hooks) override;

 private:
  QByteArray m_userAgent;
  std::chrono::milliseconds m_inactivityTimeout;
  std::unique_ptr<QNetworkAccessManager> m_manager;
};

}  // namespace zv
