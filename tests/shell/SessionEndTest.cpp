// The end of the session. SessionEnd turns SIGTERM, SIGINT, SIGHUP and the application's quit
// into one event; the trainer, ended that way as a process of its own, must leave the same
// values in the hive as when it is closed normally, also in the middle of an exam with a
// modal window on view, and end by itself.

#include "platform/Registry.h"
#include "platform/SessionEnd.h"
#include "platform/SingleInstance.h"
#include "support/SocketFolder.h"
#include "support/TestApplication.h"
#include "support/TrainerProcess.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <bit>
#include <csignal>
#include <cstring>
#include <ostream>
#include <set>
#include <string>

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::TrainerProcess;

ZV_TEST_APPLICATION(QCoreApplication);

// --- SessionEnd on its own ------------------------------------------------------------------

class SessionEndSignal : public ::testing::TestWithParam<int> {};

TEST_P(SessionEndSignal, ReportedOnTheEventLoopNotByEndingTheProcess) {
  const int signal = GetParam();
  struct sigaction before {};
  ASSERT_EQ(::sigaction(signal, nullptr, &before), 0);
  int endings = 0;
  {
    SessionEnd session;
    QObject::connect(&session, &SessionEnd::ending, [&] { ++endings; });
    ASSERT_EQ(std::raise(signal), 0);  // the default action would end this test binary
    EXPECT_EQ(endings, 0) << "reported from inside the signal handler";
    QElapsedTimer timer;
    timer.start();
    while (endings == 0 && timer.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(session.Ended());
    EXPECT_EQ(session.LastSignal(), signal);
  }
  struct sigaction now {};
  ASSERT_EQ(::sigaction(signal, nullptr, &now), 0);
  EXPECT_EQ(now.sa_handler, before.sa_handler) << "the earlier action is not given back";
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& row) { return std::string(strsignal(row.param)); });

TEST(SessionEnd, QuittingTheApplicationEndsTheSession) {
  SessionEnd session;
  int endings = 0;
  QObject::connect(&session, &SessionEnd::ending, [&] { ++endings; });
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  QCoreApplication::exec();
  EXPECT_EQ(endings, 1);
  EXPECT_TRUE(session.Ended());
  EXPECT_EQ(session.LastSignal(), 0);
}

// --- The trainer ended by the session -------------------------------------------------------

const QString kKey = u"Software\\Ostwin\\Zorvik"_s;

struct Hive {
  std::set<QString> names;
  int rCount = -1;
  int passedTasks = -1;
};

Hive ReadHive(const QTemporaryDir& dir) {
  Hive hive;
  Registry r(RegistryPaths::inOneFolder(dir.filePath(u"registry"_s)));
  r.SetRootKey(RootKey::CurrentUser);
  if (!r.OpenKey(kKey, false)) return hive;
  for (const QString& name : r.GetValueNames()) hive.names.insert(name);
  if (r.ValueExists(u"RCount"_s)) hive.rCount = r.ReadInteger(u"RCount"_s);
  if (r.ValueExists(u"Heart"_s)) {
    hive.passedTasks = 0;
    for (const char byte : r.ReadRaw(u"Heart"_s)) hive.passedTasks += std::popcount(static_cast<unsigned char>(byte));
  }
  r.CloseKey();
  return hive;
}

std::string Names(const std::set<QString>& names) {
  std::string text;
  for (const QString& name : names) text += name.toStdString() + ' ';
  return text;
}

// The value names a normal close leaves on a fresh hive (the uninstaller's quit message).
const std::set<QString>& NormalCloseNames() {
  static const std::set<QString> names = [] {
    test::SocketFolder dir;
    TrainerProcess trainer(dir, QStringLiteral(ZV_TRAINER));
    EXPECT_TRUE(trainer.WaitUntilReady());
    EXPECT_EQ(trainer.Quit(), 0);
    return ReadHive(dir).names;
  }();
  return names;
}

struct EndRow {
  const char* name;
  const char* drive;  // "": the real trainer on its start screen
  int signal;       // 0: the uninstaller's quit message instead of a signal
  int rCount;       // right answers given before the end
  int passedTasks;  // tasks drawn (and so passed) before the end
};
void PrintTo(const EndRow& row, std::ostream* os) { *os << row.name; }

class SessionEndsTheTrainer : public ::testing::TestWithParam<EndRow> {};

