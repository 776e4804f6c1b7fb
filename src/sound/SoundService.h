#pragma once
// SoundService: what the exam and its windows ask of the sound layer. The program holds one
// instance; until the sound engine is bound it is NoSoundService, which reports that the
// engine did not start, so every caller takes its no-sound path.
//
// End notifications: a caller that needs to know when a sound has ended passes `onEnd`; the
// sound layer calls it on the UI thread (the window messages 1026, 1027, 1033 and 1035 of the
// design) and never calls it for a sound that was stopped or never started.
//
// Replays: with `replay` true the start comment or a category's comment is the one played last
// in that category again instead of a newly drawn one (the windows' "Ещё раз" buttons).

#include <functional>

namespace zv {

// Comment categories of the packages; voiced tasks are addressed by task index.
enum class SoundCategory { Start, Right, Wrong, TimeOut, Mark0, Mark1, Mark2, Mark3, Mark4, Mark5, Farewell };
enum class BuiltInSound { Tick, Tack };

class SoundService {
 public:
  using EndHandler = std::function<void()>;
  virtual ~SoundService() = default;

  virtual bool EngineWorks() const = 0;            // sound output could be started
  virtual bool CommentsLoaded() const = 0;         // comment packages were found and read
  virtual bool AllVoicedTasksPresent() const = 0;  // every voiced-task package is installed
  virtual bool HasComments(SoundCategory category) const = 0;

  virtual void PlayStartComment(bool replay, EndHandler onEnd) = 0;
  virtual void PlayVoicedTask(int taskIndex, EndHandler onEnd) = 0;
  virtual void PlayComment(SoundCategory category, bool replay, EndHandler onEnd) = 0;
  virtual void PlayBuiltIn(BuiltInSound sound) = 0;
  virtual void Stop() = 0;
  virtual void SetVolume(int position) = 0;  // volume bar position 21..100
};

// The sound layer of a machine without sound: nothing plays, nothing ends.
class NoSoundService final : public SoundService {
 public:
  bool EngineWorks() const override { return false; }
  bool CommentsLoaded() const override { return false; }
  bool AllVoicedTasksPresent() const override { return false; }
  bool HasComments(SoundCategory) const override { return false; }
  void PlayStartComment(bool, EndHandler) override {}
  void PlayVoicedTask(int, EndHandler) override {}
  void PlayComment(SoundCategory, bool, EndHandler) override {}
  void PlayBuiltIn(BuiltInSound) override {}
  void Stop() override {}
  void SetVolume(int) override {}
};

}  // namespace zv
