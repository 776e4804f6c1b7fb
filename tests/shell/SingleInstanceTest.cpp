// The single-instance stand-in between real processes: the helper program plays the first
// copy, this test the second.

#include "platform/SingleInstance.h"
#include "support/RowName.h"
#include "support/SocketFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

int g_argc = 1;
char g_arg0[] = "shell_single_instance";
char* g_argv[] = {g_arg0, nullptr};

class CoreApplication : public ::testing::Environment {
 public:
  void SetUp() override { m_app = new QCoreApplication(g_argc, g_argv); }
  void TearDown() override { delete m_app; }

 private:
  QCoreApplication* m_app = nullptr;
};
[[maybe_unused]] const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new CoreApplication);

// Lets the event loop run until `done` or the timeout.
template <typename Done>
bool waitFor(Done done, int ms = 5000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class FirstCopy {
 public:
  FirstCopy(const char* mode, const QString& folder) {
    m_process.start(QString::fromUtf8(ZV_INSTANCE_HELPER), {QString::fromLatin1(mode), folder});
  }
  ~FirstCopy() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished();
    }
  }
  // Reads lines until one equals `line`; false when the process ends or the time is up.
  bool WaitForLine(const QByteArray& line, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    for (;;) {
      while (m_process.canReadLine()) {
        const QByteArray got = m_process.readLine().trimmed();
        m_lines.append(got);
        if (got == line) return true;
      }
      if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning) return false;
      m_process.waitForReadyRead(50);
    }
  }
  QProcess& process() { return m_process; }

 private:
  QProcess m_process;
  QByteArrayList m_lines;
};

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
  QString folder() const { return m_dir.path(); }
  InstancePaths paths() const { return InstancePaths::InFolder(folder()); }
  test::SocketFolder m_dir;
};

TEST_F(SingleInstance, SecondCopyHandsOverToTheRunningFirstAndUninstallerQuitsIt) {
  FirstCopy first("serve", folder());
  ASSERT_TRUE(first.WaitForLine("ready"));

  const SingleInstanceLock lock(paths().LockFile);
  EXPECT_EQ(lock.CurrentState(), SingleInstanceLock::State::HeldElsewhere);
  EXPECT_EQ(CheckSingleInstance(lock, paths().ServerName), InstanceCheck::HandedOver);
  EXPECT_TRUE(first.WaitForLine("message 32768")) << "the first copy never heard 0x8000";

  EXPECT_TRUE(SendInstanceMessage(paths().ServerName, kQuitMessage));
  EXPECT_TRUE(first.WaitForLine("quit"));
  ASSERT_TRUE(first.process().waitForFinished(5000));
  EXPECT_EQ(first.process().exitCode(), 0);
}

TEST_F(SingleInstance, FirstCopyStillStartingLetsTheSecondGoOnQuickly) {
  FirstCopy first("lock", folder());
  ASSERT_TRUE(first.WaitForLine("ready"));

  const SingleInstanceLock lock(paths().LockFile);
  EXPECT_TRUE(lock.AlreadyExists());
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(CheckSingleInstance(lock, paths().ServerName), InstanceCheck::FirstStillStarting);
  EXPECT_LT(clock.elapsed(), 1000) << "nobody listens: the test must not wait for a timeout";
}

// A copy that crashed leaves its socket file behind, but its lock goes with the process: the
// next copy is the first and its main window can listen again.
TEST_F(SingleInstance, KilledFirstCopyFreesTheLockAndItsStaleSocket) {
  {
    FirstCopy first("serve", folder());
    ASSERT_TRUE(first.WaitForLine("ready"));
    first.process().kill();
    first.process().waitForFinished();
  }
  ASSERT_TRUE(QFileInfo::exists(paths().ServerName)) << "expected a stale socket file";

  const SingleInstanceLock lock(paths().LockFile);
  EXPECT_EQ(lock.CurrentState(), SingleInstanceLock::State::Owned);
  EXPECT_EQ(CheckSingleInstance(lock, paths().ServerName), InstanceCheck::First);
  InstanceMessageServer server;
  EXPECT_TRUE(server.Listen(paths().ServerName));
}

// The trainer starts programs (the regional settings, an update's command file) and then ends;
// if they inherited the lock, every later start would think a copy is still running.
TEST_F(SingleInstance, ProgramsStartedByTheFirstCopyDoNotKeepTheLock) {
  QProcess child;
  {
    const SingleInstanceLock lock(paths().LockFile);
    ASSERT_EQ(lock.CurrentState(), SingleInstanceLock::State::Owned);
    child.start(u"sleep"_s, {u"30"_s});
    ASSERT_TRUE(child.waitForStarted());
  }
  const SingleInstanceLock again(paths().LockFile);
  EXPECT_EQ(again.CurrentState(), SingleInstanceLock::State::Owned);
  child.kill();
  child.waitForFinished();
}

TEST_F(SingleInstance, LiveServerNameIsNotTakenOver) {
  InstanceMessageServer first;
  ASSERT_TRUE(first.Listen(paths().ServerName));
  InstanceMessageServer second;
  EXPECT_FALSE(second.Listen(paths().ServerName));
  EXPECT_TRUE(first.IsListening());
}

