#pragma once
// HiveFile: the file side of a hive — the only code of the registry store that touches the
// disk. It moves bytes and never interprets them: identity stamps for cheap change checks, a
// whole-file read, the advisory lock beside the hive, the atomic replacement and the move
// aside of a file that does not parse. Every file it creates or renames lies in the hive's own
// folder: "<hive>.lock", "<hive>.tmp" and "<hive>.corrupt-<yyyyMMdd-hhmmss>[-N]".

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace zv::hivefile {

// Identity of the file at a path. Equal stamps mean an unchanged file unless the file was
// replaced within the file system's timestamp granularity; see Trusted().
struct Stamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t mtimeNs = 0;
  std::int64_t ctimeNs = 0;
  friend bool operator==(const Stamp&, const Stamp&) = default;
};

Stamp StatPath(const QString& path);
std::int64_t NowNs();  // wall clock, the clock file times are taken from

// A stamp taken at `verifiedAtNs` (a moment before the bytes were read) proves the content
// unchanged for as long as it stays equal, provided the file had been left alone for a while
// by then: a later change lands on a later timestamp. A file written within the last two
// seconds must be compared by content instead.
bool Trusted(const Stamp& stamp, std::int64_t verifiedAtNs);

struct Contents {
  Stamp stamp;  // of the file that was read (fstat of the open file)
  QByteArray bytes;
  bool tooLarge = false;         // larger than the limit; bytes not read
  bool notRegular = false;       // a folder, device or pipe where the hive should be
  std::optional<QString> error;  // could not be read (permissions, I/O)
};

Contents ReadAll(const QString& path, std::int64_t maxBytes);

// Exclusive flock() on "<hive>.lock", held for the object's life. Blocks until granted.
class Lock {
 public:
  explicit Lock(const QString& hivePath);
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  bool Held() const { return m_fd >= 0; }
  const QString& Error() const { return m_error; }

 private:
  int m_fd = -1;
  QString m_error;
};

// Writes "<path>.tmp", fsyncs it, renames it over path and fsyncs the folder: a reader or a
// crash sees the old file or the new one, never a part. Keeps the old file's permissions.
std::optional<QString> WriteAtomically(const QString& path, QByteArrayView bytes);

// Renames path to "<path>.corrupt-<yyyyMMdd-hhmmss>" (local time; "-2", "-3", ... when that
// name is taken). Returns the new name, or the error.
struct MoveResult {
  QString movedTo;
  std::optional<QString> error;
};
MoveResult MoveAside(const QString& path);

}  // namespace zv::hivefile
