#pragma once
// SoundEngine: decoding and playing sounds held in memory, on two channels: the speech channel
// (comments and voiced tasks) and the built-in channel (the tick-tock), so one plays over the
// other. Everything is called on the UI thread.
//
// A play gets a number (its play generation). When a sound ends by itself, the end handler runs
// on the UI thread with that number; a sound that was stopped or replaced on its channel never
// reports an end, however late the engine's own notice arrives.

#include <QByteArrayView>

#include <cstdint>
#include <functional>

namespace zv {

enum class SoundChannel { Speech, BuiltIn };

class SoundEngine {
 public:
  using EndHandler = std::function<void(SoundChannel channel, std::uint64_t play)>;
  virtual ~SoundEngine() = default;

  // Opens the default output; false when the engine or a device cannot be had (the program
  // then runs without sound and nothing else here may be called).
  virtual bool Start() = 0;
  // Global volume on a scale of 0..10000.
  virtual void SetVolume(int volume) = 0;
  // Decodes `sound` (a complete sound file) and plays it on `channel`, cutting off what played
  // there. Returns the play's number, 0 when nothing plays (the sound could not be decoded).
  virtual std::uint64_t Play(SoundChannel channel, QByteArrayView sound) = 0;
  virtual bool IsPlaying(SoundChannel channel) const = 0;
  // Stops the channel; its sound reports no end.
  virtual void Stop(SoundChannel channel) = 0;
  virtual void SetEndHandler(EndHandler handler) = 0;
  // Closes the output; called once when the main window closes.
  virtual void Free() = 0;
};

}  // namespace zv
