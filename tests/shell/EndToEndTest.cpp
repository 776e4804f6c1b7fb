// The real trainer, end to end: started as its own process on an empty hive, asked to end the
// way the uninstaller asks it, and the hive checked for every value the main window keeps,
// with its type; then started again on that hive, which must bring the settings back (what the
// second run writes when it closes is what it read, not the defaults).

#include "platform/RandomSource.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "sound/PackageFormat.h"
#include "support/MainWindowValues.h"
#include "support/TestApplication.h"
#include "support/TrainerProcess.h"
#include "tasks/TSmartRand.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <utility>

namespace zv {
namespace {

const QString kKey = QStringLiteral("Software\\Ostwin\\Zorvik");

ZV_TEST_APPLICATION(QCoreApplication);

template <typename Body>
void OnKey(const QTemporaryDir& dir, Body body) {
  Registry r(RegistryPaths::inOneFolder(dir.filePath(QStringLiteral("registry"))));
  r.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(r.OpenKey(kKey, true));
  body(r);
  r.CloseKey();
}

// With the sound engine (SDL's dummy driver) and all 26 packages in the user's data folder the
// trainer greets on its start screen and, at its end, keeps the volume, the presentation and
// one selector per comment category, the greeting's holding the comment it drew.
TEST(EndToEnd, WithSoundTheRunKeepsTheVolumeAndTheCommentSelectors) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile tone(QStringLiteral(ZV_FIXTURES "/opus_tone_300ms.opus"));
  ASSERT_TRUE(tone.open(QIODevice::ReadOnly));
  const QByteArray sound = tone.readAll();
  const QDir packages(dir.filePath(QStringLiteral("Zorvik")));
  ASSERT_TRUE(packages.mkpath(QStringLiteral(".")));
  for (int c = 0; c < kPackageCount; ++c) {
    PackageContent content;
    content.voiced = IsVoicedPackage(c);
    content.hundred = c - kCommentPackageCount;
    content.count = content.voiced ? 1 : 3;
    content.sounds.assign(content.voiced ? 100 : 3, sound);
    QFile file(packages.filePath(PackageFileName(c)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(BuildPackage(content));
  }
  {
    test::TrainerProcess run(dir, QStringLiteral(ZV_TRAINER), {}, {}, true);
    ASSERT_TRUE(run.WaitUntilReady());
    QThread::msleep(1500);  // the greeting comes 512 ms after the start screen
    ASSERT_EQ(run.Quit(), 0);
  }
  OnKey(dir, [](Registry& r) {
    EXPECT_EQ(r.ReadInteger(QStringLiteral("Volume")), 72) << "the volume bar was shown";
    EXPECT_EQ(r.ReadInteger(QStringLiteral("ViewIndex")), 0) << "voiced tasks: text and sound";
    EXPECT_FALSE(r.ValueExists(QStringLiteral("NoSoundFiles")));
    for (const char* name :
         {"HeartF", "HeartM0", "HeartM1", "HeartM2", "HeartM3", "HeartM4", "HeartM5", "HeartN", "HeartT", "HeartY"}) {
      ASSERT_EQ(r.GetDataType(QLatin1String(name)), RegType::Binary) << name;
      EXPECT_EQ(r.ReadRaw(QLatin1String(name)), QByteArray(4, '\0')) << name << ": nothing drawn";
    }
    const QByteArray greeting = r.ReadRaw(QStringLiteral("HeartS"));
    ASSERT_EQ(greeting.size(), 4);
    const int used = greeting[0];
    EXPECT_TRUE(used == 1 || used == 2 || used == 4) << "one greeting drawn, not " << used;
  });
}

TEST(EndToEnd, FirstRunWritesEverySettingAndTheSecondReadsThemBack) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  double firstDate = 0;
  QByteArray heart, doneHeart;
  {
    test::TrainerProcess first(dir, QStringLiteral(ZV_TRAINER));
    ASSERT_TRUE(first.WaitUntilReady());
    ASSERT_EQ(first.Quit(), 0);
  }
  OnKey(dir, [&](Registry& r) {
    for (const auto& [name, type] : test::kMainWindowValues)
      EXPECT_EQ(r.GetDataType(QLatin1String(name)), type) << name;
    // The correct-answer window stores its remark selectors when it is destroyed.
    for (const char* name : {"HeartOC", "HeartYC", "HeartNC", "HeartTC"})
      EXPECT_EQ(r.GetDataType(QLatin1String(name)), RegType::Binary) << name;
    EXPECT_FALSE(r.ValueExists(QStringLiteral("Volume"))) << "no sound: the volume bar was never shown";
    EXPECT_EQ(r.GetDataSize(QStringLiteral("FirstDate")), 8);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("RCount")), 0);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("Tasks")), 5);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("TimeLimit")), 15);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("ViewIndex")), 1) << "text only without sound";
    EXPECT_EQ(r.ReadString(QStringLiteral("AskFont")), QStringLiteral("Arial"));
    EXPECT_EQ(r.ReadInteger(QStringLiteral("AskFontSize")), 14);
    EXPECT_TRUE(r.ReadBool(QStringLiteral("AskFontBold")));
    firstDate = r.ReadDateTime(QStringLiteral("FirstDate"));
    EXPECT_GT(firstDate, 46000.0);  // a moment of this century
    // Settings a learner chose in an earlier run.
    r.WriteInteger(QStringLiteral("Tasks"), 12);
    r.WriteBool(QStringLiteral("ToTL"), true);
    r.WriteBool(QStringLiteral("TicTac"), false);
    r.WriteInteger(QStringLiteral("TimeLimit"), 20);
    r.WriteInteger(QStringLiteral("RCount"), 37);
    r.WriteInteger(QStringLiteral("MainFormLeft"), 40);
    r.WriteInteger(QStringLiteral("MainFormTop"), 30);
    r.WriteInteger(QStringLiteral("AnsFontSize"), 11);
    r.WriteBool(QStringLiteral("AnsFontItalic"), true);
    r.WriteDateTime(QStringLiteral("FirstDate"), firstDate - 100.0);
    // Progress: tasks 3, 64 and 500 passed, 64 also repeated.
    ClockSeededRandom random(5);
    TSmartRand tasks(1500, true, 50, random);
    for (int k : {3, 64, 500}) tasks.MarkUsed(k);
    heart = tasks.UsedBytes();
    QByteArray done(heart.size(), '\0');
    done[(64 - 1) / 8] = static_cast<char>(1 << ((64 - 1) % 8));
    doneHeart = done;
    r.WriteBinaryData(QStringLiteral("Heart"), heart.constData(), static_cast<int>(heart.size()));
    r.WriteBinaryData(QStringLiteral("DoneHeart"), done.constData(), static_cast<int>(done.size()));
  });
  {
    test::TrainerProcess second(dir, QStringLiteral(ZV_TRAINER));
    ASSERT_TRUE(second.WaitUntilReady());
    ASSERT_EQ(second.Quit(), 0);
  }
  OnKey(dir, [&](Registry& r) {
    EXPECT_EQ(r.ReadInteger(QStringLiteral("Tasks")), 12);
    EXPECT_TRUE(r.ReadBool(QStringLiteral("ToTL")));
    EXPECT_FALSE(r.ReadBool(QStringLiteral("TicTac")));
    EXPECT_EQ(r.ReadInteger(QStringLiteral("TimeLimit")), 20);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("RCount")), 37);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("MainFormLeft")), 40);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("MainFormTop")), 30);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("AnsFontSize")), 11);
    EXPECT_TRUE(r.ReadBool(QStringLiteral("AnsFontItalic")));
    EXPECT_DOUBLE_EQ(r.ReadDateTime(QStringLiteral("FirstDate")), firstDate - 100.0);
    EXPECT_EQ(r.ReadRaw(QStringLiteral("Heart")), heart) << "the passed tasks survive a run";
    EXPECT_EQ(r.ReadRaw(QStringLiteral("DoneHeart")), doneHeart);
  });
}

}  // namespace
}  // namespace zv
