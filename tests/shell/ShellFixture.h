#pragma once
// A SystemInfo started on a registry of its own in a temporary folder, with a seeded random
// source, for the start-up tests.

#include "common/SystemInfo.h"
#include "platform/Registry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zv::test {

inline SystemInfo StartTestSystem(const QTemporaryDir& dir, const QString& lang,
                                  std::unique_ptr<RandomSource> random = nullptr) {
  SystemInfoInputs in;
  in.environment.insert(QStringLiteral("LANG"), lang);
  in.environment.insert(QStringLiteral("TMPDIR"), dir.path());
  in.arguments = {QStringLiteral("zorvik")};
  in.registryPaths = RegistryPaths::inOneFolder(dir.filePath(QStringLiteral("registry")));
  LinuxOsFacts facts;
  facts.osRelease = QStringLiteral("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
  facts.is64Bit = true;
  facts.kernelRelease = QStringLiteral("6.1.0");
  in.os = facts;
  in.random = random ? std::move(random) : std::make_unique<ClockSeededRandom>(7);
  SystemInfo info = StartSystemInfo(std::move(in));
  info.ShortName = QStringLiteral("Zorvik");
  info.CyrillicName = QStringLiteral("Зорвик");
  return info;
}

inline const QString& SettingsKey() {
  static const QString key = QStringLiteral("Software\\Ostwin\\Zorvik");
  return key;
}

// Runs `body` on the settings key of a fresh accessor on the same hive, then closes it.
template <typename Body>
void WithSettingsKey(const QTemporaryDir& dir, Body body) {
  Registry registry(RegistryPaths::inOneFolder(dir.filePath(QStringLiteral("registry"))));
  registry.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(registry.OpenKey(SettingsKey(), true));
  body(registry);
  registry.CloseKey();
}

}  // namespace zv::test
