// The trainer's speed figures:
//  - start-up: from starting the real program (offscreen, or the platform QT_QPA_PLATFORM
//    names) until its main window answers on its
//    local server, which it opens once the message loop runs with the start screen on view;
//    the resident set size of the process at that moment is reported as rss_mb; without sound
//    (an audio driver that cannot open) and with it (SDL's dummy driver and all 26 packages in
//    the user's data folder, each sound the 0.3 s test tone);
//  - an answer: a click on the right answer button until the next task is painted, the
//    correct-answer window closed at once.

#include "platform/SingleInstance.h"
#include "sound/PackageFormat.h"
#include "support/MainFormRun.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>

namespace zv {
namespace {

double ResidentMegabytes(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return 0;
}

// All 26 packages in `folder`.
void WritePackages(const QString& folder) {
  QFile tone(QStringLiteral(ZV_FIXTURES "/opus_tone_300ms.opus"));
  tone.open(QIODevice::ReadOnly);
  const QByteArray sound = tone.readAll();
  QDir().mkpath(folder);
  for (int c = 0; c < kPackageCount; ++c) {
    PackageContent content;
    content.voiced = IsVoicedPackage(c);
    content.hundred = c - kCommentPackageCount;
    content.count = content.voiced ? 1 : 20;
    content.sounds.assign(content.voiced ? 100 : 20, sound);
    QFile file(QDir(folder).filePath(PackageFileName(c)));
    file.open(QIODevice::WriteOnly);
    file.write(BuildPackage(content));
  }
}

void BM_StartUpToStartScreen(benchmark::State& state) {
  const bool sound = state.range(0) != 0;
  double rss = 0;
  for (auto _ : state) {
    QTemporaryDir dir;
    if (sound) WritePackages(dir.filePath(QStringLiteral("Zorvik")));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), sound ? QStringLiteral("dummy") : QStringLiteral("zv-no-audio"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
      env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("ZORVIK_REGISTRY_DIR"), dir.filePath(QStringLiteral("registry")));
    const QString server = InstancePaths::InFolder(dir.path()).ServerName;
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(QStringLiteral(ZV_TRAINER));
    process.setStandardErrorFile(QProcess::nullDevice());
    const auto start = std::chrono::steady_clock::now();
    process.start();
    bool up = false;
    while (!up && process.state() != QProcess::NotRunning &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
      up = SendInstanceMessage(server, kBringForwardMessage, 100);
      if (!up) QThread::usleep(500);
    }
    const auto shown = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    rss = ResidentMegabytes(process.processId());
    SendInstanceMessage(server, kQuitMessage);
    process.waitForFinished(20000);
    if (!up) state.SkipWithError("the trainer did not come up");
  }
  state.counters["rss_mb"] = rss;
}
BENCHMARK(BM_StartUpToStartScreen)
    ->ArgName("sound")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_AnswerToNextTask(benchmark::State& state) {
  QTemporaryDir dir;
  // One task over and over ("fn2"): the draw costs the same and the bank never runs out.
  test::TrainerRun run(dir.path(), {QStringLiteral("zorvik"), QStringLiteral("fn2")});
  TZVMainForm& form = *run.form;
  form.GenComboBox->setCurrentIndex(45);  // fifty tasks an exam
  run.Click(form.BitBtns[4]);
  QApplication::processEvents();
  for (auto _ : state) {
    TBitBtn* right = run.Answer(true);
    right->click();
    form.repaint();
    if (form.BitBtns[4]->Tag == kStartTag) {  // the exam is over: the next one starts untimed
      state.PauseTiming();
      form.BitBtns[4]->click();
      QApplication::processEvents();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_AnswerToNextTask)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
  // Offscreen unless asked otherwise (QT_QPA_PLATFORM=xcb under Xvfb measures a real window).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
