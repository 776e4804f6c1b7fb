// zvsound: speaks the phrases and comments of content/ into the sound packages.
//   zvsound [--jobs N] [--cache DIR] CONTENT_DIR OUTPUT_DIR
//       builds every package that can be built into OUTPUT_DIR (cached sounds are not spoken
//       again); an error in the content is printed as file:line: error: message and fails the run.
//   zvsound --stress-readout FILE [--jobs N] CONTENT_DIR
//       writes, for every written phrase and every comment, the vowels the voice stresses.
//   zvsound --measure-rate CONTENT_DIR
//       measures each voice's syllables a second over a sample of phrases.
//   zvsound --verify PACKAGE_DIR [--jobs N]
//       reads every package back as the trainer does and decodes every sound (needs opusdec).
//   zvsound --check CONTENT_DIR
//       only checks what the packages would say (needs no voice).

#include "PackageWriter.h"
#include "SoundPipeline.h"
#include "SoundSources.h"
#include "SpeechText.h"
#include "StressReadout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <mutex>

using namespace zv::soundbuild;

namespace {

void Print(FILE* to, const QString& line) {
  std::fprintf(to, "%s\n", qPrintable(line));
  std::fflush(to);
}

int Usage() {
  std::fprintf(stderr,
               "usage: zvsound [--jobs N] [--cache DIR] CONTENT_DIR OUTPUT_DIR\n"
               "       zvsound --stress-readout FILE [--jobs N] CONTENT_DIR\n"
               "       zvsound --measure-rate CONTENT_DIR\n"
               "       zvsound --verify PACKAGE_DIR [--jobs N]\n"
               "       zvsound --check CONTENT_DIR\n");
  return 2;
}

// Takes "--name value" out of args; empty when absent.
QString TakeOption(QStringList& args, const QString& name) {
  const qsizetype at = args.indexOf(name);
  if (at < 0 || at + 1 >= args.size()) return {};
  const QString value = args[at + 1];
  args.remove(at, 2);
  return value;
}

int StressReadout(const Tools& tools, const ContentSounds& content, const QString& file, int jobs) {
  std::vector<ReadoutItem> items;
  for (const auto& [index, sound] : content.phrases) items.push_back({QString::number(index), sound});
  for (const std::vector<SoundSpec>& package : content.packages)
    for (const SoundSpec& sound : package)
      if (sound.origin.contains(QStringLiteral("/comments/")))
        items.push_back({sound.origin.section(QLatin1Char('/'), -1), sound});
  std::vector<ReadoutLine> lines(items.size());
  AloneCache alone;
  std::mutex progress;
  int done = 0;
  ParallelFor(static_cast<int>(items.size()), jobs, [&](int i) {
    lines[static_cast<std::size_t>(i)] = ReadStress(tools, items[static_cast<std::size_t>(i)], alone);
    const std::lock_guard lock(progress);
    if (++done % 50 == 0) Print(stderr, QStringLiteral("stress read-out: %1 of %2").arg(done).arg(items.size()));
  });
  QStringList out{
      QStringLiteral(
          "# The voice's stress: stressed vowels in capitals. A mark on the stressed vowel leaves the voice's "
          "audio unchanged."),
      QStringLiteral("# (1): the word is not accented in the phrase; said alone, the voice stresses it as shown."),
      QStringLiteral("# (?): no mark reproduces the voice's reading, in the phrase or alone (it reads the word its "
                     "own way); the capital is only a guess: the mark whose audio is nearest in length."),
      QStringLiteral(
          "# Not tested: words of one syllable, with \"ё\", or with a mark of the spoken form (its capital).")};
  int words = 0, guessed = 0, aloneOnly = 0, failed = 0;
  for (const ReadoutLine& l : lines) {
    if (!l.error.isEmpty()) {
      ++failed;
      out.append(QStringLiteral("%1\terror: %2").arg(l.label, l.error));
      continue;
    }
    out.append(QStringLiteral("%1\t%2").arg(l.label, l.text));
    words += l.words;
    guessed += l.guessed;
    aloneOnly += l.alone;
  }
  const QString summary = QStringLiteral("# %1 texts, %2 words tested: %3 (1), %4 (?); %5 failed")
                              .arg(lines.size())
                              .arg(words)
                              .arg(aloneOnly)
                              .arg(guessed)
                              .arg(failed);
  out.append(summary);
  QSaveFile f(file);
  const QByteArray bytes = out.join(QLatin1Char('\n')).toUtf8() + '\n';
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
    Print(stderr, QStringLiteral("zvsound: cannot write ") + file);
    return 1;
  }
  Print(stdout, summary.mid(2));
  return failed == 0 ? 0 : 1;
}