// Whatever a local process writes, the server reports only whole messages and survives.
TEST_F(SingleInstance, ServerReportsWholeMessagesOnly) {
  InstanceMessageServer server;
  ASSERT_TRUE(server.Listen(paths().ServerName));
  std::vector<std::uint32_t> received;
  int forward = 0;
  QObject::connect(&server, &InstanceMessageServer::messageReceived, [&](std::uint32_t m) { received.push_back(m); });
  QObject::connect(&server, &InstanceMessageServer::bringForwardRequested, [&] { ++forward; });

  {
    QLocalSocket partial;
    partial.connectToServer(paths().ServerName);
    ASSERT_TRUE(partial.waitForConnected(1000));
    partial.write("\x00\x80", 2);  // half a message, then gone
    partial.waitForBytesWritten(1000);
  }
  ASSERT_TRUE(SendInstanceMessage(paths().ServerName, 0x1234));
  ASSERT_TRUE(SendInstanceMessage(paths().ServerName, kBringForwardMessage));
  ASSERT_TRUE(waitFor([&] { return received.size() >= 2; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(received, (std::vector<std::uint32_t>{0x1234, kBringForwardMessage}));
  EXPECT_EQ(forward, 1);
}

struct FolderRow {
  const char* name;
  int existingMode;  // -1: nothing there; -2: a symbolic link to another folder
  bool expectUsable;
};

class InstanceFolder : public ::testing::TestWithParam<FolderRow> {};

// Without XDG_RUNTIME_DIR the folder sits in the shared temp base, where another user could
// have put something first.
TEST_P(InstanceFolder, FallbackFolderIsPrivate) {
  const FolderRow row = GetParam();
  const test::SocketFolder base;
  const QString folder = base.filePath(u"zorvik-%1"_s.arg(::geteuid()));
  const QByteArray native = folder.toLocal8Bit();
  if (row.existingMode >= 0) {
    ASSERT_EQ(::mkdir(native.constData(), 0700), 0);
    ASSERT_EQ(::chmod(native.constData(), mode_t(row.existingMode)), 0);
  } else if (row.existingMode == -2) {
    const QByteArray target = base.filePath(u"elsewhere"_s).toLocal8Bit();
    ASSERT_EQ(::mkdir(target.constData(), 0700), 0);
    ASSERT_EQ(::symlink(target.constData(), native.constData()), 0);
  }

  const InstancePaths paths = InstancePaths::ForUser(QProcessEnvironment(), base.path());
  EXPECT_EQ(paths.IsValid(), row.expectUsable);
  if (!row.expectUsable) {
    EXPECT_EQ(SingleInstanceLock(paths.LockFile).CurrentState(), SingleInstanceLock::State::Unavailable);
    return;
  }
  EXPECT_EQ(paths.LockFile, folder + u"/zorvik_memfile"_s);
  EXPECT_EQ(paths.ServerName, folder + u"/TZVMainForm-%1"_s.arg(::geteuid()));
  struct stat st {};
  ASSERT_EQ(::lstat(native.constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(SingleInstanceLock(paths.LockFile).CurrentState(), SingleInstanceLock::State::Owned);
}

INSTANTIATE_TEST_SUITE_P(Rows, InstanceFolder,
                         ::testing::Values(FolderRow{"CreatedPrivate", -1, true},
                                           FolderRow{"OpenModeTightened", 0777, true},
                                           FolderRow{"SymbolicLinkRefused", -2, false}),
                         zv::test::RowName{});

TEST(InstancePathsTest, RuntimeFolderUsedWhenSet) {
  QProcessEnvironment env;
  env.insert(u"XDG_RUNTIME_DIR"_s, u"/run/user/1000"_s);
  const InstancePaths paths = InstancePaths::ForUser(env, u"/nonexistent"_s);
  EXPECT_EQ(paths.LockFile, u"/run/user/1000/zorvik_memfile"_s);
  EXPECT_TRUE(paths.ServerName.startsWith(u"/run/user/1000/TZVMainForm-"_s));
}

// A folder too deep for a socket's path would leave the first copy deaf to the second: a
// runtime folder that deep gives way to the temp base, a temp base that deep to no lock at all.
TEST(InstancePathsTest, FolderTooDeepForASocketIsPassedOver) {
  const test::SocketFolder base;
  const QString deep = u"/run/"_s + QString(100, u'd');
  QProcessEnvironment env;
  env.insert(u"XDG_RUNTIME_DIR"_s, deep);
  const InstancePaths paths = InstancePaths::ForUser(env, base.path());
  EXPECT_EQ(paths.LockFile, base.path() + u"/zorvik-%1/zorvik_memfile"_s.arg(::geteuid()));

  const InstancePaths none = InstancePaths::ForUser(env, deep);
  EXPECT_FALSE(none.IsValid());
  EXPECT_FALSE(QFileInfo::exists(deep));
}

}  // namespace
}  // namespace zv
