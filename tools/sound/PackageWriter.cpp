#include "PackageWriter.h"

#include "sound/PackageFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <mutex>

namespace zv::soundbuild {
namespace {

bool WriteIfChanged(const QString& path, const QByteArray& bytes) {
  QFile old(path);
  if (old.open(QIODevice::ReadOnly) && old.size() == bytes.size() && old.readAll() == bytes) return true;
  QSaveFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

}  // namespace

PackageContent PackageOf(int category, std::vector<QByteArray> sounds) {
  PackageContent p;
  p.version = 34;
  p.voiced = IsVoicedPackage(category);
  p.hundred = p.voiced ? category - kCommentPackageCount : 0;
  p.count = p.voiced ? kVoicedRevision : static_cast<std::uint16_t>(sounds.size());
  p.sounds = std::move(sounds);
  return p;
}

BuildReport BuildPackages(const Tools& tools, const ContentSounds& content, const SoundCache& cache,
                          const QString& outputDir, int jobs) {
  BuildReport report;
  struct Slot {
    std::size_t package, sound;
  };
  std::vector<Slot> queue;
  std::array<std::vector<QByteArray>, kPackageCount> encoded;
  for (std::size_t p = 0; p < content.packages.size(); ++p) {
    encoded[p].resize(content.packages[p].size());
    for (std::size_t s = 0; s < content.packages[p].size(); ++s) queue.push_back({p, s});
  }
  std::mutex mutex;
  ParallelFor(static_cast<int>(queue.size()), jobs, [&](int i) {
    const Slot slot = queue[static_cast<std::size_t>(i)];
    const SoundSpec& spec = content.packages[slot.package][slot.sound];
    const QString key = CacheKey(spec, tools.versions);
    std::optional<QByteArray> sound = cache.Load(key);
    const bool hit = sound.has_value();
    QString error;
    if (!hit) {
      Encoded e = Encode(tools, spec);
      if (e.error.isEmpty() && !cache.Store(key, e.opus))
        e.error = QStringLiteral("cannot write the cache in ") + cache.Dir();
      error = e.error;
      if (error.isEmpty()) sound = std::move(e.opus);
    }
    const std::lock_guard lock(mutex);
    if (!error.isEmpty()) {
      report.errors.append(QStringLiteral("%1: error: \"%2\" (%3): %4").arg(spec.origin, spec.text, spec.voice, error));
      return;
    }
    (hit ? report.cached : report.spoken) += 1;
    report.seconds += OpusSeconds(*sound);
    encoded[slot.package][slot.sound] = std::move(*sound);
  });
  if (!report.errors.isEmpty()) return report;

  if (!QDir().mkpath(outputDir)) {
    report.errors.append(QStringLiteral("cannot make the folder ") + outputDir);
    return report;
  }
  const QDir out(outputDir);
  for (int category = 0; category < kPackageCount; ++category) {
    const QString path = out.filePath(PackageFileName(category));
    std::vector<QByteArray>& sounds = encoded[static_cast<std::size_t>(category)];
    if (sounds.empty()) {
      QFile::remove(path);  // a package this content no longer fills
      continue;
    }
    const QByteArray bytes = BuildPackage(PackageOf(category, std::move(sounds)));
    if (!WriteIfChanged(path, bytes)) {
      report.errors.append(QStringLiteral("cannot write ") + path);
      continue;
    }
    ++report.packages;
    report.bytes += bytes.size();
  }
  return report;
}

QStringList VerifyPackages(const QString& dir, int jobs, int& sounds) {
  QStringList faults;
  sounds = 0;
  const QString opusdec = QStandardPaths::findExecutable(QStringLiteral("opusdec"));
  if (opusdec.isEmpty()) return {QStringLiteral("opusdec not found")};
  struct Item {
    QString path;
    bool voiced;
    int index;
  };
  std::vector<Item> items;
  for (int category = 0; category < kPackageCount; ++category) {
    const QString path = QDir(dir).filePath(PackageFileName(category));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) continue;
    const bool voiced = IsVoicedPackage(category);
    const PackageInspection inspection = InspectPackage(f, voiced);
    if (inspection.status != PackageStatus::Intact) {
      faults.append(path + QStringLiteral(": not intact"));
      continue;
    }
    const int first = voiced ? (category - kCommentPackageCount) * kVoicedPerPackage : 0;
    for (int j = 0; j < inspection.head.sounds; ++j) items.push_back({path, voiced, first + j});
  }
  sounds = static_cast<int>(items.size());
  std::mutex mutex;
  ParallelFor(sounds, jobs, [&](int i) {
    const Item& item = items[static_cast<std::size_t>(i)];
    QFile f(item.path);
    QByteArray sound;
    if (f.open(QIODevice::ReadOnly)) sound = ReadPackageSound(f, item.voiced, item.index);
    QTemporaryDir tmp;
    QFile in(tmp.filePath(QStringLiteral("sound.opus")));
    bool ok = sound.startsWith("OggS") && in.open(QIODevice::WriteOnly) && in.write(sound) == sound.size();
    in.close();
    if (ok) {
      QProcess p;
      p.start(opusdec, {QStringLiteral("--quiet"), in.fileName(), tmp.filePath(QStringLiteral("sound.wav"))});
      ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
           QFileInfo(tmp.filePath(QStringLiteral("sound.wav"))).size() > 44;
    }
    if (ok) return;
    const std::lock_guard lock(mutex);
    faults.append(QStringLiteral("%1: sound %2 does not decode").arg(item.path).arg(item.index));
  });
  return faults;
}

}  // namespace zv::soundbuild
