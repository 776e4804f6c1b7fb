#include "update/UpdateFolder.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace zv {

std::optional<QString> PrepareUpdateFolder(const QString& tempFolder) {
  const QString folder = tempFolder + QStringLiteral("zorvik-update-") + QString::number(::getuid());
  const QByteArray path = QFile::encodeName(folder);
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return std::nullopt;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 07777) != 0700) return std::nullopt;
  return folder + QLatin1Char('/');
}

}  // namespace zv
