// The SDL2_mixer binding with SDL's dummy driver: what plays, when its end arrives (on the UI
// thread, after the sound, never for a sound stopped or replaced), and the two ways the engine
// does not start.

#include <gtest/gtest.h>

#include "platform/SdlSoundEngine.h"
#include "support/TestApplication.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <vector>

ZV_TEST_APPLICATION(QCoreApplication);

namespace {

using namespace zv;

// A mono 16-bit WAV of `ms` milliseconds of a quiet square wave.
QByteArray Wav(int ms) {
  const int rate = 22050;
  const int samples = rate * ms / 1000;
  QByteArray data;
  for (int i = 0; i < samples; ++i) {
    const std::int16_t v = (i / 25) % 2 == 0 ? 2000 : -2000;
    data.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF));
  }
  const auto u32 = [](std::uint32_t v) {
    QByteArray b;
    for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    return b;
  };
  const auto u16 = [](std::uint16_t v) {
    return QByteArray(1, static_cast<char>(v & 0xFF)) + QByteArray(1, static_cast<char>(v >> 8));
  };
  const auto size = static_cast<std::uint32_t>(data.size());
  return "RIFF" + u32(36 + size) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) +
         u16(16) + "data" + u32(size) + data;
}

struct Ending {
  SoundChannel channel;
  std::uint64_t play;
  bool onUiThread;
};

class Engine : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine.Start()) << "SDL2_mixer with the dummy driver";
    engine.SetEndHandler([this](SoundChannel channel, std::uint64_t play) {
      ends.push_back({channel, play, QThread::currentThread() == QCoreApplication::instance()->thread()});
    });
  }
  // Runs the event loop for `ms` milliseconds, or until `count` ends have arrived.
  void Wait(int ms, std::size_t count = 1000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && ends.size() < count) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      QThread::msleep(5);
    }
  }

  SdlSoundEngine engine;
  std::vector<Ending> ends;
};

TEST_F(Engine, EndArrivesOnTheUiThreadOnceTheSoundHasPlayed) {
  QElapsedTimer timer;
  timer.start();
  const std::uint64_t play = engine.Play(SoundChannel::Speech, Wav(120));
  ASSERT_NE(play, 0u);
  EXPECT_TRUE(engine.IsPlaying(SoundChannel::Speech));
  Wait(3000, 1);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].play, play);
  EXPECT_EQ(ends[0].channel, SoundChannel::Speech);
  EXPECT_TRUE(ends[0].onUiThread);
  EXPECT_GE(timer.elapsed(), 100) << "the end came before the sound could have played";
  EXPECT_FALSE(engine.IsPlaying(SoundChannel::Speech));
  Wait(300);
  EXPECT_EQ(ends.size(), 1u) << "one end per sound";
}

TEST_F(Engine, StoppedSoundReportsNoEnd) {
  ASSERT_NE(engine.Play(SoundChannel::Speech, Wav(80)), 0u);
  engine.Stop(SoundChannel::Speech);  // the mixer reports this halt synchronously
  EXPECT_FALSE(engine.IsPlaying(SoundChannel::Speech));
  Wait(500);
  EXPECT_TRUE(ends.empty());
}

TEST_F(Engine, ReplacedSoundReportsNoEndButItsSuccessorDoes) {
  const std::uint64_t first = engine.Play(SoundChannel::Speech, Wav(80));
  const std::uint64_t second = engine.Play(SoundChannel::Speech, Wav(80));
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  Wait(3000, 1);
  Wait(300);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].play, second);
}

TEST_F(Engine, BuiltInChannelPlaysOverSpeech) {
  ASSERT_NE(engine.Play(SoundChannel::Speech, Wav(600)), 0u);
  ASSERT_NE(engine.Play(SoundChannel::BuiltIn, Wav(60)), 0u);
  EXPECT_TRUE(engine.IsPlaying(SoundChannel::Speech));
  EXPECT_TRUE(engine.IsPlaying(SoundChannel::BuiltIn));
  Wait(3000, 1);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].channel, SoundChannel::BuiltIn);
  EXPECT_TRUE(engine.IsPlaying(SoundChannel::Speech)) << "the tick cut the speech off";
}

TEST_F(Engine, OggOpusDecodesFromMemory) {
  QFile file(QStringLiteral(ZV_FIXTURES "/opus_tone_300ms.opus"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::uint64_t play = engine.Play(SoundChannel::Speech, file.readAll());
  ASSERT_NE(play, 0u);
  Wait(3000, 1);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].play, play);
}

TEST_F(Engine, UndecodableSoundPlaysNothing) {
  EXPECT_EQ(engine.Play(SoundChannel::Speech, QByteArray("OggS but not really a sound file at all")), 0u);
  EXPECT_EQ(engine.Play(SoundChannel::Speech, QByteArray()), 0u);
  EXPECT_FALSE(engine.IsPlaying(SoundChannel::Speech));
}

TEST(EngineStart, MissingLibraryIsNoEngine) {
  SdlSoundEngine engine(QStringLiteral("libzv-no-such-sdl.so.0"), QStringLiteral("libzv-no-such-mixer.so.0"));
  EXPECT_FALSE(engine.Start());
  EXPECT_EQ(engine.Play(SoundChannel::Speech, Wav(50)), 0u);
  EXPECT_FALSE(engine.IsPlaying(SoundChannel::Speech));
  engine.Stop(SoundChannel::Speech);
  engine.Free();
}

TEST(EngineStart, NoDeviceIsNoEngineAndLeavesRoomForAnother) {
  qputenv("SDL_AUDIODRIVER", "zv-no-such-driver");
  SdlSoundEngine failing;
  EXPECT_FALSE(failing.Start());
  qputenv("SDL_AUDIODRIVER", "dummy");
  SdlSoundEngine working;
  EXPECT_TRUE(working.Start());
}

TEST(EngineVolume, BarPositionsOnTheMixerScale) {
  EXPECT_EQ(SdlSoundEngine::MixerVolume(2100), 27);
  EXPECT_EQ(SdlSoundEngine::MixerVolume(7200), 92);
  EXPECT_EQ(SdlSoundEngine::MixerVolume(10000), 128);
  EXPECT_EQ(SdlSoundEngine::MixerVolume(0), 0);
}

}  // namespace
