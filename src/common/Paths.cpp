#include "common/Paths.h"

#include "platform/RandomSource.h"

namespace zv {

QString IncludeTrailingSlash(const QString& path) {
  if (path.isEmpty() || path.endsWith(u'/')) return path;
  return path + u'/';
}

QString TempFolderFrom(const QProcessEnvironment& environment) {
  QString temp = environment.value(QStringLiteral("TMPDIR"));
  if (temp.isEmpty()) temp = QStringLiteral("/tmp");
  return IncludeTrailingSlash(temp);
}

QString RandomName(RandomSource& random) {
  QString name;
  name.reserve(8);
  for (int i = 0; i < 8; ++i) name += QChar(u'a' + random.Uniform(26));
  return name;
}

}  // namespace zv
