#pragma once
// SdlSoundEngine: the sound engine on SDL2_mixer, bound at run time with QLibrary
// (libSDL2-2.0.so.0 and libSDL2_mixer-2.0.so.0; the program never links them). A missing
// library, a missing entry point or an output that cannot be opened make Start() fail.
//
// Each channel plays a decoded chunk (Ogg Opus or WAV from memory). The mixer reports the end
// of a channel on its audio thread, and also synchronously on the calling thread from inside a
// halt; the callback therefore only reads the channel's current play number and posts it to
// the UI thread, never waiting, never calling the mixer. The UI thread drops a post whose
// number is no longer the channel's current play. Only one engine may be started at a time.

#include "platform/SoundEngine.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <memory>

namespace zv {

class SdlSoundEngine final : public QObject, public SoundEngine {
  Q_OBJECT

 public:
  // The library names may be changed for tests (a name that cannot be loaded: no engine).
  explicit SdlSoundEngine(QString sdlLibrary = QStringLiteral("libSDL2-2.0.so.0"),
                          QString mixerLibrary = QStringLiteral("libSDL2_mixer-2.0.so.0"));
  ~SdlSoundEngine() override;

  bool Start() override;
  void SetVolume(int volume) override;
  std::uint64_t Play(SoundChannel channel, QByteArrayView sound) override;
  bool IsPlaying(SoundChannel channel) const override;
  void Stop(SoundChannel channel) override;
  void SetEndHandler(EndHandler handler) override;
  void Free() override;

  // The mixer's volume (0..128) for a volume of 0..10000.
  static int MixerVolume(int volume);
  // Whether the output got 32-bit floating-point samples (else 16-bit integers).
  bool FloatOutput() const { return m_floatOutput; }

 private:
  struct Api;
  static void ChannelFinished(int channel);
  void Ended(int channel, std::uint64_t play);
  void Halt(int channel);

  QString m_sdlName;
  QString m_mixerName;
  std::unique_ptr<Api> m_api;
  bool m_started = false;
  bool m_floatOutput = false;
  EndHandler m_onEnd;
  std::uint64_t m_nextPlay = 0;
  // Per channel: the play the mixer may report (read by the callback), the play the UI thread
  // considers current, and the decoded chunk (freed on the UI thread only).
  std::array<std::atomic<std::uint64_t>, 2> m_reportable{};
  std::array<std::uint64_t, 2> m_current{};
  std::array<void*, 2> m_chunks{};
};

}  // namespace zv
