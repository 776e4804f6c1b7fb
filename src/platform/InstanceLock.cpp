#include "platform/InstanceLock.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

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

// A local socket's path must fit the address structure with its closing NUL; the server could
// not listen on a longer one, and a second copy could never hand over.
bool socketPathFits(const QString& path) {
  return native(path).size() < qsizetype(sizeof(sockaddr_un{}.sun_path));
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
  if (!runtime.isEmpty()) {
    InstancePaths paths = InFolder(runtime);
    if (socketPathFits(paths.ServerName)) return paths;
  }
  const QString folder = tempBase + u"/zorvik-%1"_s.arg(::geteuid());
  InstancePaths paths = InFolder(folder);
  if (!socketPathFits(paths.ServerName) || !preparePrivateFolder(folder)) return InstancePaths{};
  return paths;
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

}  // namespace zv
