#pragma once
// Tiny sound packages written into a temp folder for the scan and the sound service: every
// sound is a few distinctive bytes ("y3" is sound 3 of zvy.cok, "q1234" the voiced task 1234),
// so a test can tell exactly which sound was read.

#include "sound/PackageFormat.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace zv::test {

// The bytes of one fixture sound, long enough to be scrambled.
inline QByteArray FixtureSound(const QString& label) {
  return (label + QStringLiteral(": a recorded sound of the fixture")).toLatin1();
}

// The content of package `category` with `count` comments (a voiced package holds its 100).
inline PackageContent FixtureContent(int category, int count, int version = 34) {
  PackageContent content;
  content.version = version;
  content.voiced = IsVoicedPackage(category);
  const QString name = PackageCategoryName(category);
  if (content.voiced) {
    content.hundred = category - kCommentPackageCount;
    content.count = static_cast<std::uint16_t>(count);
    for (int j = 0; j < kVoicedPerPackage; ++j)
      content.sounds.push_back(FixtureSound(QStringLiteral("q%1").arg(content.hundred * 100 + j + 1)));
  } else {
    content.count = static_cast<std::uint16_t>(count);
    for (int j = 0; j < count; ++j) content.sounds.push_back(FixtureSound(name + QString::number(j)));
  }
  return content;
}

class PackageFolder {
 public:
  QString Path() const { return m_dir.path(); }
  QString FilePath(int category) const { return QDir(m_dir.path()).filePath(PackageFileName(category)); }
  void Write(int category, const QByteArray& bytes) const {
    QFile file(FilePath(category));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }
  // Comment packages of `comments` sounds each, voiced packages of revision 1.
  void WriteAll(int comments = 4) const {
    for (int c = 0; c < kPackageCount; ++c)
      Write(c, BuildPackage(FixtureContent(c, IsVoicedPackage(c) ? 1 : comments)));
  }
  void Remove(int category) const { QFile::remove(FilePath(category)); }

 private:
  QTemporaryDir m_dir;
};

}  // namespace zv::test
