#pragma once
// A sound layer that plays nothing and records every request. By default its engine works and
// every package is present (each report can be switched off). Every sound keeps its end
// handler, so a test ends the "sound" when it likes: End() as the engine would (not after Stop),
// or `lastEnd` directly, as a late end notice would arrive.

#include "sound/SoundService.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace zv::test {

class RecordingSound final : public SoundService {
 public:
  bool EngineWorks() const override { return engineWorks; }
  bool CommentsLoaded() const override { return commentsLoaded; }
  bool AllVoicedTasksPresent() const override { return allVoicedTasksPresent; }
  bool HasComments(SoundCategory) const override { return hasComments; }
  void PlayStartComment(bool replay, EndHandler onEnd) override {
    played << (replay ? QStringLiteral("start again") : QStringLiteral("start"));
    Keep(std::move(onEnd));
  }
  void PlayVoicedTask(int task, EndHandler onEnd) override {
    played << QStringLiteral("task %1").arg(task);
    Keep(std::move(onEnd));
  }
  void PlayComment(SoundCategory category, bool replay, EndHandler onEnd) override {
    comments.push_back(category);
    replays.push_back(replay);
    Keep(std::move(onEnd));
  }
  void PlayBuiltIn(BuiltInSound sound) override { ticks.push_back(sound); }
  void Stop() override {
    ++stops;
    m_playing = false;
  }
  void SetVolume(int position) override { volumes.push_back(position); }

  // Ends the sound playing now: its end handler runs, unless it was stopped or has ended.
  void End() {
    if (!std::exchange(m_playing, false)) return;
    if (lastEnd) lastEnd();
  }

  bool engineWorks = true;
  bool commentsLoaded = true;
  bool allVoicedTasksPresent = true;
  bool hasComments = true;

  QStringList played;                   // start comments and voiced tasks: "start", "start again", "task 7"
  std::vector<SoundCategory> comments;  // the comments asked for, in order
  std::vector<bool> replays;            // the replay flag of each entry of `comments`
  std::vector<BuiltInSound> ticks;      // the built-in tick and tack sounds
  std::vector<int> volumes;             // each SetVolume position
  EndHandler lastEnd;                   // the last sound's end handler, kept after Stop
  int stops = 0;

 private:
  void Keep(EndHandler onEnd) {
    lastEnd = std::move(onEnd);
    m_playing = true;
  }
  bool m_playing = false;
};

}  // namespace zv::test
