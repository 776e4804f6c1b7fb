#pragma once
// SoundPackages: the scan of the 26 sound packages at start-up, what it found, the comment
// selectors it creates, and reading one sound out of a package at play time.
//
// A package is looked up in each folder in turn (the user's data folder first, where the
// internet update installs, then the program's own folder); the first folder holding the
// file wins. Only heads and offset tables are read by the scan.
//
// The scan steps the start-up progress once per package that is absent or intact, and once
// after the comment selectors are restored. A package that cannot be opened, has a wrong
// version or is corrupt shows its message box and takes no step.

#include "sound/PackageFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

namespace zv {

class RandomSource;
class Registry;
class TSmartRand;

// What the scan found; it does not change for the rest of the run.
struct SoundLoadResults {
  std::array<bool, kCommentPackageCount> loaded{};          // by load index 0..10
  std::array<std::uint16_t, kCommentPackageCount> count{};  // the count field of a valid version
  static constexpr int kVoiced = kPackageCount - kCommentPackageCount;
  std::array<bool, kVoiced> voicedPresent{};  // q1..q15
  std::array<std::uint16_t, kVoiced> revision{};
  bool allVoicedPresent = false;
  bool noVoicedPresent = true;
  int voicedPresentCount = 0;
  bool commentsComplete = false;
  bool noComments = true;
  int totalCommentSounds = 0;
  bool engineFailed = true;
};

struct SoundScanInput {
  QStringList folders;             // searched in order
  bool engineStarted = false;      // the missing-files box, NoSoundFiles and the selectors need it
  Registry* registry = nullptr;    // the settings store (NoSoundFiles, HeartF ... HeartY)
  RandomSource* random = nullptr;  // for the comment selectors
  std::function<void()> step;      // one step of the start-up progress
};

class SoundPackages {
 public:
  SoundPackages();
  ~SoundPackages();
  SoundPackages(const SoundPackages&) = delete;
  SoundPackages& operator=(const SoundPackages&) = delete;

  void Load(const SoundScanInput& input);
  const SoundLoadResults& Results() const { return m_results; }

  // The selector of a loaded comment category with at least one sound, else null.
  TSmartRand* Selector(int category) const;
  // Comment categories with a selector, in the order their states are stored: f, m0..m5, n, s,
  // t, y; and the value name of each ("HeartF" ...).
  static const std::array<int, kCommentPackageCount>& StoreOrder();
  static QString StateName(int category);
  // Writes each selector's state (tail bits clear) into the program key. A failing write ends
  // the group quietly; the key is closed in every case.
  void StoreSelectors(Registry& registry);

  // Sound `index` of package `category` (comment: 0-based in the package; voiced: task index
  // - 1), unscrambled. Empty when nothing can be played; a package that cannot be opened shows
  // its message box.
  QByteArray ReadSound(int category, int index) const;

 private:
  SoundLoadResults m_results;
  std::array<QString, kPackageCount> m_paths;  // where each package was found
  std::array<std::unique_ptr<TSmartRand>, kCommentPackageCount> m_selectors;
};

}  // namespace zv
