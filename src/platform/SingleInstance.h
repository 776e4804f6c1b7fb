#pragma once
// Single instance: what stands in for the named mapping "zorvik_memfile" and for finding the
// first copy's main window by its class name and posting it a message.
//
// The mapping is an advisory lock (flock) on "zorvik_memfile" in the user's runtime folder,
// held for the life of the process; "the mapping already exists" means another process holds
// it. The lock file is opened close-on-exec, so a program the trainer starts (the regional
// settings, an update's command file) never keeps the lock alive after the trainer has ended.
//
// The first copy's main window owns an InstanceMessageServer listening on a local socket named
// after its class and the user ("TZVMainForm-<uid>", in the same folder). A second copy, or the
// uninstaller, connects and sends a message number as 4 bytes, little-endian: 0x8000 brings the
// first copy forward, WM_QUIT (0x0012) asks it to end.
//
// The folder is $XDG_RUNTIME_DIR when set; otherwise "<temp base>/zorvik-<uid>", created with
// mode 0700 and accepted only when it is a real folder (not a link) owned by the user.

#include <QObject>
#include <QProcessEnvironment>
#include <QString>

#include <cstdint>

class QLocalServer;
class QLocalSocket;

namespace zv {

inline constexpr std::uint32_t kBringForwardMessage = 0x8000;
inline constexpr std::uint32_t kQuitMessage = 0x0012;  // WM_QUIT
inline constexpr char kMainWindowClass[] = "TZVMainForm";

// Where the lock and the main window's server live. Both empty when no usable folder exists
// (then the lock is unavailable and start-up goes on as the first copy).
struct InstancePaths {
  QString LockFile;    // "<folder>/zorvik_memfile"
  QString ServerName;  // "<folder>/TZVMainForm-<uid>", a full socket path

  bool IsValid() const { return !LockFile.isEmpty(); }
  // Prepares the folder (see above) and names the two files in it.
  static InstancePaths ForUser(const QProcessEnvironment& environment,
                               const QString& tempBase = QStringLiteral("/tmp"));
  static InstancePaths InFolder(const QString& folder);
};

// The life-long lock. Taken on construction, released on destruction (closing the descriptor).
class SingleInstanceLock {
 public:
  enum class State {
    Owned,          // this process is the first copy
    HeldElsewhere,  // another process holds it: "already exists"
    Unavailable,    // the file could not be opened or locked for another reason
  };

  explicit SingleInstanceLock(const QString& path);
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  State CurrentState() const { return m_state; }
  bool AlreadyExists() const { return m_state == State::HeldElsewhere; }
  const QString& path() const { return m_path; }

 private:
  QString m_path;
  int m_fd = -1;
  State m_state = State::Unavailable;
};

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