TEST_P(SessionEndsTheTrainer, HiveHoldsWhatANormalCloseWrites) {
  const EndRow& row = GetParam();
  const std::set<QString>& expected = NormalCloseNames();
  ASSERT_TRUE(expected.count(u"Heart"_s) && expected.count(u"HeartOC"_s)) << Names(expected);

  test::SocketFolder dir;
  ASSERT_TRUE(dir.isValid());
  {
    TrainerProcess trainer(dir, QStringLiteral(ZV_EXAM_DRIVER), QString::fromLatin1(row.drive));
    ASSERT_TRUE(trainer.WaitUntilReady());
    EXPECT_EQ(row.signal != 0 ? trainer.EndWith(row.signal) : trainer.Quit(), 0)
        << "did not end by itself, or ended unclean";
  }
  const Hive hive = ReadHive(dir);
  EXPECT_EQ(Names(hive.names), Names(expected));
  EXPECT_EQ(hive.rCount, row.rCount);
  EXPECT_EQ(hive.passedTasks, row.passedTasks);
}

INSTANTIATE_TEST_SUITE_P(Rows, SessionEndsTheTrainer,
                         ::testing::Values(EndRow{"SigtermOnTheStartScreen", "", SIGTERM, 0, 0},
                                           EndRow{"SighupOnTheStartScreen", "", SIGHUP, 0, 0},
                                           EndRow{"SigintOnTheStartScreen", "", SIGINT, 0, 0},
                                           EndRow{"SigtermWithTheCorrectAnswerWindowUp", "hint:1", SIGTERM, 1, 1},
                                           EndRow{"SigtermBetweenAnswers", "between:2", SIGTERM, 2, 3},
                                           EndRow{"SigtermWithTheLastCorrectAnswerWindowUp", "hint:5", SIGTERM, 5, 5},
                                           EndRow{"SigtermWithTheMarkWindowUp", "mark", SIGTERM, 5, 5},
                                           EndRow{"QuitMessageWithTheCorrectAnswerWindowUp", "hint:1", 0, 1, 1},
                                           EndRow{"QuitMessageWithTheMarkWindowUp", "mark", 0, 5, 5}),
                         zv::test::RowName{});

// Without its sound packages the trainer shows an information box while its main window is
// being created. The end of the session closes the box, lets the start-up finish, and ends the
// trainer the usual way, its state written.
TEST(SessionEndsTheTrainerAtStartUp, InformationBoxOnViewIsClosed) {
  test::SocketFolder dir;
  ASSERT_TRUE(dir.isValid());
  const QString program = dir.filePath(u"bin/zorvik"_s);  // no packages next to this copy
  ASSERT_TRUE(QDir().mkpath(dir.filePath(u"bin"_s)));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZV_TRAINER), program));
  {
    TrainerProcess trainer(dir, program, QString(), QString(), true);
    ASSERT_TRUE(test::WaitUntil([&] { return ReadHive(dir).names.count(u"NoSoundFiles"_s) > 0; }, 20000))
        << "the box never came";
    EXPECT_EQ(trainer.EndWith(SIGTERM), 0) << "did not end by itself, or ended unclean";
  }
  EXPECT_TRUE(ReadHive(dir).names.count(u"Heart"_s)) << Names(ReadHive(dir).names);
}

// The display going away: the toolkit ends the process with exit(1) from inside its event
// loop. The main window is still closed on the way out and writes everything it writes on a
// normal close; the correct-answer window's selectors cannot be stored there (see RunTrainer).
TEST(SessionEndsTheTrainerWithTheDisplay, MainWindowValuesAreWritten) {
  if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty()) GTEST_SKIP() << "no Xvfb";
  const std::set<QString>& normal = NormalCloseNames();
  QProcess server;
  server.setProgram(QStandardPaths::findExecutable(u"Xvfb"_s));
  server.setArguments({u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s, u"-nolisten"_s, u"tcp"_s});
  server.start();
  QByteArray number;
  while (!number.contains('\n') && server.waitForReadyRead(10000)) number += server.readAllStandardOutput();
  ASSERT_FALSE(number.trimmed().isEmpty()) << "Xvfb did not start";

  test::SocketFolder dir;
  ASSERT_TRUE(dir.isValid());
  {
    TrainerProcess trainer(dir, QStringLiteral(ZV_TRAINER), QString(), u":"_s + QString::fromLatin1(number.trimmed()));
    ASSERT_TRUE(trainer.WaitUntilReady());
    server.terminate();
    server.waitForFinished(10000);
    EXPECT_EQ(trainer.WaitForEnd(), 1) << "the toolkit's exit code; -2: crashed on the way out";
  }
  std::set<QString> expected = normal;
  for (const QString& name : {u"HeartOC"_s, u"HeartYC"_s, u"HeartNC"_s, u"HeartTC"_s}) expected.erase(name);
  EXPECT_EQ(Names(ReadHive(dir).names), Names(expected));
}

}  // namespace
}  // namespace zv
