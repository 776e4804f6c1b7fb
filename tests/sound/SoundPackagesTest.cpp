// The scan of the sound packages: which packages count, what the user is told, how the start-up
// bar steps, the selectors it restores and stores, and the marker that makes the next run
// trust the presentation again.

#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "shell/MainSettings.h"
#include "sound/SoundPackages.h"
#include "support/PackageFixture.h"
#include "support/RowName.h"
#include "tasks/SelectorStore.h"
#include "tasks/TSmartRand.h"

#include <QTemporaryDir>

#include <unistd.h>

namespace {

using namespace zv;
using zv::test::PackageFolder;

const QString kMissingVoiced = QString::fromUtf8("Программе недостаёт файлов озвученных заданий!\r\n");
const QString kMissingComments = QString::fromUtf8("Программе недостаёт файлов звуковых комментариев!\r\n");
const QString kAdvice = QString::fromUtf8(
    "\r\nДля поэтапной установки недостающего\r\nвоспользуйтесь кнопкой \"Интернет-обновление\"\r\nили установите "
    "полнозвуковую версию программы.");

class Scan : public testing::Test {
 protected:
  QTemporaryDir hive;
  Registry registry{RegistryPaths::inOneFolder(hive.path())};
  ClockSeededRandom random{5};
  PackageFolder folder;
  MessageBoxHook boxes;
  SoundPackages packages;
  int steps = 0;

  const SoundLoadResults& Load(bool engineStarted = true, QStringList folders = {}) {
    if (folders.isEmpty()) folders << folder.Path();
    packages.Load({folders, engineStarted, &registry, &random, [this] { ++steps; }});
    return packages.Results();
  }
  bool Stored(const QString& name) {
    registry.SetRootKey(RootKey::CurrentUser);
    registry.OpenKey(ProgramKeyPath(), true);
    const bool exists = registry.ValueExists(name);
    registry.CloseKey();
    return exists;
  }
};

TEST_F(Scan, EverythingPresentStepsThirtyFiveMinusTheEightBeforeAndAfter) {
  folder.WriteAll();
  const SoundLoadResults& r = Load();
  EXPECT_EQ(steps, 27) << "one step per package and one after the selectors";
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_TRUE(r.commentsComplete);
  EXPECT_TRUE(r.allVoicedPresent);
  EXPECT_FALSE(r.noComments);
  EXPECT_EQ(r.totalCommentSounds, 44);
  EXPECT_EQ(r.voicedPresentCount, 15);
  EXPECT_FALSE(Stored(QStringLiteral("NoSoundFiles")));
  for (int c = 0; c < kCommentPackageCount; ++c) EXPECT_NE(packages.Selector(c), nullptr) << c;
  EXPECT_EQ(packages.ReadSound(3, 2), zv::test::FixtureSound(QStringLiteral("m12")));
  EXPECT_EQ(packages.ReadSound(VoicedPackageOf(1234), 1233), zv::test::FixtureSound(QStringLiteral("q1234")));
}

TEST_F(Scan, NothingPresentTellsBothInOneBoxAndMarksTheRun) {
  const SoundLoadResults& r = Load();
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, kMissingVoiced + kMissingComments + kAdvice);
  EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Information);
  EXPECT_EQ(boxes.shown()[0].caption, QString::fromUtf8("Зорвик"));
  EXPECT_TRUE(r.noComments);
  EXPECT_TRUE(r.noVoicedPresent);
  EXPECT_EQ(steps, 27);
  EXPECT_TRUE(Stored(QStringLiteral("NoSoundFiles")));
}

TEST_F(Scan, WithoutTheEngineNothingIsToldStoredOrSelected) {
  folder.WriteAll();
  folder.Remove(VoicedPackageOf(700));
  const SoundLoadResults& r = Load(false);
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_TRUE(r.engineFailed);
  EXPECT_FALSE(Stored(QStringLiteral("NoSoundFiles")));
  EXPECT_EQ(packages.Selector(0), nullptr);
  EXPECT_EQ(steps, 26) << "the step after the selectors belongs to the engine's part";
}

TEST_F(Scan, DataFolderComesBeforeTheProgramFolder) {
  PackageFolder program;
  program.WriteAll(4);
  folder.Write(0, BuildPackage(zv::test::FixtureContent(0, 9)));
  const SoundLoadResults& r = Load(true, {folder.Path(), program.Path()});
  EXPECT_EQ(r.count[0], 9);
  EXPECT_EQ(r.count[1], 4);
  EXPECT_TRUE(r.allVoicedPresent);
}

