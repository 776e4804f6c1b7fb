// Registry figures: opening the program key and reading the ~30 values the main window reads
// at creation, and writing them and closing the key (one atomic, fsynced hive rewrite).

#include "platform/Registry.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kKey = QStringLiteral("Software\\Ostwin\\Zorvik");

const QStringList kDwords = {QStringLiteral("MainFormLeft"),
                             QStringLiteral("MainFormTop"),
                             QStringLiteral("ViewIndex"),
                             QStringLiteral("RCount"),
                             QStringLiteral("TimeLimit"),
                             QStringLiteral("Tasks"),
                             QStringLiteral("Volume"),
                             QStringLiteral("AskFontSize"),
                             QStringLiteral("AnsFontSize"),
                             QStringLiteral("LogFontSize"),
                             QStringLiteral("LogHeight"),
                             QStringLiteral("LogWidth"),
                             QStringLiteral("AutoCheckupTime")};
const QStringList kFlags = {QStringLiteral("ToTL"),
                            QStringLiteral("Sound"),
                            QStringLiteral("TicTac"),
                            QStringLiteral("AskFontBold"),
                            QStringLiteral("AskFontItalic"),
                            QStringLiteral("AnsFontBold"),
                            QStringLiteral("AnsFontItalic"),
                            QStringLiteral("AutoCheckup")};
const QStringList kTexts = {QStringLiteral("AskFont"), QStringLiteral("AnsFont"), QStringLiteral("LogFont")};
const QStringList kDates = {QStringLiteral("FirstDate"), QStringLiteral("LastCheckup")};
const QStringList kSets = {
    QStringLiteral("Heart"), QStringLiteral("DoneHeart"), QStringLiteral("HeartP"), QStringLiteral("HeartRC")};

void WriteAll(zv::Registry& reg) {
  for (const QString& n : kDwords) reg.WriteInteger(n, 300);
  for (const QString& n : kFlags) reg.WriteBool(n, true);
  for (const QString& n : kTexts) reg.WriteString(n, QStringLiteral("Liberation Sans"));
  for (const QString& n : kDates) reg.WriteDateTime(n, 46000.5);
  const QByteArray set(188, '\x5A');
  for (const QString& n : kSets) reg.WriteBinaryData(n, set.constData(), static_cast<int>(set.size()));
}

void BM_OpenAndReadProgramKey(benchmark::State& state) {
  QTemporaryDir dir;
  zv::Registry reg(zv::RegistryPaths::inOneFolder(dir.path()));
  reg.SetRootKey(zv::RootKey::CurrentUser);
  reg.OpenKey(kKey, true);
  WriteAll(reg);
  reg.CloseKey();
  char buffer[188];
  for (auto _ : state) {
    reg.SetRootKey(zv::RootKey::CurrentUser);
    reg.OpenKey(kKey, true);
    for (const QString& n : kDwords) benchmark::DoNotOptimize(reg.ReadInteger(n));
    for (const QString& n : kFlags) benchmark::DoNotOptimize(reg.ReadBool(n));
    for (const QString& n : kTexts) benchmark::DoNotOptimize(reg.ReadString(n));
    for (const QString& n : kDates) benchmark::DoNotOptimize(reg.ReadDateTime(n));
    for (const QString& n : kSets) {
      benchmark::DoNotOptimize(reg.GetDataSize(n));
      benchmark::DoNotOptimize(reg.ReadBinaryData(n, buffer, sizeof buffer));
    }
    reg.CloseKey();
  }
}
BENCHMARK(BM_OpenAndReadProgramKey)->Unit(benchmark::kMicrosecond);

void BM_WriteProgramKeyAndClose(benchmark::State& state) {
  QTemporaryDir dir;
  zv::Registry reg(zv::RegistryPaths::inOneFolder(dir.path()));
  for (auto _ : state) {
    reg.SetRootKey(zv::RootKey::CurrentUser);
    reg.OpenKey(kKey, true);
    WriteAll(reg);
    reg.CloseKey();
  }
}
BENCHMARK(BM_WriteProgramKeyAndClose)->Unit(benchmark::kMicrosecond);

}  // namespace
