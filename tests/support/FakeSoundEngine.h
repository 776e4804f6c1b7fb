#pragma once
// A sound engine that plays nothing: it records every sound it is given and ends the one on a
// channel when the test says so (End), through the handler as the real engine's UI-thread
// post would arrive. A stopped or replaced sound never ends.

#include "platform/SoundEngine.h"

#include <QByteArray>

#include <array>
#include <vector>

namespace zv::test {

class FakeSoundEngine final : public SoundEngine {
 public:
  struct Played {
    SoundChannel channel;
    QByteArray sound;
  };

  bool Start() override {
    started = starts;
    return starts;
  }
  void SetVolume(int volume) override { volumes.push_back(volume); }
  std::uint64_t Play(SoundChannel channel, QByteArrayView sound) override {
    if (!started) return 0;
    played.push_back({channel, sound.toByteArray()});
    return Current(channel) = ++m_next;
  }
  bool IsPlaying(SoundChannel channel) const override { return m_current[Index(channel)] != 0; }
  void Stop(SoundChannel channel) override {
    ++stops;
    Current(channel) = 0;
  }
  void SetEndHandler(EndHandler handler) override { m_onEnd = std::move(handler); }
  void Free() override {
    ++frees;
    started = false;
  }

  // The sound on `channel` ends by itself.
  void End(SoundChannel channel = SoundChannel::Speech) {
    const std::uint64_t play = std::exchange(Current(channel), 0);
    if (play != 0 && m_onEnd) m_onEnd(channel, play);
  }
  // The speech sounds given so far, as text.
  std::vector<QByteArray> Speech() const {
    std::vector<QByteArray> out;
    for (const Played& p : played)
      if (p.channel == SoundChannel::Speech) out.push_back(p.sound);
    return out;
  }

  bool starts = true;  // whether Start succeeds
  bool started = false;
  std::vector<Played> played;
  std::vector<int> volumes;
  int stops = 0;
  int frees = 0;

 private:
  static std::size_t Index(SoundChannel channel) { return channel == SoundChannel::Speech ? 0 : 1; }
  std::uint64_t& Current(SoundChannel channel) { return m_current[Index(channel)]; }
  std::array<std::uint64_t, 2> m_current{};
  std::uint64_t m_next = 0;
  EndHandler m_onEnd;
};

}  // namespace zv::test
