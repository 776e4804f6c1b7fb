// The package builder around the synthesiser: the cache key, the cache, the content it reads and
// the packages it writes, which the trainer's reader must read back byte for byte. A build whose
// sounds are all cached never runs the synthesiser, so these tests need no voice; the one that
// does skips itself when the voice is not installed.

#include "PackageWriter.h"
#include "SoundPipeline.h"
#include "SoundSources.h"

#include "sound/PackageFile.h"
#include "sound/PackageFormat.h"

#include <gtest/gtest.h>

#include "support/RowName.h"
#include "support/Utf8.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace zv::soundbuild {
namespace {

using test::U;

const QString kVersions = U("rhvoice 1.8.0|SoX v14.4.2|opusenc 0.2");

SoundSpec Spec() { return SoundSpec{U("Так держать!"), U("anna"), 100, U("content/comments/y.txt:1")}; }

struct KeyRow {
  const char* name;
  std::function<void(SoundSpec&, QString&)> change;
  bool matters;
};

class CacheKeyOf : public ::testing::TestWithParam<KeyRow> {};

TEST_P(CacheKeyOf, ChangesExactlyWithWhatDeterminesTheSound) {
  SoundSpec spec = Spec();
  QString versions = kVersions;
  GetParam().change(spec, versions);
  EXPECT_EQ(CacheKey(spec, versions) != CacheKey(Spec(), kVersions), GetParam().matters);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CacheKeyOf,
    ::testing::Values(KeyRow{"text", [](SoundSpec& s, QString&) { s.text = U("Так держать"); }, true},
                      KeyRow{"stressMark", [](SoundSpec& s, QString&) { s.text = U("Так держа́ть!"); }, true},
                      KeyRow{"voice", [](SoundSpec& s, QString&) { s.voice = U("irina"); }, true},
                      KeyRow{"rate", [](SoundSpec& s, QString&) { s.rate = 101; }, true},
                      KeyRow{"voiceVersion", [](SoundSpec&, QString& v) { v.replace(U("1.8.0"), U("1.8.1")); }, true},
                      KeyRow{"partsKeptApart",
                             [](SoundSpec& s, QString&) {
                               s.text += s.voice;
                               s.voice.clear();
                             },
                             true},
                      KeyRow{"whereTheTextComesFrom",
                             [](SoundSpec& s, QString&) { s.origin = U("content/comments/n.txt:7"); },
                             false}),
    zv::test::RowName{});

TEST(SoundCache, KeepsEachSoundUnderItsKeyAndNothingElse) {
  QTemporaryDir dir;
  const SoundCache cache(dir.filePath(U("cache/zorvik/sounds")));
  EXPECT_FALSE(cache.Load(U("abc")).has_value());
  ASSERT_TRUE(cache.Store(U("abc"), QByteArray("OggS sound")));
  EXPECT_EQ(cache.Load(U("abc")), QByteArray("OggS sound"));
  EXPECT_EQ(QDir(cache.Dir()).entryList(QDir::Files), QStringList{U("abc.opus")});
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A sound for a spec: distinct per text, long enough to be scrambled.
QByteArray FakeSound(const SoundSpec& s) { return "OggS fixture sound of " + s.text.toUtf8() + ' ' + s.voice.toUtf8(); }

class WarmBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    // q01 complete (every phrase the same words will do), q02 begun, two comments, a spoken form.
    QByteArray q01;
    for (int i = 1; i <= 100; ++i) q01 += QByteArray::number(i) + "\tразг.\tну ты даёшь!\tа\tб\tв\n";
    WriteFile(m_content.filePath(U("tasks/q01.tsv")), q01);
    WriteFile(m_content.filePath(U("tasks/q02.tsv")), "101\tразг.\tна все 100\tа\tб\tв\n");
    WriteFile(m_content.filePath(U("tasks/spoken.tsv")), "101\tна все сто\taleksandr\n");
    WriteFile(m_content.filePath(U("comments/y.txt")), "Верно!\nВ точку!\n");
    // A package the content does not fill any more.
    WriteFile(QDir(m_out.path()).filePath(U("zvq2.cok")), "stale");
  }

  // Seeds the cache with every sound the content needs, as an earlier build would have.
  SoundCache WarmCache(const ContentSounds& content) {
    const SoundCache cache(m_cache.path());
    for (const auto& package : content.packages)
      for (const SoundSpec& s : package) cache.Store(CacheKey(s, m_tools.versions), FakeSound(s));
    return cache;
  }

  QTemporaryDir m_content, m_out, m_cache;
  Tools m_tools{{}, {}, {}, kVersions};  // no programs: a warm build must not need them
};

