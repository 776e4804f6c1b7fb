#include "platform/HiveFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv::hivefile {

using namespace Qt::StringLiterals;

namespace {

constexpr std::int64_t kRacyWindowNs = 2'000'000'000;

std::int64_t ns(const struct timespec& t) { return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

Stamp stampOf(const struct stat& st) {
  return Stamp{true,
               std::uint64_t(st.st_dev),
               std::uint64_t(st.st_ino),
               std::int64_t(st.st_size),
               ns(st.st_mtim),
               ns(st.st_ctim)};
}

QString errnoText(const QString& what, const QString& path, int err) {
  return u"%1 %2: %3"_s.arg(what, path, QString::fromLocal8Bit(std::strerror(err)));
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }
  int release() { return std::exchange(m_fd, -1); }

 private:
  int m_fd;
};

}  // namespace

Stamp StatPath(const QString& path) {
  struct stat st {};
  if (::stat(native(path).constData(), &st) != 0) return Stamp{};
  return stampOf(st);
}

std::int64_t NowNs() {
  struct timespec t {};
  ::clock_gettime(CLOCK_REALTIME, &t);
  return ns(t);
}

bool Trusted(const Stamp& stamp, std::int64_t verifiedAtNs) {
  return !stamp.exists || stamp.mtimeNs < verifiedAtNs - kRacyWindowNs;
}

Contents ReadAll(const QString& path, std::int64_t maxBytes) {
  Contents out;
  // O_NONBLOCK: a pipe planted where the hive should be must not hang the program.
  Fd fd(::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno != ENOENT) out.error = errnoText(u"cannot open"_s, path, errno);
    return out;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    out.error = errnoText(u"cannot inspect"_s, path, errno);
    return out;
  }
  out.stamp = stampOf(st);
  if (!S_ISREG(st.st_mode)) {
    out.notRegular = true;
    return out;
  }
  if (st.st_size > maxBytes) {
    out.tooLarge = true;
    return out;
  }
  out.bytes.resize(qsizetype(st.st_size));
  qsizetype done = 0;
  for (;;) {
    if (done == out.bytes.size()) {
      // The file may have grown since fstat (edited in place): read on up to the limit.
      if (out.bytes.size() > maxBytes) {
        out.tooLarge = true;
        out.bytes.clear();
        return out;
      }
      out.bytes.resize(out.bytes.size() + 4096);
    }
    const ssize_t n = ::read(fd.get(), out.bytes.data() + done, size_t(out.bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      out.error = errnoText(u"cannot read"_s, path, errno);
      out.bytes.clear();
      return out;
    }
    if (n == 0) break;
    done += n;
  }
  out.bytes.truncate(done);
  return out;
}

Lock::Lock(const QString& hivePath) {
  const QString lockPath = hivePath + u".lock"_s;
  Fd fd(::open(native(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (fd.get() < 0) {
    m_error = errnoText(u"cannot open the lock file"_s, lockPath, errno);
    return;
  }
  while (::flock(fd.get(), LOCK_EX) != 0) {
    if (errno != EINTR) {
      m_error = errnoText(u"cannot lock"_s, lockPath, errno);
      return;
    }
  }
  m_fd = fd.release();
}

Lock::~Lock() {
  if (m_fd >= 0) ::close(m_fd);  // closing the last descriptor releases the flock
}

std::optional<QString> WriteAtomically(const QString& path, QByteArrayView bytes) {
  const QString tmpPath = path + u".tmp"_s;
  const QByteArray tmp = native(tmpPath);
  mode_t mode = 0644;
  struct stat old {};
  if (::stat(native(path).constData(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 07777;

  // O_NOFOLLOW: a link planted as the temp file cannot send the write outside the folder.
  // A temp file left by a killed writer is simply overwritten (we hold the lock).
  Fd fd(::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode));
  if (fd.get() < 0) return errnoText(u"cannot create"_s, tmpPath, errno);
  auto fail = [&](const QString& what) {
    const int err = errno;
    ::unlink(tmp.constData());
    return errnoText(what, tmpPath, err);
  };
  if (::fchmod(fd.get(), mode) != 0) return fail(u"cannot set the permissions of"_s);
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, size_t(bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(u"cannot write"_s);
    }
    done += n;
  }
  if (::fsync(fd.get()) != 0) return fail(u"cannot sync"_s);
  if (::close(fd.release()) != 0) return fail(u"cannot close"_s);
  if (::rename(tmp.constData(), native(path).constData()) != 0) return fail(u"cannot rename"_s);

  // The rename is durable only once the folder's entry is on disk.
  const QString dir = QFileInfo(path).absolutePath();
  Fd dirFd(::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() < 0 || ::fsync(dirFd.get()) != 0) return errnoText(u"cannot sync the folder"_s, dir, errno);
  return std::nullopt;
}

MoveResult MoveAside(const QString& path) {
  const QString base = path + u".corrupt-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-hhmmss"_s);
  QString target = base;
  struct stat st {};
  for (int n = 2; ::lstat(native(target).constData(), &st) == 0; ++n) target = base + u'-' + QString::number(n);
  if (::rename(native(path).constData(), native(target).constData()) != 0)
    return MoveResult{{}, errnoText(u"cannot move aside"_s, path, errno)};
  return MoveResult{target, std::nullopt};
}

}  // namespace zv::hivefile
