#pragma once
// Single instance: what stands in for the named mapping "zorvik_memfile" and for finding the
// first copy's main window by its class name and posting it a message.
//
// The lock and the folder it lives in are in InstanceLock.h.
//
// The first copy's main window owns an InstanceMessageServer listening on a local socket named
// after its class and the user ("TZVMainForm-<uid>", in the same folder). A second copy, or the
// uninstaller, connects and sends a message number as 4 bytes, little-endian: 0x8000 brings the
// first copy forward, WM_QUIT (0x0012) asks it to end.

#include "platform/InstanceLock.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QLocalServer;
class QLocalSocket;

namespace zv {

// Sends one message to the server; true when a server accepted the connection and the bytes
// were written. False (quickly) when nobody listens.
bool SendInstanceMessage(const QString& serverName, std::uint32_t message, int timeoutMs = 1000);

enum class InstanceCheck {
  First,               // go on: this copy holds the lock (or no lock could be had)
  HandedOver,          // a first copy runs and was asked to come forward: end this copy
  FirstStillStarting,  // the lock is held but no main window answers yet: go on
};

// The first step of start-up: the lock is already taken (or not) by `lock`.
InstanceCheck CheckSingleInstance(const SingleInstanceLock& lock, const QString& serverName);

// The main window's end of the protocol. Each message number received is reported by
// messageReceived and, for the two known numbers, by its own signal; other numbers are
// reported by messageReceived only.
class InstanceMessageServer : public QObject {
  Q_OBJECT

 public:
  explicit InstanceMessageServer(QObject* parent = nullptr);
  ~InstanceMessageServer() override;

  // Listens on serverName (user-only access). A socket file left by a copy that crashed is
  // removed; a name some live server answers on is left alone and the result is false.
  bool Listen(const QString& serverName);
  bool IsListening() const;
  QString ServerName() const;

 signals:
  void messageReceived(std::uint32_t message);
  void bringForwardRequested();
  void quitRequested();

 private:
  void AcceptConnections();
  void ReadMessages(QLocalSocket* socket);

  QLocalServer* m_server = nullptr;
};

}  // namespace zv
