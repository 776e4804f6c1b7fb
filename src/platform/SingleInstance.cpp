#include "platform/SingleInstance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QVariant>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

// A connection may carry a few messages; anything beyond is not a copy of ours talking.
constexpr int kMaxMessagesPerConnection = 16;
constexpr int kMessageSize = 4;

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// The fallback folder must be ours alone: a folder another user created under the shared
// temp base could hold their socket or let them take our lock.
bool preparePrivateFolder(const QString& folder) {
  const QByteArray path = native(folder);
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
  if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) return false;
  return true;
}

void encode(std::uint32_t message, char* out) {
  for (int i = 0; i < kMessageSize; ++i) out[i] = char((message >> (8 * i)) & 0xFF);
}

std::uint32_t decode(const QByteArray& bytes) {
  std::uint32_t message = 0;
  for (int i = 0; i < kMessageSize; ++i) message |= std::uint32_t(static_cast<unsigned char>(bytes.at(i))) << (8 * i);
  return message;
}

}  // namespace

InstancePaths InstancePaths::InFolder(const QString& folder) {
  InstancePaths paths;
  paths.LockFile = folder + u"/zorvik_memfile"_s;
  paths.ServerName = folder + u'/' + QLatin1String(kMainWindowClass) + u"-%1"_s.arg(::geteuid());
  return paths;
}

InstancePaths InstancePaths::ForUser(const QProcessEnvironment& environment, const QString& tempBase) {
  const QString runtime = environment.value(u"XDG_RUNTIME_DIR"_s);
  if (!runtime.isEmpty()) return InFolder(runtime);
  const QString folder = tempBase + u"/zorvik-%1"_s.arg(::geteuid());
  if (!preparePrivateFolder(folder)) return InstancePaths{};
  return InFolder(folder);
}

SingleInstanceLock::SingleInstanceLock(const QString& path) : m_path(path) {
  if (path.isEmpty()) return;
  m_fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (m_fd < 0) return;
  int rc = 0;
  do {
    rc = ::flock(m_fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    m_state = State::Owned;
    return;
  }
  m_state = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
  ::close(m_fd);
  m_fd = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing the only descriptor releases the lock
}

bool SendInstanceMessage(const QString& serverName, std::uint32_t message, int timeoutMs) {
  if (serverName.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(serverName, QIODevice::WriteOnly);
  if (!socket.waitForConnected(timeoutMs)) return false;
  char bytes[kMessageSize];
  encode(message, bytes);
  if (socket.write(bytes, kMessageSize) != kMessageSize) return false;
  while (socket.bytesToWrite() > 0)
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
  return true;
}

InstanceCheck CheckSingleInstance(const SingleInstanceLock& lock, const QString& serverName) {
  if (!lock.AlreadyExists()) return InstanceCheck::First;
  return SendInstanceMessage(serverName, kBringForwardMessage) ? InstanceCheck::HandedOver
                                                               : InstanceCheck::FirstStillStarting;
}

InstanceMessageServer::InstanceMessageServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  connect(m_server, &QLocalServer::newConnection, this, &InstanceMessageServer::AcceptConnections);
}

InstanceMessageServer::~InstanceMessageServer() = default;

bool InstanceMessageServer::Listen(const QString& serverName) {
  if (serverName.isEmpty()) return false;
  // Listening with access options binds in a temporary folder and renames the socket over the
  // name, which would silently take it from a live server: ask first whether one answers.
  // A socket file nobody answers on is what a copy that crashed leaves; it is removed.
  QLocalSocket probe;
  probe.connectToServer(serverName);
  if (probe.waitForConnected(200)) {
    probe.abort();
    return false;
  }
  QLocalServer::removeServer(serverName);
  return m_server->listen(serverName);
}

bool InstanceMessageServer::IsListening() const { return m_server->isListening(); }

QString InstanceMessageServer::ServerName() const { return m_server->fullServerName(); }

void InstanceMessageServer::AcceptConnections() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    socket->setProperty("zvMessages", 0);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessages(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    ReadMessages(socket);  // bytes may already have arrived with the connection
  }
}

void InstanceMessageServer::ReadMessages(QLocalSocket* socket) {
  // A handler may end the window (and this server with its sockets) on a quit message.
  const QPointer<InstanceMessageServer> self(this);
  const QPointer<QLocalSocket> alive(socket);
  int count = socket->property("zvMessages").toInt();
  while (self && alive && socket->bytesAvailable() >= kMessageSize) {
    if (++count > kMaxMessagesPerConnection) {
      socket->abort();
      socket->deleteLater();
      return;
    }
    socket->setProperty("zvMessages", count);
    const std::uint32_t message = decode(socket->read(kMessageSize));
    emit messageReceived(message);
    if (!self) return;
    if (message == kBringForwardMessage)
      emit bringForwardRequested();
    else if (message == kQuitMessage)
      emit quitRequested();
  }
}

}  // namespace zv
