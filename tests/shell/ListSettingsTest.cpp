// The task list window's values in the program key.

#include "common/ProgramKey.h"
#include "platform/Registry.h"
#include "shell/ListSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

struct Row {
  const char* name;
  int storedSize;
  int size;
  int height;  // LogHeight is stored as 300 after the size
};

class ListSettingsRead : public ::testing::TestWithParam<Row> {};

TEST_P(ListSettingsRead, ClampsTheSizeOrFailsTheGroupOutside16Bits) {
  QTemporaryDir dir;
  Registry reg{RegistryPaths::inOneFolder(dir.path())};
  reg.SetRootKey(RootKey::CurrentUser);
  reg.OpenKey(ProgramKeyPath(), true);
  reg.WriteInteger(QStringLiteral("LogFontSize"), GetParam().storedSize);
  reg.WriteInteger(QStringLiteral("LogHeight"), 300);
  reg.WriteInteger(QStringLiteral("LogWidth"), 100);
  reg.CloseKey();

  ListSettings s;
  ReadListSettings(reg, s);
  EXPECT_EQ(s.fontSize, GetParam().size);
  EXPECT_EQ(s.height, GetParam().height);
  if (GetParam().height == 300) {
    EXPECT_EQ(s.width, 594) << "the width is raised to its minimum";
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ListSettingsRead,
                         ::testing::Values(Row{"within_range", 10, 10, 300}, Row{"below_clamped_to_6", -5, 6, 300},
                                           Row{"above_clamped_to_12", 32767, 12, 300},
                                           Row{"beyond_16_bits_fails_group", 32768, 8, 459}),
                         test::RowName{});

}  // namespace
}  // namespace zv
