#pragma once
// One sound from text to Ogg Opus: the synthesiser speaks it (RHVoice), sox trims the silence at
// both ends, levels its loudness and resamples it for the encoder, opusenc encodes it (mono,
// 16 kbit/s, a fixed stream serial, no timestamps), and a sound shorter than 0.3 s is refused.
// Every program is run with an argument list, never through a shell. Encoded sounds are kept in
// a cache outside the build folder, keyed by everything that determines them.

#include "SoundSources.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zv::soundbuild {

struct Tools {
  QString rhvoice, sox, opusenc;  // full paths; empty when not found
  QString versions;               // what identifies the installed voice and programs
  QStringList Missing() const;
};
Tools FindTools();

// The synthesiser's WAV for a text, byte for byte as it wrote it; empty with `error` set on failure.
QByteArray Synthesize(const Tools& tools, const QString& text, const QString& voice, int rate, QString& error);

// The synthesiser's WAV for each of `texts`, byte for byte as Synthesize writes it alone, from one
// run of the synthesiser (most of whose time per phrase is its start-up). Empty when the run
// fails or its audio cannot be cut with certainty; then each text is spoken alone.
std::vector<QByteArray> SynthesizeBatch(const Tools& tools, const QStringList& texts, const QString& voice,
                                        int rate);

// Seconds of speech in a WAV once the silence at both ends is trimmed; negative on failure.
double SpeechSeconds(const Tools& tools, const QByteArray& wav, QString& error);

struct Encoded {
  QByteArray opus;
  QString error;  // empty on success
};
Encoded Encode(const Tools& tools, const SoundSpec& sound);
// The steps after the synthesiser: trim, level, resample, encode, refuse a too short sound.
Encoded EncodeSpeech(const Tools& tools, const QByteArray& speech);

// Seconds of audio in an Ogg Opus file (its last granule position less the pre-skip); 0 when
// the file is not one.
double OpusSeconds(const QByteArray& opus);

// Hex digest of everything that determines an encoded sound: its text, voice and rate, the
// versions of the voice and the programs, their settings and the pipeline's own version.
QString CacheKey(const SoundSpec& sound, const QString& toolVersions);

class SoundCache {
 public:
  explicit SoundCache(QString dir);
  // $XDG_CACHE_HOME/zorvik/sounds, or ~/.cache/zorvik/sounds.
  static QString DefaultDir();
  std::optional<QByteArray> Load(const QString& key) const;
  // Written to a temporary file and renamed, so a killed build never leaves half a sound.
  bool Store(const QString& key, const QByteArray& data) const;
  const QString& Dir() const { return m_dir; }

 private:
  QString m_dir;
};

// Runs fn(0) .. fn(count - 1) on `jobs` threads.
void ParallelFor(int count, int jobs, const std::function<void(int)>& fn);

}  // namespace zv::soundbuild
