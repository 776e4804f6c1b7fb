// Sound figures: the start-up scan of all 26 packages (warm cache), and a click to the
// comment's first buffer being queued: the comment read out of its package, decoded and handed
// to the mixer (SDL's dummy driver; the mixer then takes it with its next buffer, 23 ms at
// most). The packages hold real-sized sounds: a phrase spoken by RHVoice and encoded as Opus at
// 16 kbit/s when the voice and the encoder are installed, else the 0.3 s test tone.

#include "platform/MessageBox.h"
#include "platform/RandomSource.h"
#include "platform/Registry.h"
#include "platform/SdlSoundEngine.h"
#include "sound/PackageFormat.h"
#include "sound/PackageSoundService.h"
#include "sound/SoundPackages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zv;

QByteArray RunTool(const QString& program, const QStringList& arguments, const QByteArray& input) {
  QProcess process;
  process.start(program, arguments);
  process.write(input);
  process.closeWriteChannel();
  process.waitForFinished(60000);
  return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

// One spoken phrase as Ogg Opus (about 2 s, a few KB).
QByteArray SpokenSound(const QString& folder) {
  const QString wav = QDir(folder).filePath(QStringLiteral("phrase.wav"));
  const QString opus = QDir(folder).filePath(QStringLiteral("phrase.opus"));
  if (!QStandardPaths::findExecutable(QStringLiteral("RHVoice-test")).isEmpty() &&
      !QStandardPaths::findExecutable(QStringLiteral("opusenc")).isEmpty()) {
    RunTool(QStringLiteral("RHVoice-test"),
            {QStringLiteral("-p"), QStringLiteral("elena"), QStringLiteral("-o"), wav},
            QStringLiteral("Ну ты даёшь, сразу в точку попал, молодец!").toUtf8());
    RunTool(QStringLiteral("opusenc"),
            {QStringLiteral("--quiet"), QStringLiteral("--bitrate"), QStringLiteral("16"), wav, opus},
            {});
  }
  QFile file(QFile::exists(opus) ? opus : QStringLiteral(ZV_FIXTURES "/opus_tone_300ms.opus"));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

struct Packages {
  QTemporaryDir dir;
  QByteArray sound;
  Packages() {
    sound = SpokenSound(dir.path());
    for (int c = 0; c < kPackageCount; ++c) {
      PackageContent content;
      content.voiced = IsVoicedPackage(c);
      content.hundred = c - kCommentPackageCount;
      const int count = content.voiced ? 100 : 50;
      content.count = static_cast<std::uint16_t>(content.voiced ? 1 : count);
      for (int j = 0; j < count; ++j) content.sounds.push_back(sound);
      QFile file(QDir(dir.path()).filePath(PackageFileName(c)));
      file.open(QIODevice::WriteOnly);
      file.write(BuildPackage(content));
    }
  }
};

Packages& Shared() {
  static Packages packages;
  return packages;
}

void BM_ScanAllPackages(benchmark::State& state) {
  Packages& packages = Shared();
  QTemporaryDir hive;
  Registry registry(RegistryPaths::inOneFolder(hive.path()));
  ClockSeededRandom random(1);
  MessageBoxHook boxes;
  for (auto _ : state) {
    SoundPackages scan;
    scan.Load({{packages.dir.path()}, true, &registry, &random, {}});
    benchmark::DoNotOptimize(scan.Results().allVoicedPresent);
  }
  state.counters["sound_bytes"] = static_cast<double>(packages.sound.size());
}
BENCHMARK(BM_ScanAllPackages)->Unit(benchmark::kMillisecond);

void BM_ClickToFirstBufferQueued(benchmark::State& state) {
  Packages& packages = Shared();
  QTemporaryDir hive;
  Registry registry(RegistryPaths::inOneFolder(hive.path()));
  ClockSeededRandom random(1);
  MessageBoxHook boxes;
  qputenv("SDL_AUDIODRIVER", "dummy");
  SdlSoundEngine engine;
  PackageSoundService service(engine, random, {packages.dir.path()});
  service.Load(registry, {});
  if (!service.EngineWorks()) {
    state.SkipWithError("the sound engine did not start");
    return;
  }
  for (auto _ : state) {
    service.PlayComment(SoundCategory::Right, false, {});
    benchmark::DoNotOptimize(engine.IsPlaying(SoundChannel::Speech));
  }
  service.Stop();
  service.Finish(registry);
}
BENCHMARK(BM_ClickToFirstBufferQueued)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
