#pragma once
// The single-instance lock and the names of the first copy's files: what stands in for the
// named mapping "zorvik_memfile", and where the main window's local server listens. Plain
// POSIX, no Qt Network, so the uninstaller can check for a running trainer and wait for it to
// end without linking what the trainer's own server needs.
//
// The mapping is an advisory lock (flock) on "zorvik_memfile" in the user's runtime folder,
// held for the life of the process; "the mapping already exists" means another process holds
// it. The lock file is opened close-on-exec, so a program the trainer starts (the regional
// settings, an update's command file) never keeps the lock alive after the trainer has ended.
//
// The folder is $XDG_RUNTIME_DIR when set and short enough for a socket path; otherwise
// "<temp base>/zorvik-<uid>", created with mode 0700 and accepted only when it is a real folder
// (not a link) owned by the user.

#include <QProcessEnvironment>
#include <QString>

#include <cstdint>

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

}  // namespace zv
