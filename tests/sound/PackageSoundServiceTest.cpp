// The sound service over the real packages and a fake engine: which sound each request plays,
// the shared replay index, the end reaching only the caller of the sound that ended, and the
// built-in tick and tack.

#include <gtest/gtest.h>

#include "common/ProgramKey.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "sound/BuiltInSounds.h"
#include "sound/PackageSoundService.h"
#include "support/FakeSoundEngine.h"
#include "support/PackageFixture.h"
#include "support/RowName.h"
#include "support/ScriptedRandom.h"
#include "support/TestApplication.h"
#include "tasks/TSmartRand.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

ZV_TEST_APPLICATION(QCoreApplication);

namespace {

using namespace zv;
using zv::test::FixtureSound;

class Service : public testing::Test {
 protected:
  QTemporaryDir hive;
  Registry registry{RegistryPaths::inOneFolder(hive.path())};
  zv::test::PackageFolder folder;
  zv::test::FakeSoundEngine engine;
  ClockSeededRandom random{9};
  MessageBoxHook boxes;
  std::unique_ptr<PackageSoundService> service;
  int steps = 0;

  // Comment packages: y and n of 40 sounds, the marks of 10, the others of 15.
  void Load() {
    for (int c = 0; c < kPackageCount; ++c) {
      const int count = c == 0 || c == 8 ? 40 : (c >= 2 && c <= 7 ? 10 : 15);
      folder.Write(c, BuildPackage(zv::test::FixtureContent(c, IsVoicedPackage(c) ? 1 : count)));
    }
    Reload();
  }
  void Reload() {
    service = std::make_unique<PackageSoundService>(engine, random, QStringList{folder.Path()});
    service->Load(registry, [this] { ++steps; });
  }
  QByteArray LastSpeech() const {
    const auto speech = engine.Speech();
    return speech.empty() ? QByteArray() : speech.back();
  }
  QByteArray Comment(const char* category, int index) {
    return FixtureSound(QString::fromLatin1(category) + QString::number(index));
  }
};

TEST_F(Service, CommentComesFromItsCategoryWithTheDrawnIndex) {
  Load();
  ASSERT_TRUE(service->EngineWorks());
  EXPECT_EQ(steps, 27);
  service->PlayComment(SoundCategory::Wrong, false, {});
  EXPECT_EQ(LastSpeech(), Comment("n", service->CommentIndex()));
  service->PlayStartComment(false, {});
  EXPECT_EQ(LastSpeech(), Comment("s", service->CommentIndex()));
  service->PlayComment(SoundCategory::Farewell, false, {});
  EXPECT_EQ(LastSpeech(), Comment("f", service->CommentIndex()));
  service->PlayVoicedTask(1234, {});
  EXPECT_EQ(LastSpeech(), FixtureSound(QStringLiteral("q1234")));
}

TEST_F(Service, ThreeCommentsInARowNeverRepeatWithinTheWindow) {
  Load();
  std::vector<int> drawn;
  for (int i = 0; i < 30; ++i) {
    service->PlayComment(SoundCategory::Mark2, false, {});
    drawn.push_back(service->CommentIndex());
  }
  for (std::size_t i = 1; i < drawn.size(); ++i) EXPECT_NE(drawn[i], drawn[i - 1]) << i;
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(std::count(drawn.begin(), drawn.begin() + 10, k), 1) << "the first ten draws take every comment once";
}

// The replay index is shared: a replay plays the last drawn index from the category asked for,
// unless that category has no such comment; then it draws one of its own.
struct ReplayRow {
  const char* name;
  SoundCategory first;
  SoundCategory replayed;
  int drawnIndex;  // forced into the selector as the first draw
  bool sameIndex;
};

class Replays : public Service, public testing::WithParamInterface<ReplayRow> {};

TEST_P(Replays, PlayTheSharedIndexWhenTheCategoryHasIt) {
  const ReplayRow& row = GetParam();
  Load();
  // Leave only the wanted comment free in the first category's selector.
  TSmartRand* first = const_cast<TSmartRand*>(service->Packages().Selector(PackageSoundService::PackageOf(row.first)));
  for (int k = 1; k <= first->Count; ++k)
    if (k != row.drawnIndex + 1) first->MarkUsed(k);
  service->PlayComment(row.first, false, {});
  ASSERT_EQ(service->CommentIndex(), row.drawnIndex);
  service->PlayComment(row.replayed, true, {});
  const int package = PackageSoundService::PackageOf(row.replayed);
  const int count = service->Packages().Results().count[static_cast<std::size_t>(package)];
  if (row.sameIndex) {
    EXPECT_EQ(service->CommentIndex(), row.drawnIndex);
  } else {
    EXPECT_LT(service->CommentIndex(), count) << "a new comment of the asked category";
  }
  EXPECT_EQ(LastSpeech(), FixtureSound(PackageCategoryName(package) + QString::number(service->CommentIndex())));
}

INSTANTIATE_TEST_SUITE_P(
    Sound, Replays,
    testing::Values(ReplayRow{"same_category_same_comment", SoundCategory::Right, SoundCategory::Right, 33, true},
                    ReplayRow{"mark_after_wrong_takes_its_index", SoundCategory::Wrong, SoundCategory::Mark4, 7, true},
                    ReplayRow{
                        "mark_after_wrong_index_past_its_ten", SoundCategory::Wrong, SoundCategory::Mark4, 25, false},
                    ReplayRow{"last_comment_of_a_mark_fits", SoundCategory::Wrong, SoundCategory::Mark0, 9, true},
                    ReplayRow{"index_ten_is_past_a_mark", SoundCategory::Right, SoundCategory::Mark5, 10, false}),
    zv::test::RowName{});

TEST_F(Service, EndReachesOnlyTheCallerOfTheSoundThatEnded) {
  Load();
  int greetingEnds = 0;
  int taskEnds = 0;
  service->PlayStartComment(false, [&] { ++greetingEnds; });
  service->PlayVoicedTask(5, [&] { ++taskEnds; });  // cuts the greeting off
  engine.End();
  EXPECT_EQ(greetingEnds, 0);
  EXPECT_EQ(taskEnds, 1);

  service->PlayVoicedTask(6, [&] { ++taskEnds; });
  service->Stop();
  engine.End();
  QCoreApplication::processEvents();
  EXPECT_EQ(taskEnds, 1) << "a stopped sound never ends";
  EXPECT_FALSE(engine.IsPlaying(SoundChannel::Speech));
}

TEST_F(Service, SoundThatCannotBeReadEndsAtOnce) {
  Load();
  QFile::remove(folder.FilePath(1));  // f taken away after the scan
  int ends = 0;
  service->PlayComment(SoundCategory::Farewell, false, [&] { ++ends; });
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8("Не удаётся открыть файл zvf.cok"));
  EXPECT_EQ(ends, 0) << "the end comes afterwards, as any end does";
  QCoreApplication::processEvents();
  EXPECT_EQ(ends, 1) << "a farewell that cannot play still lets the window close";

