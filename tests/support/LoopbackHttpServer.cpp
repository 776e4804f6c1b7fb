#include "support/LoopbackHttpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

namespace zv::test {
namespace {

constexpr qint64 kPiece = 64 * 1024;     // written at a time while streaming
constexpr qint64 kBacklog = 4 * kPiece;  // more is written when less than this is pending
constexpr qsizetype kMaxRequestHead = 16 * 1024;

QByteArray Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    default:
      return "Status";
  }
}

QByteArray Head(int status, const QByteArray& contentType, std::optional<qint64> length, const QByteArray& extra = {}) {
  QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + Reason(status) + "\r\n";
  head += "Content-Type: " + contentType + "\r\n";
  if (length) head += "Content-Length: " + QByteArray::number(*length) + "\r\n";
  head += extra;
  head += "Connection: close\r\n\r\n";
  return head;
}

// Keeps writing while the client reads: `more` gives the next piece, empty at the end.
template <typename More>
void Stream(QTcpSocket* socket, More more) {
  auto fill = [socket, more]() mutable {
    while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < kBacklog) {
      const QByteArray piece = more();
      if (piece.isEmpty()) {
        socket->disconnectFromHost();  // after what is pending has gone out
        return;
      }
      socket->write(piece);
    }
  };
  QObject::connect(socket, &QTcpSocket::bytesWritten, socket, fill);
  fill();
}

}  // namespace

HttpRoute HttpRoute::Page(QByteArray body, QByteArray contentType, int status) {
  HttpRoute r;
  r.kind = Kind::Body;
  r.status = status;
  r.body = std::move(body);
  r.contentType = std::move(contentType);
  return r;
}

HttpRoute HttpRoute::Truncated(QByteArray body, qint64 claimed) {
  HttpRoute r;
  r.kind = Kind::Truncated;
  r.body = std::move(body);
  r.claimed = claimed;
  return r;
}

HttpRoute HttpRoute::Endless() {
  HttpRoute r;
  r.kind = Kind::Endless;
  return r;
}

HttpRoute HttpRoute::Redirect(QByteArray location) {
  HttpRoute r;
  r.kind = Kind::Redirect;
  r.status = 302;
  r.location = std::move(location);
  return r;
}

HttpRoute HttpRoute::Silent() {
  HttpRoute r;
  r.kind = Kind::Silent;
  return r;
}

LoopbackHttpServer::LoopbackHttpServer(QString folder) : m_folder(std::move(folder)) {
  connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::Accept);
}

LoopbackHttpServer::~LoopbackHttpServer() = default;

bool LoopbackHttpServer::Listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }

QString LoopbackHttpServer::Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(Port()); }

void LoopbackHttpServer::Accept() {
  while (QTcpSocket* socket = m_server.nextPendingConnection()) {
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void LoopbackHttpServer::Read(QTcpSocket* socket) {
  if (socket->property("answered").toBool()) {
    socket->readAll();
    return;
  }
  QByteArray request = socket->property("request").toByteArray() + socket->readAll();
  const qsizetype end = request.indexOf("\r\n\r\n");
  if (end < 0) {
    if (request.size() > kMaxRequestHead)
      socket->abort();
    else
      socket->setProperty("request", request);
    return;
  }
  socket->setProperty("answered", true);
  ++m_requests;
  m_lastHead = request.left(end);
  const QList<QByteArray> line = request.left(request.indexOf("\r\n")).split(' ');
  if (line.size() != 3) {
    socket->write(Head(400, "text/plain", 0));
    socket->disconnectFromHost();
    return;
  }
  Answer(socket, line[0], line[1]);
}

void LoopbackHttpServer::Answer(QTcpSocket* socket, const QByteArray& method, const QByteArray& target) {
  if (method != "GET" && method != "HEAD") {
    socket->write(Head(405, "text/plain", 0));
    socket->disconnectFromHost();
    return;
  }
  const bool headOnly = method == "HEAD";
  const QByteArray path = target.left(target.indexOf('?') >= 0 ? target.indexOf('?') : target.size());
  const auto route = m_routes.constFind(path);
  if (route == m_routes.cend()) {
    if (const std::optional<QString> file = FileFor(path)) {
      ServeFile(socket, *file, headOnly);
    } else {
      const QByteArray body = "<html><body><h1>404 Not Found</h1></body></html>\n";
      socket->write(Head(404, "text/html", body.size()) + (headOnly ? QByteArray() : body));
      socket->disconnectFromHost();
    }
    return;
  }
  const HttpRoute& r = *route;
  switch (r.kind) {
    case HttpRoute::Kind::Body:
      socket->write(Head(r.status, r.contentType, r.body.size()) + (headOnly ? QByteArray() : r.body));
      socket->disconnectFromHost();
      return;
    case HttpRoute::Kind::Truncated:
      socket->write(Head(200, r.contentType, r.claimed) + (headOnly ? QByteArray() : r.body));
      socket->disconnectFromHost();
      return;
    case HttpRoute::Kind::Endless: {
      socket->write(Head(200, r.contentType, std::nullopt));
      if (headOnly) {
        socket->disconnectFromHost();
        return;
      }
      const QByteArray piece(kPiece, 'z');
      Stream(socket, [piece] { return piece; });
      return;
    }
    case HttpRoute::Kind::Redirect:
      socket->write(Head(r.status, "text/plain", 0, "Location: " + r.location + "\r\n"));
      socket->disconnectFromHost();
      return;
    case HttpRoute::Kind::Silent:
      return;  // the connection stays open and unanswered until the client gives up
  }
}

void LoopbackHttpServer::ServeFile(QTcpSocket* socket, const QString& filePath, bool headOnly) {
  auto* file = new QFile(filePath, socket);
  if (!file->open(QIODevice::ReadOnly)) {
    socket->write(Head(404, "text/plain", 0));
    socket->disconnectFromHost();
    return;
  }
  socket->write(Head(200, "application/octet-stream", file->size()));
  if (headOnly) {
    socket->disconnectFromHost();
    return;
  }
  Stream(socket, [file] { return file->read(kPiece); });
}

// The file a path names inside the folder; nothing for anything outside it.
std::optional<QString> LoopbackHttpServer::FileFor(const QByteArray& path) const {
  if (m_folder.isEmpty() || !path.startsWith('/')) return std::nullopt;
  const QString relative = QUrl::fromPercentEncoding(path.mid(1));
  if (relative.isEmpty() || relative.contains(QChar(0)) || relative.contains(u'\\')) return std::nullopt;
  const QStringList segments = relative.split(u'/');
  for (const QString& s : segments)
    if (s.isEmpty() || s == QStringLiteral("..") || s == QStringLiteral(".")) return std::nullopt;
  const QFileInfo info(QDir(m_folder).filePath(relative));
  const QString root = QFileInfo(m_folder).canonicalFilePath();
  if (!info.isFile() || !info.canonicalFilePath().startsWith(root + u'/')) return std::nullopt;
  return info.filePath();
}

}  // namespace zv::test
