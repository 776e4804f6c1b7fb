#include "update/NetworkTransfer.h"

#include "update/UpdateIndex.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

// Enough of the body's start for the first-line check (a longer line holds no address).
constexpr qsizetype kHeadBytes = kMaxIndexLineBytes + 2;

bool IsWebAddress(const QUrl& url) {
  return (url.scheme() == u"http"_s || url.scheme() == u"https"_s) && !url.host().isEmpty();
}

std::optional<int> StatusOf(const QNetworkReply& reply) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (!status.isValid()) return std::nullopt;
  return status.toInt();
}

bool IsSuccess(std::optional<int> status) { return status && *status >= 200 && *status <= 299; }

// One transfer: the reply's body into the destination, chunk by chunk, inside a local event
// loop that ends with the reply.
class Fetch {
 public:
  Fetch(QNetworkReply& reply, const QString& destination, qint64 limit, const TransferHooks& hooks,
        std::chrono::milliseconds inactivityTimeout)
      : m_reply(reply), m_file(destination), m_limit(limit), m_hooks(hooks) {
    m_idle.setSingleShot(true);
    m_idle.setInterval(inactivityTimeout);
  }

  TransferReport Run();
  bool MadeFile() const { return m_madeFile; }
  const QByteArray& Head() const { return m_head; }

 private:
  void Stop(TransferEnd end);
  void CheckHeaders();
  bool BodyAccepted();
  bool OpenFile();
  void Drain(bool final);
  TransferEnd Classify();

  QNetworkReply& m_reply;
  QFile m_file;
  const qint64 m_limit;
  const TransferHooks& m_hooks;
  QEventLoop m_loop;
  QTimer m_idle;
  std::optional<TransferEnd> m_end;  // set when the transfer was stopped before the reply ended
  qint64 m_counted = 0;              // bytes of the chunks counted
  qint64 m_written = 0;              // bytes written, the cancelled chunk included
  QByteArray m_head;
  bool m_madeFile = false;
  bool m_draining = false;
};

TransferReport Fetch::Run() {
  const auto activity = [this] {
    if (!m_end) m_idle.start();
  };
  QObject::connect(&m_reply, &QNetworkReply::metaDataChanged, &m_loop, [this, activity] {
    activity();
    CheckHeaders();
  });
  QObject::connect(&m_reply, &QNetworkReply::readyRead, &m_loop, [this, activity] {
    activity();
    Drain(false);
  });
  QObject::connect(&m_reply, &QNetworkReply::redirected, &m_loop, [this, activity](const QUrl& to) {
    activity();
    if (!IsWebAddress(to)) Stop(TransferEnd::NotOpened);
  });
  QObject::connect(&m_reply, &QNetworkReply::finished, &m_loop, &QEventLoop::quit);
  QObject::connect(&m_idle, &QTimer::timeout, &m_loop, [this] { Stop(TransferEnd::Failed); });

  m_idle.start();
  if (!m_reply.isFinished()) m_loop.exec();
  m_idle.stop();
  // A reply that ended in an error fails as a whole; the bytes it still holds do not matter.
  if (!m_end && m_reply.error() == QNetworkReply::NoError) Drain(true);
  if (!m_end) m_end = Classify();
  if (*m_end == TransferEnd::Complete && !m_madeFile && !OpenFile()) m_end = TransferEnd::Failed;  // an empty body
  if (m_file.isOpen()) {
    if (!m_file.flush() && *m_end == TransferEnd::Complete) m_end = TransferEnd::Failed;
    m_file.close();
  }
  return {*m_end, m_counted};
}

// The first end recorded wins. The loop ends; the reply, deleted when the call returns,
// drops its connection then.
void Fetch::Stop(TransferEnd end) {
  if (!m_end) m_end = end;
  m_idle.stop();
  m_loop.quit();
}

void Fetch::CheckHeaders() {
  const std::optional<int> status = StatusOf(m_reply);
  if (!IsSuccess(status)) return;  // redirects are followed by the reply; other statuses end it
  const QVariant length = m_reply.header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > m_limit) Stop(TransferEnd::TooLarge);
}

