#include "sound/PackageSoundService.h"

#include "platform/SoundEngine.h"
#include "sound/BuiltInSounds.h"
#include "tasks/TSmartRand.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaObject>
#include <QStandardPaths>

namespace zv {

namespace {

// Marks the number of a sound that could not be played, so it never equals an engine's play.
constexpr std::uint64_t kSilent = std::uint64_t{1} << 63;

}  // namespace

PackageSoundService::PackageSoundService(SoundEngine& engine, RandomSource& random, QStringList folders)
    : m_engine(engine), m_random(random), m_folders(std::move(folders)) {
  m_engine.SetEndHandler([this](SoundChannel channel, std::uint64_t play) {
    if (channel == SoundChannel::Speech) SpeechEnded(play);
  });
}

PackageSoundService::~PackageSoundService() { m_engine.SetEndHandler({}); }

QStringList PackageSoundService::DefaultFolders() {
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share");
  return {QDir(data).filePath(QStringLiteral("Zorvik")), QCoreApplication::applicationDirPath()};
}

int PackageSoundService::PackageOf(SoundCategory category) {
  switch (category) {
    case SoundCategory::Right:
      return 0;
    case SoundCategory::Farewell:
      return 1;
    case SoundCategory::Mark0:
      return 2;
    case SoundCategory::Mark1:
      return 3;
    case SoundCategory::Mark2:
      return 4;
    case SoundCategory::Mark3:
      return 5;
    case SoundCategory::Mark4:
      return 6;
    case SoundCategory::Mark5:
      return 7;
    case SoundCategory::Wrong:
      return 8;
    case SoundCategory::TimeOut:
      return 9;
    case SoundCategory::Start:
      return 10;
  }
  return 0;
}

void PackageSoundService::Load(Registry& settings, const std::function<void()>& step) {
  m_engineWorks = m_engine.Start();
  m_packages.Load({m_folders, m_engineWorks, &settings, &m_random, step});
  m_loaded = true;
  if (m_engineWorks) {
    BuiltInSoundFile(BuiltInSound::Tick);  // restored once, at start-up
    BuiltInSoundFile(BuiltInSound::Tack);
  }
}

void PackageSoundService::Finish(Registry& settings) {
  if (!m_engineWorks) return;
  m_onEnd = {};
  m_speechPlay = 0;
  m_engine.Free();
  m_engineWorks = false;
  m_packages.StoreSelectors(settings);
}

bool PackageSoundService::CommentsLoaded() const { return m_loaded && !m_packages.Results().noComments; }

bool PackageSoundService::AllVoicedTasksPresent() const { return m_loaded && m_packages.Results().allVoicedPresent; }

bool PackageSoundService::HasComments(SoundCategory category) const {
  return m_engineWorks && m_packages.Selector(PackageOf(category)) != nullptr;
}

std::vector<SelectorState> PackageSoundService::SelectorStates() const {
  std::vector<SelectorState> out;
  for (const int category : SoundPackages::StoreOrder()) {
    if (TSmartRand* selector = m_packages.Selector(category))
      out.push_back({SoundPackages::StateName(category), selector->UsedBytes()});
  }
  return out;
}

SoundCoverage PackageSoundService::Coverage() const {
  SoundCoverage c;
  if (!m_loaded) return c;
  const SoundLoadResults& r = m_packages.Results();
  for (int k = 0; k < kSoundCategoryCount; ++k) {
    const auto p = static_cast<std::size_t>(PackageOf(static_cast<SoundCategory>(k)));
    c.comments[static_cast<std::size_t>(k)] = r.loaded[p] ? r.count[p] : 0;
  }
  c.totalComments = r.totalCommentSounds;
  for (std::size_t q = 0; q < c.voicedPresent.size(); ++q) {
    c.voicedPresent[q] = r.voicedPresent[q];
    c.voicedRevision[q] = r.voicedPresent[q] ? r.revision[q] : 0;
  }
  c.voicedPresentCount = r.voicedPresentCount;
  c.allVoicedPresent = r.allVoicedPresent;
  return c;
}

void PackageSoundService::PlayStartComment(bool replay, EndHandler onEnd) {
  PlayComment(SoundCategory::Start, replay, std::move(onEnd));
}

void PackageSoundService::PlayVoicedTask(int taskIndex, EndHandler onEnd) {
  if (!m_engineWorks || !AllVoicedTasksPresent() || taskIndex < 1 || taskIndex > 1500) return;
  PlayFromPackage(VoicedPackageOf(taskIndex), taskIndex - 1, std::move(onEnd));
}

void PackageSoundService::PlayComment(SoundCategory category, bool replay, EndHandler onEnd) {
  const int package = PackageOf(category);
  TSmartRand* selector = m_packages.Selector(package);
  if (!m_engineWorks || selector == nullptr) return;
  // The index is shared by all categories; one this category does not have is drawn anew.
  if (!replay || m_commentIndex < 0 || m_commentIndex >= selector->Count) m_commentIndex = selector->DrawNew() - 1;
  PlayFromPackage(package, m_commentIndex, std::move(onEnd));
}

void PackageSoundService::PlayFromPackage(int package, int index, EndHandler onEnd) {
  m_engine.Stop(SoundChannel::Speech);  // a new sound always cuts the previous one off
  m_onEnd = {};
  const QByteArray sound = m_packages.ReadSound(package, index);
  std::uint64_t play = sound.isEmpty() ? 0 : m_engine.Play(SoundChannel::Speech, sound);
  m_onEnd = std::move(onEnd);
  if (play == 0) {
    // Nothing plays: the caller hears of the end as it would of a very short sound.
    play = kSilent | ++m_silentPlays;
    QMetaObject::invokeMethod(
        this, [this, play] { SpeechEnded(play); }, Qt::QueuedConnection);
  }
  m_speechPlay = play;
}

void PackageSoundService::SpeechEnded(std::uint64_t play) {
  if (play != m_speechPlay) return;
  m_speechPlay = 0;
  EndHandler onEnd = std::exchange(m_onEnd, {});
  if (onEnd) onEnd();
}

void PackageSoundService::PlayBuiltIn(BuiltInSound sound) {
  if (m_engineWorks) m_engine.Play(SoundChannel::BuiltIn, BuiltInSoundFile(sound));
}

void PackageSoundService::Stop() {
  m_speechPlay = 0;
  m_onEnd = {};
  if (m_engineWorks) m_engine.Stop(SoundChannel::Speech);
}

void PackageSoundService::SetVolume(int position) {
  if (m_engineWorks) m_engine.SetVolume(position * 100);
}

}  // namespace zv
