#include "SoundPipeline.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace zv::soundbuild {
namespace {

// Raise when the pipeline changes in a way its settings below do not show.
constexpr int kPipelineVersion = 1;
// Silence below this level is trimmed at both ends; a short pad is put back so no sound starts
// or ends abruptly.
const char* const kSilenceThreshold = "-50d";
const char* const kPadStart = "0.03";
const char* const kPadEnd = "0.06";
// Loudness: the speech's RMS level is brought to this, unless its peak would pass the ceiling.
constexpr double kTargetRmsDb = -20.0;
constexpr double kPeakCeilingDb = -1.0;
constexpr int kEncoderRate = 48000;
const char* const kBitrate = "16";
// A fixed serial makes the Ogg stream the same on every run.
const char* const kSerial = "20031500";
constexpr double kMinSeconds = 0.3;
constexpr int kTimeoutMs = 120000;

struct Result {
  bool ok = false;
  QByteArray out, err;
};

Result Run(const QString& program, const QStringList& args, const QByteArray& input = {}) {
  QProcess p;
  p.setProgram(program);
  p.setArguments(args);
  p.start();
  if (!p.waitForStarted(kTimeoutMs)) return {false, {}, p.errorString().toUtf8()};
  if (!input.isEmpty()) p.write(input);
  p.closeWriteChannel();
  if (!p.waitForFinished(kTimeoutMs)) {
    p.kill();
    p.waitForFinished();
    return {false, {}, QByteArrayLiteral("timed out")};
  }
  Result r{p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardOutput(), {}};
  r.err = p.readAllStandardError();
  return r;
}

QString Failure(const QString& program, const Result& r) {
  return QStringLiteral("%1 failed: %2").arg(QFileInfo(program).fileName(), QString::fromUtf8(r.err).trimmed());
}

QStringList TrimEffects() {
  const QString t = QLatin1String(kSilenceThreshold);
  return {QStringLiteral("silence"),
          QStringLiteral("1"),
          QStringLiteral("0.01"),
          t,
          QStringLiteral("reverse"),
          QStringLiteral("silence"),
          QStringLiteral("1"),
          QStringLiteral("0.01"),
          t,
          QStringLiteral("reverse")};
}

QStringList EncoderArgs() {
  return {QStringLiteral("--quiet"),
          QStringLiteral("--bitrate"),
          QLatin1String(kBitrate),
          QStringLiteral("--speech"),
          QStringLiteral("--serial"),
          QLatin1String(kSerial),
          QStringLiteral("--padding"),
          QStringLiteral("0")};
}

// Every setting of the pipeline in one string, for the cache key.
QString Settings() {
  return QStringList{QString::number(kPipelineVersion),
                     TrimEffects().join(QLatin1Char(' ')),
                     QLatin1String(kPadStart),
                     QLatin1String(kPadEnd),
                     QString::number(kTargetRmsDb),
                     QString::number(kPeakCeilingDb),
                     QString::number(kEncoderRate),
                     EncoderArgs().join(QLatin1Char(' ')),
                     QString::number(kMinSeconds)}
      .join(QLatin1Char('|'));
}

double StatValue(const QByteArray& stats, const char* name) {
  const QRegularExpression re(QStringLiteral("^%1\\s+(-?[0-9.]+|-inf)").arg(QLatin1String(name)),
                              QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = re.match(QString::fromUtf8(stats));
  if (!m.hasMatch() || m.captured(1) == QStringLiteral("-inf")) return -1000.0;
  return m.captured(1).toDouble();
}

quint64 ReadLe(const QByteArray& data, qsizetype at, int bytes) {
  quint64 v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<quint8>(data[at + i]);
  return v;
}

void WriteLe32(QByteArray& data, qsizetype at, quint64 value) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The sentence said after every phrase of a batch. The synthesiser speaks each paragraph on its
// own, so the marker's samples recur unchanged after every phrase and show where it ends.
QString BatchMarker() { return QString::fromUtf8("Конец фразы."); }

// A WAV file cut in two: everything before the samples, and the samples (whole frames).
struct Wave {
  QByteArray header;
  QByteArray samples;
  int frameBytes = 0;
};

std::optional<Wave> ReadWave(const QByteArray& wav) {
  if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE") return std::nullopt;
  int frameBytes = 0;
  for (qsizetype at = 12; at + 8 <= wav.size();) {
    const QByteArray id = wav.mid(at, 4);
    const auto size = static_cast<qsizetype>(ReadLe(wav, at + 4, 4));
    if (id == "fmt " && size >= 16 && at + 24 <= wav.size()) frameBytes = static_cast<int>(ReadLe(wav, at + 20, 2));
    if (id == "data") {
      if (frameBytes <= 0) return std::nullopt;
      const qsizetype start = at + 8;
      qsizetype length = std::min(size, wav.size() - start);
      length -= length % frameBytes;
      return Wave{wav.left(start), wav.mid(start, length), frameBytes};
    }
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

// A WAV file with the header of `wave` and the given samples, as the synthesiser writes it.
QByteArray WithSamples(const Wave& wave, const QByteArray& samples) {
  QByteArray header = wave.header;
  WriteLe32(header, 4, static_cast<quint64>(header.size() - 8 + samples.size()));
  WriteLe32(header, header.size() - 4, static_cast<quint64>(samples.size()));
  return header + samples;
}

// Where `part` next occurs in `whole` at or after `from`, on a frame boundary; -1 if nowhere.
qsizetype FindFrames(const QByteArray& whole, const QByteArray& part, qsizetype from, int frameBytes) {
  for (qsizetype at = whole.indexOf(part, from); at >= 0; at = whole.indexOf(part, at + 1))
    if (at % frameBytes == 0) return at;
  return -1;
}

}  // namespace

QStringList Tools::Missing() const {
  QStringList missing;
  if (rhvoice.isEmpty()) missing.append(QStringLiteral("RHVoice-test"));
  if (sox.isEmpty()) missing.append(QStringLiteral("sox"));
  if (opusenc.isEmpty()) missing.append(QStringLiteral("opusenc"));
  return missing;
}

Tools FindTools() {
  Tools t;
  t.rhvoice = QStandardPaths::findExecutable(QStringLiteral("RHVoice-test"));
  t.sox = QStandardPaths::findExecutable(QStringLiteral("sox"));
  t.opusenc = QStandardPaths::findExecutable(QStringLiteral("opusenc"));
  if (!t.Missing().isEmpty()) return t;
  QStringList versions;
  // The synthesiser does not tell its version; its Debian packages do (the voice's data included).
  const QString dpkg = QStandardPaths::findExecutable(QStringLiteral("dpkg-query"));
  const Result voice = dpkg.isEmpty() ? Result{}
                                      : Run(dpkg,
                                            {QStringLiteral("-W"),
                                             QStringLiteral("-f=${Package} ${Version}\\n"),
                                             QStringLiteral("rhvoice"),
                                             QStringLiteral("rhvoice-russian"),
                                             QStringLiteral("librhvoice-core7")});
  if (voice.ok) {
    versions.append(QString::fromUtf8(voice.out).trimmed());
  } else {
    const QFileInfo binary(t.rhvoice);
    versions.append(
        QStringLiteral("RHVoice-test %1 %2").arg(binary.size()).arg(binary.lastModified().toSecsSinceEpoch()));
  }
  versions.append(QString::fromUtf8(Run(t.sox, {QStringLiteral("--version")}).out).trimmed());
  versions.append(
      QString::fromUtf8(Run(t.opusenc, {QStringLiteral("--version")}).out).section(QLatin1Char('\n'), 0, 0));
  t.versions = versions.join(QLatin1Char('|'));
  return t;
}

QByteArray Synthesize(const Tools& tools, const QString& text, const QString& voice, int rate, QString& error) {
  QTemporaryDir dir;
  if (!dir.isValid()) {
    error = QStringLiteral("cannot make a temporary folder");
    return {};
  }
  const QString wav = dir.filePath(QStringLiteral("speech.wav"));
  const Result r =
      Run(tools.rhvoice,
          {QStringLiteral("-p"), voice, QStringLiteral("-r"), QString::number(rate), QStringLiteral("-o"), wav},
          text.toUtf8() + '\n');
  QFile f(wav);
  if (!r.ok || !f.open(QIODevice::ReadOnly)) {
    error = Failure(tools.rhvoice, r);
    return {};
  }
  return f.readAll();
}

std::vector<QByteArray> SynthesizeBatch(const Tools& tools, const QStringList& texts, const QString& voice,
                                        int rate) {
  if (texts.isEmpty()) return {};
  QString error;
  const QString marker = BatchMarker();
  const std::optional<Wave> alone = ReadWave(Synthesize(tools, marker, voice, rate, error));
  QString joined;
  for (const QString& text : texts) joined += text + QStringLiteral("\n\n") + marker + QStringLiteral("\n\n");
  const std::optional<Wave> batch = ReadWave(Synthesize(tools, joined, voice, rate, error));
  if (!alone || !batch || alone->samples.isEmpty() || alone->frameBytes != batch->frameBytes) return {};
  std::vector<QByteArray> wavs;
  qsizetype from = 0;
  for (qsizetype i = 0; i < texts.size(); ++i) {
    const qsizetype at = FindFrames(batch->samples, alone->samples, from, batch->frameBytes);
    if (at <= from) return {};  // no marker, or a phrase that made no sound
    wavs.push_back(WithSamples(*batch, batch->samples.mid(from, at - from)));
    from = at + alone->samples.size();
  }
  if (from != batch->samples.size()) return {};  // a marker inside a phrase: the cuts cannot be trusted
  return wavs;
}

double SpeechSeconds(const Tools& tools, const QByteArray& wav, QString& error) {
  QTemporaryDir dir;
  const QString raw = dir.filePath(QStringLiteral("raw.wav"));
  QFile f(raw);
  if (!dir.isValid() || !f.open(QIODevice::WriteOnly) || f.write(wav) != wav.size()) {
    error = QStringLiteral("cannot write a temporary file");
    return -1;
  }
  f.close();
  const Result stats =
      Run(tools.sox, QStringList{raw, QStringLiteral("-n")} + TrimEffects() + QStringList{QStringLiteral("stats")});
  if (!stats.ok) {
    error = Failure(tools.sox, stats);
    return -1;
  }
  return StatValue(stats.err, "Length s");
}

Encoded Encode(const Tools& tools, const SoundSpec& sound) {
  QString error;
  const QByteArray speech = Synthesize(tools, sound.text, sound.voice, sound.rate, error);
  if (speech.isEmpty()) return {{}, error};
  return EncodeSpeech(tools, speech);
}

Encoded EncodeSpeech(const Tools& tools, const QByteArray& speech) {
  QTemporaryDir dir;
  if (!dir.isValid()) return {{}, QStringLiteral("cannot make a temporary folder")};
  const QString raw = dir.filePath(QStringLiteral("raw.wav"));
  const QString level = dir.filePath(QStringLiteral("level.wav"));
  const QString opus = dir.filePath(QStringLiteral("sound.opus"));
  {
    QFile f(raw);
    if (!f.open(QIODevice::WriteOnly) || f.write(speech) != speech.size())
      return {{}, QStringLiteral("cannot write ") + raw};
  }
  // Measure the trimmed speech, then trim, level, pad and resample it in one pass.
  const Result stats =
      Run(tools.sox, QStringList{raw, QStringLiteral("-n")} + TrimEffects() + QStringList{QStringLiteral("stats")});
  if (!stats.ok) return {{}, Failure(tools.sox, stats)};
  if (StatValue(stats.err, "Length s") <= 0) return {{}, QStringLiteral("the synthesiser made no speech")};
  const double gain =
      std::min(kTargetRmsDb - StatValue(stats.err, "RMS lev dB"), kPeakCeilingDb - StatValue(stats.err, "Pk lev dB"));
  const Result levelled =
      Run(tools.sox,
          QStringList{QStringLiteral("-R"), raw, QStringLiteral("-b"), QStringLiteral("16"), level} + TrimEffects() +
              QStringList{QStringLiteral("gain"),
                          QString::number(gain, 'f', 2),
                          QStringLiteral("pad"),
                          QLatin1String(kPadStart),
                          QLatin1String(kPadEnd),
                          QStringLiteral("rate"),
                          QStringLiteral("-v"),
                          QString::number(kEncoderRate)});
  if (!levelled.ok) return {{}, Failure(tools.sox, levelled)};
  const Result encoded = Run(tools.opusenc, EncoderArgs() + QStringList{level, opus});
  QFile f(opus);
  if (!encoded.ok || !f.open(QIODevice::ReadOnly)) return {{}, Failure(tools.opusenc, encoded)};
  QByteArray bytes = f.readAll();
  // Whatever the synthesiser made of a text, less than this is not a sound worth playing.
  if (const double seconds = OpusSeconds(bytes); seconds < kMinSeconds)
    return {{}, QStringLiteral("the sound lasts %1 s, less than %2 s").arg(seconds, 0, 'f', 2).arg(kMinSeconds)};
  return {bytes, {}};
}

double OpusSeconds(const QByteArray& opus) {
  const qsizetype head = opus.indexOf("OpusHead");
  const qsizetype last = opus.lastIndexOf("OggS");
  if (head < 0 || last < 0 || head + 12 > opus.size() || last + 14 > opus.size()) return 0;
  const quint64 preSkip = ReadLe(opus, head + 10, 2);
  const quint64 granule = ReadLe(opus, last + 6, 8);
  return granule > preSkip ? static_cast<double>(granule - preSkip) / 48000.0 : 0.0;
}

QString CacheKey(const SoundSpec& sound, const QString& toolVersions) {
  QCryptographicHash h(QCryptographicHash::Sha256);
  for (const QString& part : {sound.text, sound.voice, QString::number(sound.rate), toolVersions, Settings()}) {
    const QByteArray bytes = part.toUtf8();
    h.addData(QByteArray::number(bytes.size()) + ':');  // lengths keep the parts apart
    h.addData(bytes);
  }
  return QString::fromLatin1(h.result().toHex());
}

SoundCache::SoundCache(QString dir) : m_dir(std::move(dir)) {}

QString SoundCache::DefaultDir() {
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.cache");
  return base + QStringLiteral("/zorvik/sounds");
}

std::optional<QByteArray> SoundCache::Load(const QString& key) const {
  QFile f(QDir(m_dir).filePath(key + QStringLiteral(".opus")));
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  return f.readAll();
}

bool SoundCache::Store(const QString& key, const QByteArray& data) const {
  if (!QDir().mkpath(m_dir)) return false;
  QSaveFile f(QDir(m_dir).filePath(key + QStringLiteral(".opus")));
  return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit();
}

void ParallelFor(int count, int jobs, const std::function<void(int)>& fn) {
  std::atomic<int> next{0};
  const auto work = [&] {
    for (int i = next++; i < count; i = next++) fn(i);
  };
  std::vector<std::thread> threads;
  for (int t = 1; t < std::clamp(jobs, 1, std::max(count, 1)); ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
}

}  // namespace zv::soundbuild