  service->PlayComment(SoundCategory::Farewell, false, [&] { ++ends; });
  service->Stop();
  QCoreApplication::processEvents();
  EXPECT_EQ(ends, 1);
}

TEST_F(Service, VoicedTasksOnlyWithAllFifteenHundreds) {
  Load();
  folder.Remove(VoicedPackageOf(1500));
  Reload();
  EXPECT_FALSE(service->AllVoicedTasksPresent());
  service->PlayVoicedTask(5, [] { ADD_FAILURE() << "nothing played, nothing ends"; });
  QCoreApplication::processEvents();
  EXPECT_TRUE(engine.Speech().empty());
  EXPECT_EQ(service->Coverage().voicedPresentCount, 14);
}

TEST_F(Service, WithoutTheEngineNothingPlays) {
  engine.starts = false;
  Load();
  EXPECT_FALSE(service->EngineWorks());
  EXPECT_FALSE(service->HasComments(SoundCategory::Right));
  service->PlayComment(SoundCategory::Right, false, {});
  service->PlayVoicedTask(5, {});
  service->PlayBuiltIn(BuiltInSound::Tick);
  service->SetVolume(50);
  EXPECT_TRUE(engine.played.empty());
  EXPECT_TRUE(engine.volumes.empty());
  service->Finish(registry);
  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKey(ProgramKeyPath(), true);
  EXPECT_FALSE(registry.ValueExists(QStringLiteral("HeartY")));
}