// The body of anything but a 2xx answer (an error page) is never written.
bool Fetch::BodyAccepted() {
  const std::optional<int> status = StatusOf(m_reply);
  if (!status) return false;
  if (!IsSuccess(status)) {
    Stop(TransferEnd::NotOpened);
    return false;
  }
  return true;
}

bool Fetch::OpenFile() {
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    Stop(TransferEnd::Failed);
    return false;
  }
  m_madeFile = true;
  return true;
}

// Writes whole chunks as they are available, and with `final` the shorter last one. The hook
// may process events, which may deliver more data: the loop here takes it, a nested call
// returns at once.
void Fetch::Drain(bool final) {
  if (m_draining || m_end || !BodyAccepted()) return;
  m_draining = true;
  while (!m_end) {
    const qint64 available = m_reply.bytesAvailable();
    if (available <= 0 || (available < kDownloadChunkBytes && !final)) break;
    if (!m_file.isOpen() && !OpenFile()) break;
    const QByteArray chunk = m_reply.read(std::min(available, kDownloadChunkBytes));
    if (m_written + chunk.size() > m_limit) {
      Stop(TransferEnd::TooLarge);
      break;
    }
    if (m_file.write(chunk) != chunk.size()) {
      Stop(TransferEnd::Failed);
      break;
    }
    m_written += chunk.size();
    if (m_head.size() < kHeadBytes) m_head += chunk.left(kHeadBytes - m_head.size());
    if (m_hooks.onChunk) m_hooks.onChunk();
    if (m_hooks.cancel != nullptr && *m_hooks.cancel) {
      Stop(TransferEnd::Cancelled);
      break;
    }
    m_counted += chunk.size();
  }
  m_draining = false;
}

// How a reply that ran to its end ended.
TransferEnd Fetch::Classify() {
  const std::optional<int> status = StatusOf(m_reply);
  switch (m_reply.error()) {
    case QNetworkReply::NoError:
      break;
    case QNetworkReply::TooManyRedirectsError:
      return TransferEnd::Failed;
    default:
      // With a 2xx answer under way the body was lost midway; otherwise nothing was opened (no
      // connection, no such host, an error status, a redirect to another scheme or from https).
      return IsSuccess(status) ? TransferEnd::Failed : TransferEnd::NotOpened;
  }
  if (!IsSuccess(status)) return TransferEnd::NotOpened;
  const QVariant length = m_reply.header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() != m_written) return TransferEnd::Failed;
  return TransferEnd::Complete;
}

}  // namespace

NetworkTransfer::NetworkTransfer(QByteArray userAgent, std::chrono::milliseconds inactivityTimeout)
    : m_userAgent(std::move(userAgent)),
      m_inactivityTimeout(inactivityTimeout),
      m_manager(std::make_unique<QNetworkAccessManager>()) {
  QNetworkProxyFactory::setUseSystemConfiguration(true);
}

NetworkTransfer::~NetworkTransfer() = default;

DownloadVerdict NetworkTransfer::Download(const QString& url, const QString& destination, qint64 expected,
                                          FirstLineCheck check, const TransferHooks& hooks) {
  const QUrl address(url, QUrl::StrictMode);
  if (!address.isValid() || !IsWebAddress(address)) return JudgeDownload({TransferEnd::NotOpened, 0}, check, false);

  QNetworkRequest request(address);
  request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
  request.setRawHeader("Cache-Control", "no-cache");
  request.setRawHeader("Pragma", "no-cache");
  request.setRawHeader("Accept-Encoding", "identity");  // the body as sent, not decoded by Qt
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(kMaxRedirects);

  const qint64 limit = expected < 0 ? qint64{kMaxIndexBytes} : BodyLimit(expected);
  const std::unique_ptr<QNetworkReply> reply(m_manager->get(request));

  Fetch fetch(*reply, destination, limit, hooks, m_inactivityTimeout);
  const TransferReport report = fetch.Run();
  reply->disconnect();
  const DownloadVerdict verdict = JudgeDownload(report, check, PassesFirstLineCheck(fetch.Head()));
  if (!verdict.keepFile && fetch.MadeFile()) QFile::remove(destination);
  return verdict;
}

}  // namespace zv
