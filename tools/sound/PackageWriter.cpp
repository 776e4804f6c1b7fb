#include "PackageWriter.h"

#include "sound/PackageFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <mutex>

namespace zv::soundbuild {
namespace {

// Phrases spoken by one run of the synthesiser: enough to spread its start-up thin, few enough
// that the batches keep every job busy.
constexpr std::size_t kBatchSize = 32;

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
    QString key;
  };
  // Sounds in the cache are taken from it; the rest are spoken in batches of one voice and rate.
  std::array<std::vector<QByteArray>, kPackageCount> encoded;
  std::map<std::pair<QString, int>, std::vector<Slot>> missing;
  for (std::size_t p = 0; p < content.packages.size(); ++p) {
    encoded[p].resize(content.packages[p].size());
    for (std::size_t s = 0; s < content.packages[p].size(); ++s) {
      const SoundSpec& spec = content.packages[p][s];
      QString key = CacheKey(spec, tools.versions);
      if (std::optional<QByteArray> sound = cache.Load(key)) {
        ++report.cached;
        report.seconds += OpusSeconds(*sound);
        encoded[p][s] = std::move(*sound);
      } else {
        missing[{spec.voice, spec.rate}].push_back({p, s, std::move(key)});
      }
    }
  }
  std::vector<std::vector<Slot>> batches;
  for (const auto& [voice, group] : missing)
    for (std::size_t at = 0; at < group.size(); at += kBatchSize)
      batches.emplace_back(group.begin() + static_cast<std::ptrdiff_t>(at),
                           group.begin() + static_cast<std::ptrdiff_t>(std::min(at + kBatchSize, group.size())));

  std::mutex mutex;
  ParallelFor(static_cast<int>(batches.size()), jobs, [&](int b) {
    const std::vector<Slot>& batch = batches[static_cast<std::size_t>(b)];
    const auto specOf = [&](const Slot& slot) -> const SoundSpec& { return content.packages[slot.package][slot.sound]; };
    QStringList texts;
    for (const Slot& slot : batch) texts.append(specOf(slot).text);
    const std::vector<QByteArray> speech = SynthesizeBatch(tools, texts, specOf(batch.front()).voice, specOf(batch.front()).rate);
    for (std::size_t i = 0; i < batch.size(); ++i) {
      const SoundSpec& spec = specOf(batch[i]);
      Encoded e = speech.empty() ? Encode(tools, spec) : EncodeSpeech(tools, speech[i]);
      if (e.error.isEmpty() && !cache.Store(batch[i].key, e.opus))
        e.error = QStringLiteral("cannot write the cache in ") + cache.Dir();
      const std::lock_guard lock(mutex);
      if (!e.error.isEmpty()) {
        report.errors.append(QStringLiteral("%1: error: \"%2\" (%3): %4").arg(spec.origin, spec.text, spec.voice, e.error));
        continue;
      }
      ++report.spoken;
      report.seconds += OpusSeconds(e.opus);
      encoded[batch[i].package][batch[i].sound] = std::move(e.opus);
    }
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
