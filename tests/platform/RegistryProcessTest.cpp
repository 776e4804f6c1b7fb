// Several processes on one hive: forked children write through their own Registry objects
// while the parent checks the file they leave behind.

#include "platform/RegFile.h"
#include "platform/Registry.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <random>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

const QString kZorvik = u"Software\\Ostwin\\Zorvik"_s;

class RegistryProcesses : public ::testing::Test {
 protected:
  RegistryPaths paths(const QString& dir) const {
    RegistryPaths p;
    p.currentUserDir = p.localMachineDir = p.usersDir = dir;
    return p;
  }
  RegistryPaths paths() const { return paths(m_tmp.filePath(u"hives"_s)); }
  QByteArray hiveBytes() const {
    QFile f(paths().hiveFile(RootKey::CurrentUser));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A folder this process has never read, so the values come from parsing the file.
  RegistryPaths copiedHive() {
    const QString dir = m_tmp.filePath(u"copy%1"_s.arg(++m_copies));
    QDir().mkpath(dir);
    QFile::copy(paths().hiveFile(RootKey::CurrentUser), paths(dir).hiveFile(RootKey::CurrentUser));
    return paths(dir);
  }

  QTemporaryDir m_tmp;
  int m_copies = 0;
};

// Runs body in a child process; the child never returns into the test framework.
pid_t spawn(const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    int code = 0;
    try {
      body();
    } catch (...) {
      code = 3;
    }
    ::_exit(code);
  }
  return pid;
}

int exitCode(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(RegistryProcesses, TwoWritersOfOneKeyKeepEachOthersValues) {
  constexpr int kWrites = 40;
  auto writer = [this](const QString& tag) {
    return [this, tag] {
      for (int i = 0; i < kWrites; ++i) {
        Registry r(paths());
        r.OpenKey(kZorvik, true);
        r.WriteInteger(u"%1-%2"_s.arg(tag).arg(i), i);
        r.WriteInteger(u"Last"_s + tag, i);
        r.CloseKey();
      }
    };
  };
  const pid_t a = spawn(writer(u"A"_s));
  const pid_t b = spawn(writer(u"B"_s));
  ASSERT_EQ(exitCode(a), 0);
  ASSERT_EQ(exitCode(b), 0);

  Registry r(copiedHive());
  ASSERT_TRUE(r.OpenKey(kZorvik, false));
  EXPECT_EQ(r.GetValueNames().size(), 2 * kWrites + 2) << "a write of one process was lost";
  for (int i = 0; i < kWrites; ++i) {
    EXPECT_EQ(r.ReadInteger(u"A-%1"_s.arg(i)), i);
    EXPECT_EQ(r.ReadInteger(u"B-%1"_s.arg(i)), i);
  }
  EXPECT_EQ(r.ReadInteger(u"LastA"_s), kWrites - 1);
  EXPECT_EQ(r.ReadInteger(u"LastB"_s), kWrites - 1);
}

// Every generation writes three values that agree with each other; a hive that mixes
// generations or does not parse would show a torn write.
QByteArray blobOf(int generation) {
  QByteArray b;
  const int n = 100 + (generation * 53) % 900;
  for (int i = 0; i < n; ++i) b.append(char((generation + i * 7) & 0xFF));
  return b;
}
QString textOf(int generation) { return u"поколение %1;"_s.arg(generation).repeated(1 + generation % 13); }

void writeGeneration(Registry& r, int generation) {
  r.OpenKey(kZorvik, true);
  r.WriteInteger(u"Gen"_s, generation);
  const QByteArray blob = blobOf(generation);
  r.WriteBinaryData(u"Blob"_s, blob.constData(), int(blob.size()));
  r.WriteString(u"Text"_s, textOf(generation));
  r.CloseKey();
}

TEST_F(RegistryProcesses, KillAtAnyMomentLeavesTheOldOrTheNewHive) {
  {
    Registry r(paths());
    writeGeneration(r, 0);
  }
  std::mt19937 random(4242);
  int last = 0;
  // A slow machine (a sanitizer build under load) may not finish one write in the shortest
  // delays; a round without progress doubles the delays so the kills keep landing mid-write.
  int slowdown = 1;
  for (int round = 0; round < 25; ++round) {
    const int start = last + 1;
    const pid_t child = spawn([this, start] {
      for (int g = start;; ++g) {
        Registry r(paths());
        writeGeneration(r, g);
      }
    });
    ::usleep(useconds_t(slowdown * std::uniform_int_distribution<int>(500, 40000)(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    const regfile::ReadResult parsed = regfile::Read(hiveBytes(), regfile::Regedit4Text::Utf16le);
    ASSERT_TRUE(parsed.ok()) << "round " << round << ", line " << parsed.error->line << ": "
                             << parsed.error->message.toStdString();
    Registry r(copiedHive());
    ASSERT_TRUE(r.OpenKey(kZorvik, false));
    const int g = r.ReadInteger(u"Gen"_s);
    ASSERT_GE(g, last) << "an older generation came back";
    QByteArray blob(1000, '\0');
    blob.truncate(r.ReadBinaryData(u"Blob"_s, blob.data(), int(blob.size())));
    ASSERT_EQ(blob, blobOf(g)) << "round " << round;
    ASSERT_EQ(r.ReadString(u"Text"_s), textOf(g)) << "round " << round;
    if (g == last && slowdown < 64) slowdown *= 2;
    last = g;
  }
  EXPECT_GE(last, 5) << "the children hardly wrote; the kills cannot have landed mid-write";
  EXPECT_TRUE(QDir(m_tmp.filePath(u"hives"_s)).entryList({u"*.corrupt-*"_s}).isEmpty());
}

}  // namespace
}  // namespace zv