// One row per line of the failure table, made by damaging one package of a full set.
struct FailureRow {
  const char* name;
  int category;
  std::function<QByteArray(QByteArray)> damage;
  QString text;  // the box, empty when none
  QString caption;
  bool stepTaken;
  bool available;  // comment loaded, or voiced package present
};

class ScanFailures : public Scan, public testing::WithParamInterface<FailureRow> {};

TEST_P(ScanFailures, MessageStepAndAvailability) {
  const FailureRow& row = GetParam();
  folder.WriteAll();
  const QString name = PackageFileName(row.category);
  folder.Write(row.category,
               row.damage(BuildPackage(zv::test::FixtureContent(row.category, IsVoicedPackage(row.category) ? 1 : 4))));
  const SoundLoadResults& r = Load();
  const bool voiced = IsVoicedPackage(row.category);
  const bool available = voiced ? r.voicedPresent[static_cast<std::size_t>(row.category - kCommentPackageCount)]
                                : r.loaded[static_cast<std::size_t>(row.category)];
  EXPECT_EQ(available, row.available);
  EXPECT_EQ(steps, row.stepTaken ? 27 : 26);
  if (row.text.isEmpty()) {
    // A comment package not loaded still leaves one box: the missing-comments notice.
    for (const MessageRequest& box : boxes.shown()) EXPECT_EQ(box.icon, MsgIcon::Information) << box.text.toStdString();
    return;
  }
  ASSERT_FALSE(boxes.shown().empty());
  EXPECT_EQ(boxes.shown()[0].text, row.text.arg(name));
  EXPECT_EQ(boxes.shown()[0].caption, row.caption);
  EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::None);
}

QByteArray SetByte(QByteArray bytes, int at, char value) {
  bytes[at] = value;
  return bytes;
}

const QString kBadVersion = QString::fromUtf8("Неверная версия файла %1!\r\nПожалуйста, переустановите программу.");
const QString kCorrupt = QString::fromUtf8("Файл %1 искажён!\r\nПереустановите программу.");
const QString kZorvik = QString::fromUtf8("Зорвик");
const QString kZvSound = QStringLiteral("ZVSound");

INSTANTIATE_TEST_SUITE_P(
    Package, ScanFailures,
    testing::Values(
        FailureRow{"empty_file_is_a_wrong_version",
                   5,
                   [](QByteArray) { return QByteArray(); },
                   kBadVersion,
                   kZorvik,
                   false,
                   false},
        FailureRow{
            "version_2_refused", 0, [](QByteArray b) { return SetByte(b, 4, 2); }, kBadVersion, kZorvik, false, false},
        FailureRow{"version_refused_for_voiced",
                   20,
                   [](QByteArray b) { return SetByte(b, 4, 33); },
                   kBadVersion,
                   kZorvik,
                   false,
                   false},
        FailureRow{
            "file_ends_before_version", 1, [](QByteArray b) { return b.left(4); }, kBadVersion, kZorvik, false, false},
        FailureRow{"length_field_one_less",
                   8,
                   [](QByteArray b) {
                     const int at = 7 + 4 * 5;  // after the table of 4 sounds
                     return SetByte(b, at, static_cast<char>(b[at] - 1));
                   },
                   kCorrupt,
                   kZvSound,
                   false,
                   false},
        FailureRow{"file_one_byte_longer", 9, [](QByteArray b) { return b + '\0'; }, kCorrupt, kZvSound, false, false},
        FailureRow{"table_byte_changed",
                   2,
                   [](QByteArray b) { return SetByte(b, 11, static_cast<char>(b[11] + 1)); },
                   kCorrupt,
                   kZvSound,
                   false,
                   false},
        FailureRow{
            "count_changed", 10, [](QByteArray b) { return SetByte(b, 5, 3); }, kCorrupt, kZvSound, false, false},
        FailureRow{
            "voiced_corrupt_stays_present", 24, [](QByteArray b) { return b + '\0'; }, kCorrupt, kZvSound, false, true},
        FailureRow{"sound_bytes_are_not_checked",
                   0,
                   [](QByteArray b) { return SetByte(b, static_cast<int>(b.size()) - 5, 'x'); },
                   {},
                   {},
                   true,
                   true}),
    zv::test::RowName{});

TEST_F(Scan, AbsentFileIsNotCorrupt) {
  folder.WriteAll();
  folder.Remove(5);
  Load();
  EXPECT_EQ(steps, 27);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, kMissingComments + kAdvice);
}