int MeasureRate(const Tools& tools, const ContentSounds& content, int jobs) {
  // Every fourteenth phrase: a sample across all the hundreds written.
  std::vector<SoundSpec> sample;
  int n = 0;
  for (const auto& [index, sound] : content.phrases)
    if (n++ % 14 == 0) sample.push_back(sound);
  for (const Voice& voice : kVoices) {
    std::vector<int> rates{100};
    if (voice.rate != 100) rates.push_back(voice.rate);
    for (const int rate : rates) {
      std::vector<double> seconds(sample.size());
      int syllables = 0;
      for (const SoundSpec& s : sample) syllables += CountSyllables(s.text);
      ParallelFor(static_cast<int>(sample.size()), jobs, [&](int i) {
        QString error;
        const QByteArray wav =
            Synthesize(tools, sample[static_cast<std::size_t>(i)].text, QLatin1String(voice.name), rate, error);
        seconds[static_cast<std::size_t>(i)] = wav.isEmpty() ? -1 : SpeechSeconds(tools, wav, error);
      });
      double total = 0;
      for (const double s : seconds) total += s;
      Print(stdout,
            QStringLiteral("%1 at rate %2: %3 syllables in %4 s = %5 syllables a second (%6 phrases)")
                .arg(QLatin1String(voice.name))
                .arg(rate)
                .arg(syllables)
                .arg(total, 0, 'f', 1)
                .arg(syllables / total, 0, 'f', 2)
                .arg(sample.size()));
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  const QString readout = TakeOption(args, QStringLiteral("--stress-readout"));
  const bool measure = args.removeAll(QStringLiteral("--measure-rate")) > 0;
  const bool check = args.removeAll(QStringLiteral("--check")) > 0;
  const QString verify = TakeOption(args, QStringLiteral("--verify"));
  const int jobs = std::max(1, TakeOption(args, QStringLiteral("--jobs")).toInt());
  QString cacheDir = TakeOption(args, QStringLiteral("--cache"));
  if (cacheDir.isEmpty()) cacheDir = SoundCache::DefaultDir();
  if (!verify.isEmpty()) {
    int sounds = 0;
    const QStringList faults = VerifyPackages(verify, jobs, sounds);
    for (const QString& f : faults) Print(stderr, f);
    Print(stdout, QStringLiteral("zvsound: %1 sounds read back, %2 faults").arg(sounds).arg(faults.size()));
    return faults.isEmpty() ? 0 : 1;
  }
  const bool build = readout.isEmpty() && !measure && !check;
  if (args.size() != (build ? 2 : 1)) return Usage();
  if (check) {
    const ContentSounds content = LoadContent(QDir(args[0]));
    for (const QString& e : content.errors) Print(stderr, e);
    for (const QString& note : content.notes) Print(stdout, note);
    return content.errors.isEmpty() ? 0 : 1;
  }

  const Tools tools = FindTools();
  if (!tools.Missing().isEmpty()) {
    Print(stderr,
          QStringLiteral("zvsound: %1 not found: the sound packages are skipped")
              .arg(tools.Missing().join(QStringLiteral(", "))));
    return 3;
  }
  const ContentSounds content = LoadContent(QDir(args[0]));
  for (const QString& e : content.errors) Print(stderr, e);
  if (!content.errors.isEmpty()) {
    Print(stderr, QStringLiteral("zvsound: the content has errors; nothing written"));
    return 1;
  }
  if (!readout.isEmpty()) return StressReadout(tools, content, readout, jobs);
  if (measure) return MeasureRate(tools, content, jobs);
  for (const QString& note : content.notes) Print(stdout, note);
  QElapsedTimer timer;
  timer.start();
  const BuildReport report = BuildPackages(tools, content, SoundCache(cacheDir), args[1], jobs);
  for (const QString& e : report.errors) Print(stderr, e);
  if (!report.errors.isEmpty()) return 1;
  Print(stdout,
        QStringLiteral("zvsound: %1 packages, %2 KiB, %3 min of speech; %4 sounds spoken, %5 from the cache; %6 s")
            .arg(report.packages)
            .arg(report.bytes / 1024)
            .arg(report.seconds / 60, 0, 'f', 1)
            .arg(report.spoken)
            .arg(report.cached)
            .arg(static_cast<double>(timer.elapsed()) / 1000, 0, 'f', 1));
  return 0;
}
