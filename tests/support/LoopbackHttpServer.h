#pragma once
// LoopbackHttpServer: a small HTTP/1.1 server on 127.0.0.1 for the update's tests. It serves
// the files of a folder (GET and HEAD, one request per connection) and scripted routes that
// behave like broken or hostile servers. It runs on the thread that made it, so a transfer's
// local event loop on that thread serves it too.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <optional>

class QTcpSocket;

namespace zv::test {

struct HttpRoute {
  enum class Kind {
    Body,       // `status` with `body` (of `contentType`), Content-Length exact
    Truncated,  // 200, Content-Length `claimed`, `body` sent, then the connection closes
    Endless,    // 200 without Content-Length, bytes without end until the client goes
    Redirect,   // 302 to `location`
    Silent,     // accepts the connection, reads the request, never answers
  };
  Kind kind = Kind::Body;
  int status = 200;
  QByteArray body;
  QByteArray contentType = "application/octet-stream";
  qint64 claimed = 0;
  QByteArray location;

  static HttpRoute Page(QByteArray body, QByteArray contentType = "text/html; charset=utf-8", int status = 200);
  static HttpRoute Truncated(QByteArray body, qint64 claimed);
  static HttpRoute Endless();
  static HttpRoute Redirect(QByteArray location);
  static HttpRoute Silent();
};

class LoopbackHttpServer : public QObject {
 public:
  // `folder`: served under "/"; empty: only the routes.
  explicit LoopbackHttpServer(QString folder = {});
  ~LoopbackHttpServer() override;

  // Listens on 127.0.0.1, `port` 0 for any free one.
  bool Listen(quint16 port = 0);
  quint16 Port() const { return m_server.serverPort(); }
  // "http://127.0.0.1:<port>" (no trailing "/") and that + `path`.
  QString Base() const;
  QString Url(const QString& path) const { return Base() + path; }

  // A route for an exact path ("/loop"); routes come before the folder.
  void Route(const QByteArray& path, HttpRoute route) { m_routes.insert(path, std::move(route)); }

  // What the server saw: requests received, and the last request's head (request line and
  // header lines, as sent).
  int Requests() const { return m_requests; }
  const QByteArray& LastRequestHead() const { return m_lastHead; }

 private:
  void Accept();
  void Read(QTcpSocket* socket);
  void Answer(QTcpSocket* socket, const QByteArray& method, const QByteArray& path);
  void ServeFile(QTcpSocket* socket, const QString& filePath, bool headOnly);
  std::optional<QString> FileFor(const QByteArray& path) const;

  QString m_folder;
  QTcpServer m_server;
  QHash<QByteArray, HttpRoute> m_routes;
  int m_requests = 0;
  QByteArray m_lastHead;
};

}  // namespace zv::test
