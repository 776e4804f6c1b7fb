#pragma once
// PackageSoundService: the trainer's sound layer. It starts the engine, scans the packages,
// draws comments (one non-repeating selector per category, recent window 3), plays comments
// and voiced tasks on the speech channel and the tick-tock on the built-in channel, and hands
// each sound's end to its caller on the UI thread.

#include "sound/SoundPackages.h"
#include "sound/SoundService.h"

#include <QObject>
#include <QStringList>

#include <cstdint>

namespace zv {

class RandomSource;
class SoundEngine;

class PackageSoundService final : public QObject, public SoundService {
  Q_OBJECT

 public:
  // `folders`: where packages are looked for, in order (the user's data folder, then the
  // program's folder).
  PackageSoundService(SoundEngine& engine, RandomSource& random, QStringList folders);
  ~PackageSoundService() override;

  // The folders of the running program: $XDG_DATA_HOME/Zorvik (or ~/.local/share/Zorvik),
  // then the executable's folder.
  static QStringList DefaultFolders();

  void Load(Registry& settings, const std::function<void()>& step) override;
  void Finish(Registry& settings) override;

  bool EngineWorks() const override { return m_engineWorks; }
  bool CommentsLoaded() const override;
  bool AllVoicedTasksPresent() const override;
  bool HasComments(SoundCategory category) const override;
  SoundCoverage Coverage() const override;
  std::vector<SelectorState> SelectorStates() const override;

  void PlayStartComment(bool replay, EndHandler onEnd) override;
  void PlayVoicedTask(int taskIndex, EndHandler onEnd) override;
  void PlayComment(SoundCategory category, bool replay, EndHandler onEnd) override;
  void PlayBuiltIn(BuiltInSound sound) override;
  void Stop() override;
  void SetVolume(int position) override;

  // The load index of a comment category's package (0 "y" ... 10 "s").
  static int PackageOf(SoundCategory category);
  const SoundPackages& Packages() const { return m_packages; }
  int CommentIndex() const { return m_commentIndex; }

 private:
  void PlayFromPackage(int package, int index, EndHandler onEnd);
  void SpeechEnded(std::uint64_t play);

  SoundEngine& m_engine;
  RandomSource& m_random;
  QStringList m_folders;
  SoundPackages m_packages;
  bool m_loaded = false;
  bool m_engineWorks = false;
  int m_commentIndex = 0;          // the last comment drawn, in any category
  std::uint64_t m_speechPlay = 0;  // the speech sound whose end is awaited
  std::uint64_t m_silentPlays = 0;
  EndHandler m_onEnd;
};

}  // namespace zv
