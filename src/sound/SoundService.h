#pragma once
// SoundService: what the exam and its windows ask of the sound layer. The program holds one
// instance: PackageSoundService when the trainer runs, NoSoundService where no sound is wanted,
// fakes in tests. NoSoundService reports that the engine did not start, so every caller takes
// its no-sound path.
//
// End notifications: a caller that needs to know when a sound has ended passes `onEnd`; the
// sound layer calls it on the UI thread (the window messages 1026, 1027, 1033 and 1035 of the
// design) and never calls it for a sound that was stopped or replaced. A comment or voiced task
// that cannot be read or decoded plays nothing and "ends" at once (posted), so a window waiting
// for its end (the farewell closing the main window) is not left waiting.
//
// Replays: one comment index is shared by every category: with `replay` true the comment with
// the index drawn last (in whatever category) is played from the category asked for. An index
// that category does not have draws a new comment of it instead.

#include "tasks/ProgressExport.h"

#include <QtGlobal>

#include <array>
#include <functional>
#include <vector>

namespace zv {

class Registry;

// Comment categories of the packages; voiced tasks are addressed by task index.
enum class SoundCategory { Start, Right, Wrong, TimeOut, Mark0, Mark1, Mark2, Mark3, Mark4, Mark5, Farewell };
inline constexpr int kSoundCategoryCount = 11;
enum class BuiltInSound { Tick, Tack };

// What the packages found at start-up hold: for the about window and the update.
struct SoundCoverage {
  std::array<int, kSoundCategoryCount> comments{};  // sounds per SoundCategory (0: not loaded)
  int totalComments = 0;                            // the count fields of every valid comment package
  std::array<bool, 15> voicedPresent{};             // hundreds 1..15
  std::array<int, 15> voicedRevision{};
  int voicedPresentCount = 0;
  bool allVoicedPresent = false;
};

class SoundService {
 public:
  using EndHandler = std::function<void()>;
  virtual ~SoundService() = default;

  // Start-up: starts the engine and scans the packages, stepping the start-up progress once
  // per package and once after the comment selectors. Nothing to do without sound.
  virtual void Load(Registry& /*settings*/, const std::function<void()>& /*step*/) {}
  // End of the run: frees the engine and stores each comment selector's state.
  virtual void Finish(Registry& /*settings*/) {}

  virtual bool EngineWorks() const = 0;            // sound output could be started
  virtual bool CommentsLoaded() const = 0;         // comment packages were found and read
  virtual bool AllVoicedTasksPresent() const = 0;  // every voiced-task package is installed
  virtual bool HasComments(SoundCategory category) const = 0;
  virtual SoundCoverage Coverage() const { return {}; }
  // The stored form of each comment category's selector ("HeartF" ...), for the progress file:
  // only the categories loaded in this run.
  virtual std::vector<SelectorState> SelectorStates() const { return {}; }

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
