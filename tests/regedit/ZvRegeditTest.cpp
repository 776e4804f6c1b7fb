// zvregedit as scripts run it: --yes, a registry folder of its own, no display.

#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "support/SocketFolder.h"

#include "../platform/QtPrint.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <optional>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

class ZvRegedit : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }

  QString registryDir() const { return m_tmp.filePath(u"registry"_s); }

  QString writeFile(const QByteArray& bytes) {
    const QString file = m_tmp.filePath(u"progress.reg"_s);
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return file;
  }

  void start(QProcess& process, const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"ZORVIK_REGISTRY_DIR"_s, registryDir());
    env.insert(u"XDG_RUNTIME_DIR"_s, m_tmp.path());
    env.remove(u"DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);  // --yes must not need a display
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZV_REGEDIT), arguments);
    ASSERT_TRUE(process.waitForStarted());
  }

  int run(const QStringList& arguments) {
    QProcess process;
    start(process, arguments);
    EXPECT_TRUE(process.waitForFinished(20000));
    m_stderr = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  std::optional<std::int32_t> rCount() {
    Registry r(RegistryPaths::inOneFolder(registryDir()));
    if (!r.OpenKeyReadOnly(u"Software\\Ostwin\\Zorvik"_s) || !r.ValueExists(u"RCount"_s)) return std::nullopt;
    return r.ReadInteger(u"RCount"_s);
  }

  test::SocketFolder m_tmp;
  QString m_stderr;
};

const QByteArray kProgress =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostwin\\Zorvik]\r\n\"RCount\"=dword:0000002A\r\n"
    "\"Heart\"=hex:01,00,00,80\r\n\r\n";

TEST_F(ZvRegedit, YesAddsTheFileAndEndsWithZero) {
  EXPECT_EQ(run({u"--yes"_s, writeFile(kProgress)}), 0) << m_stderr.toStdString();
  EXPECT_EQ(rCount(), 42);
  EXPECT_TRUE(m_stderr.contains(u"успешно"_s)) << m_stderr.toStdString();
}

TEST_F(ZvRegedit, RefusedFileChangesNothingAndEndsNonZero) {
  EXPECT_NE(run({u"--yes"_s, writeFile(kProgress + "[HKEY_CURRENT_USER\\X]\r\n\"a\"=hex:zz\r\n")}), 0);
  EXPECT_TRUE(m_stderr.contains(u"Строка 8"_s)) << m_stderr.toStdString();
  EXPECT_FALSE(QFile::exists(RegistryPaths::inOneFolder(registryDir()).hiveFile(RootKey::CurrentUser)));
  EXPECT_NE(run({u"--yes"_s}), 0) << "no file named";
}

// The trainer's lock (its single-instance lock in the same runtime folder) holds the import
// back until the trainer ends, because the trainer writes its state when it ends.
TEST_F(ZvRegedit, WaitsForTheRunningTrainerToEnd) {
  auto trainer = std::make_unique<SingleInstanceLock>(InstancePaths::InFolder(m_tmp.path()).LockFile);
  ASSERT_EQ(trainer->CurrentState(), SingleInstanceLock::State::Owned);
  QProcess process;
  start(process, {u"--yes"_s, writeFile(kProgress)});
  EXPECT_FALSE(process.waitForFinished(1500)) << "imported while the trainer runs";
  EXPECT_EQ(rCount(), std::nullopt);
  trainer.reset();
  ASSERT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(u"Зорвик сейчас работает"_s));
  EXPECT_EQ(rCount(), 42);
}

}  // namespace
}  // namespace zv