TEST_F(WarmBuild, SpeaksNothingAndWritesPackagesTheReaderReadsBack) {
  const ContentSounds content = LoadContent(QDir(m_content.path()));
  ASSERT_EQ(content.errors, QStringList());
  EXPECT_EQ(content.packages[kCommentPackageCount].size(), 100U);   // q1
  EXPECT_TRUE(content.packages[kCommentPackageCount + 1].empty());  // q2: one task of a hundred
  EXPECT_EQ(content.phrases.at(101).text, U("На все сто"));
  EXPECT_EQ(content.phrases.at(101).voice, U("aleksandr"));

  const BuildReport report = BuildPackages(m_tools, content, WarmCache(content), m_out.path(), 2);
  ASSERT_EQ(report.errors, QStringList());
  EXPECT_EQ(report.spoken, 0);
  EXPECT_EQ(report.cached, 102);
  EXPECT_EQ(report.packages, 2);
  const QDir out(m_out.path());
  EXPECT_EQ(out.entryList(QDir::Files), (QStringList{U("zvq1.cok"), U("zvy.cok")}));

  QFile y(out.filePath(U("zvy.cok")));
  ASSERT_TRUE(y.open(QIODevice::ReadOnly));
  const PackageInspection yHead = InspectPackage(y, false);
  EXPECT_EQ(yHead.status, PackageStatus::Intact);
  EXPECT_EQ(yHead.head.version, 34);
  EXPECT_EQ(yHead.head.count, 2);  // a comment package counts its sounds
  EXPECT_EQ(ReadPackageSound(y, false, 1), FakeSound(content.packages[0][1]));

  QFile q1(out.filePath(U("zvq1.cok")));
  ASSERT_TRUE(q1.open(QIODevice::ReadOnly));
  const PackageInspection qHead = InspectPackage(q1, true);
  EXPECT_EQ(qHead.status, PackageStatus::Intact);
  EXPECT_EQ(qHead.head.count, kVoicedRevision);
  for (const int task : {1, 57, 100})
    EXPECT_EQ(ReadPackageSound(q1, true, task - 1), FakeSound(content.phrases.at(task))) << task;
}

TEST_F(WarmBuild, WritesTheSameBytesEveryTime) {
  const ContentSounds content = LoadContent(QDir(m_content.path()));
  const SoundCache cache = WarmCache(content);
  ASSERT_EQ(BuildPackages(m_tools, content, cache, m_out.path(), 2).errors, QStringList());
  const QByteArray first = ReadFile(QDir(m_out.path()).filePath(U("zvq1.cok")));
  QFile::remove(QDir(m_out.path()).filePath(U("zvq1.cok")));
  ASSERT_EQ(BuildPackages(m_tools, content, cache, m_out.path(), 1).errors, QStringList());
  EXPECT_EQ(ReadFile(QDir(m_out.path()).filePath(U("zvq1.cok"))), first);
}

TEST_F(WarmBuild, RefusesASpokenFormThatSaysOtherWords) {
  WriteFile(m_content.filePath(U("tasks/spoken.tsv")), "7\tну ты даёшь\n101\tна все сто\n12\tну ты даёшь всем\n");
  const ContentSounds content = LoadContent(QDir(m_content.path()));
  ASSERT_EQ(content.errors.size(), 1);
  EXPECT_TRUE(content.errors[0].startsWith(U("content/tasks/spoken.tsv:3: error:"))) << content.errors[0].toStdString();
}

// The real pipeline, when the voice and the programs are installed.
TEST(Pipeline, EncodesTheSameBytesTwiceAndRefusesATooShortSound) {
  const Tools tools = FindTools();
  if (!tools.Missing().isEmpty()) GTEST_SKIP() << "not installed: " << tools.Missing().join(U(", ")).toStdString();
  const Encoded first = Encode(tools, Spec());
  ASSERT_EQ(first.error, QString());
  EXPECT_TRUE(first.opus.startsWith("OggS"));
  EXPECT_GE(OpusSeconds(first.opus), 0.3);
  EXPECT_EQ(Encode(tools, Spec()).opus, first.opus);

  const Encoded tooShort = Encode(tools, SoundSpec{U("А"), U("anna"), 100, {}});
  EXPECT_TRUE(tooShort.opus.isEmpty());
  EXPECT_TRUE(tooShort.error.contains(U("less than 0.3 s"))) << tooShort.error.toStdString();
}

// Phrases spoken in one run of the synthesiser get the very bytes each gets alone, so neither the
// cache nor the packages depend on how the phrases were batched; a batch it cannot cut with
// certainty is refused, and its phrases are then spoken one by one.
TEST(Pipeline, BatchGivesEachPhraseItsOwnBytesOrNothing) {
  const Tools tools = FindTools();
  if (!tools.Missing().isEmpty()) GTEST_SKIP() << "not installed: " << tools.Missing().join(U(", ")).toStdString();
  const QStringList texts{U("Ну ты даёшь"), U("Да ладно, не парься! Всё будет."), U("Щас… погоди"), U("А?")};
  const std::vector<QByteArray> batch = SynthesizeBatch(tools, texts, U("aleksandr"), 90);
  ASSERT_EQ(batch.size(), std::size_t(texts.size()));
  for (qsizetype i = 0; i < texts.size(); ++i) {
    QString error;
    EXPECT_EQ(batch[std::size_t(i)], Synthesize(tools, texts[i], U("aleksandr"), 90, error)) << texts[i].toStdString();
  }
  EXPECT_TRUE(SynthesizeBatch(tools, {U("Ну вот. Конец фразы. И всё.")}, U("elena"), 100).empty());
}

}  // namespace
}  // namespace zv::soundbuild