TEST_F(Service, VolumeAndTheEndOfTheRun) {
  Load();
  service->SetVolume(21);
  service->SetVolume(100);
  EXPECT_EQ(engine.volumes, (std::vector<int>{2100, 10000}));
  service->PlayComment(SoundCategory::Mark3, false, {});
  const int drawn = service->CommentIndex();
  service->Finish(registry);
  EXPECT_EQ(engine.frees, 1);
  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKey(ProgramKeyPath(), true);
  QByteArray m3(8, '\0');
  ASSERT_EQ(registry.ReadBinaryData(QStringLiteral("HeartM3"), m3.data(), 8), 4);
  EXPECT_EQ(static_cast<unsigned char>(m3[0]) | (static_cast<unsigned char>(m3[1]) << 8), 1 << drawn);
  EXPECT_TRUE(registry.ValueExists(QStringLiteral("HeartS")));
}

TEST_F(Service, CoverageCountsEachCategory) {
  Load();
  const SoundCoverage c = service->Coverage();
  EXPECT_EQ(c.comments[static_cast<int>(SoundCategory::Right)], 40);
  EXPECT_EQ(c.comments[static_cast<int>(SoundCategory::Mark5)], 10);
  EXPECT_EQ(c.comments[static_cast<int>(SoundCategory::Start)], 15);
  EXPECT_EQ(c.totalComments, 40 + 40 + 60 + 15 * 3);
  EXPECT_TRUE(c.allVoicedPresent);
  EXPECT_EQ(c.voicedRevision[14], 1);
}

// The progress file carries the comment selectors exactly as the end of the run stores them, and
// only those of the categories loaded in this run.
TEST_F(Service, ProgressFileGroupsAreTheStoredSelectorsOfLoadedCategories) {
  for (int c = 0; c < kPackageCount; ++c)
    if (c != 0) folder.Write(c, BuildPackage(zv::test::FixtureContent(c, IsVoicedPackage(c) ? 1 : 12)));
  Reload();
  service->PlayComment(SoundCategory::Mark3, false, {});
  const std::vector<SelectorState> states = service->SelectorStates();
  QStringList names;
  for (const SelectorState& s : states) names << s.name;
  EXPECT_EQ(names.join(QLatin1Char(' ')),
            QStringLiteral("HeartF HeartM0 HeartM1 HeartM2 HeartM3 HeartM4 HeartM5 HeartN HeartS HeartT"));
  service->Finish(registry);
  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKey(ProgramKeyPath(), true);
  for (const SelectorState& s : states) {
    QByteArray stored(s.bytes.size(), '\0');
    ASSERT_EQ(registry.ReadBinaryData(s.name, stored.data(), static_cast<int>(stored.size())), s.bytes.size())
        << s.name.toStdString();
    EXPECT_EQ(stored, s.bytes) << s.name.toStdString();
  }
  EXPECT_FALSE(registry.ValueExists(QStringLiteral("HeartY")));
}

TEST_F(Service, TickAndTackPlayOverSpeech) {
  Load();
  service->PlayVoicedTask(1, {});
  service->PlayBuiltIn(BuiltInSound::Tick);
  service->PlayBuiltIn(BuiltInSound::Tack);
  ASSERT_EQ(engine.played.size(), 3u);
  EXPECT_EQ(engine.played[1].channel, SoundChannel::BuiltIn);
  EXPECT_EQ(engine.played[1].sound.size(), 1664);
  EXPECT_EQ(engine.played[2].sound.size(), 3068);
  EXPECT_TRUE(engine.IsPlaying(SoundChannel::Speech));
}

// The restored built-in sounds are complete WAV files of exactly their sizes.
TEST(BuiltInSounds, DecodeToWholeWavFiles) {
  for (const auto& [sound, size] : {std::pair{BuiltInSound::Tick, 1664}, std::pair{BuiltInSound::Tack, 3068}}) {
    const QByteArray& wav = BuiltInSoundFile(sound);
    ASSERT_EQ(wav.size(), size);
    const auto u32 = [&wav](int at) {
      return static_cast<qint64>(ReadLittleEndian(QByteArrayView(wav).sliced(at), 4));
    };
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(u32(4), size - 8);
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(ReadLittleEndian(QByteArrayView(wav).sliced(20), 2), 1u) << "PCM";
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(u32(40), size - 44);
  }
  const std::array<unsigned char, 4> stored = {10, 5, 250, 1};
  EXPECT_EQ(DeltaDecode(stored).toHex(), QByteArray("0f090a")) << "each byte adds the one before, modulo 256";
}

}  // namespace