TEST_F(Scan, UnopenableFileIsToldAndTakesNoStep) {
  folder.WriteAll();
  QFile::setPermissions(folder.FilePath(0), QFileDevice::Permissions());
  if (QFile(folder.FilePath(0)).open(QIODevice::ReadOnly)) GTEST_SKIP() << "this user reads any file";
  const SoundLoadResults& r = Load();
  EXPECT_FALSE(r.loaded[0]);
  EXPECT_EQ(steps, 26);
  ASSERT_FALSE(boxes.shown().empty());
  EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8("Не удаётся открыть файл zvy.cok"));
}

TEST_F(Scan, StartMissingMakesTheCommentsIncomplete) {
  folder.WriteAll();
  folder.Remove(10);
  const SoundLoadResults& r = Load();
  EXPECT_FALSE(r.commentsComplete);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, kMissingComments + kAdvice);
  EXPECT_FALSE(Stored(QStringLiteral("NoSoundFiles")));
}

TEST_F(Scan, CountsAndRevisions) {
  folder.WriteAll();
  folder.Write(6, BuildPackage(zv::test::FixtureContent(6, 0)));       // m4 without sounds
  folder.Write(13, BuildPackage(zv::test::FixtureContent(13, 7, 1)));  // q3, revision 7, version 1
  folder.Write(0, BuildPackage(zv::test::FixtureContent(0, 40, 1)));   // y, version 1
  const SoundLoadResults& r = Load();
  EXPECT_TRUE(r.loaded[6]);
  EXPECT_EQ(packages.Selector(6), nullptr) << "a package without sounds has nothing to draw";
  EXPECT_EQ(r.revision[2], 7);
  EXPECT_EQ(r.count[0], 40);
  EXPECT_EQ(r.totalCommentSounds, 40 + 9 * 4);
  EXPECT_EQ(packages.ReadSound(13, 250), zv::test::FixtureSound(QStringLiteral("q251")));
  EXPECT_EQ(packages.ReadSound(0, 39), zv::test::FixtureSound(QStringLiteral("y39")));
  EXPECT_TRUE(packages.ReadSound(0, 40).isEmpty());
}

TEST_F(Scan, SelectorsComeBackFromTheHiveAndGoBackInOrder) {
  folder.WriteAll(40);
  {
    TSmartRand earlier(40, false, 3, random);
    for (int k : {3, 17, 40}) earlier.MarkUsed(k);
    registry.SetRootKey(RootKey::CurrentUser);
    registry.OpenKey(ProgramKeyPath(), true);
    SaveUsedState(registry, QStringLiteral("HeartN"), earlier);
    registry.CloseKey();
  }
  Load();
  TSmartRand* n = packages.Selector(8);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->CountUsed(), 3);
  EXPECT_TRUE(n->IsUsed(17));
  packages.Selector(1)->MarkUsed(5);
  packages.StoreSelectors(registry);

  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKey(ProgramKeyPath(), false);
  QStringList hearts;
  for (const QString& value : registry.GetValueNames())
    if (value.startsWith(QStringLiteral("Heart"))) hearts << value;
  EXPECT_EQ(hearts.size(), 11);
  EXPECT_EQ(registry.GetDataSize(QStringLiteral("HeartF")), 8);
  QByteArray f(8, '\0');
  registry.ReadBinaryData(QStringLiteral("HeartF"), f.data(), 8);
  EXPECT_EQ(f.toHex(), QByteArray("1000000000000000")) << "item 5 used, tail bits clear";
  registry.CloseKey();
  EXPECT_EQ(SoundPackages::StateName(3), QStringLiteral("HeartM1"));
}

TEST_F(Scan, NoSoundFilesLastsUntilTheNextRunReadsTheSettings) {
  folder.WriteAll();
  folder.Remove(VoicedPackageOf(1500));
  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKey(ProgramKeyPath(), true);
  registry.WriteInteger(QStringLiteral("ViewIndex"), 2);
  registry.CloseKey();

  Load();  // first run: marks the run
  ASSERT_TRUE(Stored(QStringLiteral("NoSoundFiles")));
  MainSettings second;
  ReadMainSettings(registry, second, {});
  EXPECT_EQ(second.viewIndex, 0) << "the forced choice is not trusted";
  EXPECT_FALSE(Stored(QStringLiteral("NoSoundFiles")));
  SoundPackages again;
  again.Load({{folder.Path()}, true, &registry, &random, {}});  // second run: still missing
  EXPECT_TRUE(Stored(QStringLiteral("NoSoundFiles")));
  folder.WriteAll();
  MainSettings third;
  ReadMainSettings(registry, third, {});
  SoundPackages complete;
  complete.Load({{folder.Path()}, true, &registry, &random, {}});  // third run: all there
  EXPECT_FALSE(Stored(QStringLiteral("NoSoundFiles")));
}

}  // namespace
