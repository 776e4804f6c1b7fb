#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QVariant>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

// A connection may carry a few messages; anything beyond is not a copy of ours talking.
constexpr int kMaxMessagesPerConnection = 16;
constexpr int kMessageSize = 4;

void encode(std::uint32_t message, char* out) {
  for (int i = 0; i < kMessageSize; ++i) out[i] = char((message >> (8 * i)) & 0xFF);
}

std::uint32_t decode(const QByteArray& bytes) {
  std::uint32_t message = 0;
  for (int i = 0; i < kMessageSize; ++i) message |= std::uint32_t(static_cast<unsigned char>(bytes.at(i))) << (8 * i);
  return message;
}

}  // namespace

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
