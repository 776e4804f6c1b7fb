#include "common/SystemInfo.h"

#include "common/ClientId.h"
#include "common/Locale.h"
#include "platform/MessageBox.h"
#include "support/ScriptedRandom.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

LinuxOsFacts linuxFacts(const char* prettyName, bool is64) {
  LinuxOsFacts facts;
  facts.osRelease = QStringLiteral("PRETTY_NAME=\"%1\"\n").arg(QString::fromUtf8(prettyName));
  facts.is64Bit = is64;
  facts.kernelRelease = QStringLiteral("6.1.0");
  return facts;
}

WindowsVersionRecord windows(std::uint32_t major, std::uint32_t minor, int productType, unsigned architecture,
                             const char* servicePack = "") {
  WindowsVersionRecord r;
  r.extendedQueryOk = true;
  r.platformId = 2;
  r.major = major;
  r.minor = minor;
  r.build = 1000;
  r.productType = productType;
  r.architecture = architecture;
  r.servicePack = QString::fromLatin1(servicePack);
  return r;
}

WindowsVersionRecord unreadable() {
  WindowsVersionRecord r = windows(6, 1, kProductWorkstation, kArchAmd64);
  r.extendedQueryOk = false;
  return r;
}

WindowsVersionRecord win98() {
  WindowsVersionRecord r;
  r.basicQueryOk = true;
  r.platformId = 1;
  r.major = 4;
  r.minor = 10;
  r.build = 1998;
  return r;
}

class SystemInfoTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

  SystemInfoInputs inputs(OsFacts os, const char* lang = "en_US.UTF-8") {
    SystemInfoInputs in;
    in.environment.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
    in.environment.insert(QStringLiteral("TMPDIR"), m_dir.path());
    in.arguments = {QStringLiteral("/opt/Zorvik/zorvik")};
    in.registryPaths = RegistryPaths::inOneFolder(m_dir.filePath(QStringLiteral("registry")));
    in.registryPaths.desktopDir = QStringLiteral("/home/user/Рабочий стол");
    in.os = std::move(os);
    in.random = std::make_unique<ClockSeededRandom>(1);
    return in;
  }

  static void name(SystemInfo& info) {
    info.ShortName = QStringLiteral("Zorvik");
    info.CyrillicName = QStringLiteral("Зорвик");
    info.LatinName = QStringLiteral("Zorvik");
    info.VersionLabel = QStringLiteral("1500");
    info.BuildNumber = 15000;
  }

  QTemporaryDir m_dir;
};

struct StartRow {
  const char* name;
  OsFacts os;
  bool is64;
  bool vistaOrLater;
  bool ntFamily;
  std::uint32_t access;
};
void PrintTo(const StartRow& row, std::ostream* os) { *os << row.name; }

class ModuleStartTest : public SystemInfoTest, public testing::WithParamInterface<StartRow> {};

TEST_P(ModuleStartTest, DescriptionDecidesFlagsAndRegistryView) {
  const StartRow& row = GetParam();
  SystemInfo info = StartSystemInfo(inputs(row.os));
  EXPECT_EQ(info.Is64BitOS, row.is64);
  EXPECT_EQ(info.IsVistaOrLater, row.vistaOrLater);
  EXPECT_EQ(info.IsNTFamily, row.ntFamily);
  ASSERT_NE(info.SettingsRegistry, nullptr);
  EXPECT_EQ(info.SettingsRegistry->Access(), row.access);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Systems, ModuleStartTest, testing::Values(
    StartRow{"Linux64Uses64BitView", linuxFacts("Debian GNU/Linux 12 (bookworm)", true), true, true, true, 0xF013F},
    StartRow{"Linux32UsesDefaultView", linuxFacts("Debian GNU/Linux 12 (bookworm)", false), false, true, true, 0xF003F},
    StartRow{"Win7X64Uses64BitView", windows(6, 1, kProductWorkstation, kArchAmd64), true, true, true, 0xF013F},
    StartRow{"Server2003X64StaysDefaultView", windows(5, 2, kProductServer, kArchAmd64), false, false, true, 0xF003F},
    StartRow{"XPProX64StaysDefaultView", windows(5, 2, kProductWorkstation, kArchAmd64), false, false, true, 0xF003F},
    StartRow{"Win98IsNotNT", win98(), false, false, false, 0xF003F},
    StartRow{"UnreadableVersionClearsFlags", unreadable(), false, false, false, 0xF003F}),
    zv::test::RowName{});
// clang-format on

TEST_F(SystemInfoTest, StartReadsLocaleAndLowerCasedFirstArgument) {
  SystemInfoInputs in = inputs(linuxFacts("Debian", true), "uk_UA.UTF-8");
  in.arguments << QStringLiteral("FN12") << QStringLiteral("Second");
  SystemInfo info = StartSystemInfo(std::move(in));
  EXPECT_EQ(info.UserLocale, 0x422u);
  EXPECT_TRUE(info.IsRussianLocale);
  EXPECT_EQ(info.FirstArgument, QStringLiteral("fn12"));

  SystemInfo english = StartSystemInfo(inputs(linuxFacts("Debian", true), "de_DE.UTF-8"));
  EXPECT_EQ(english.UserLocale, 0x407u);
  EXPECT_FALSE(english.IsRussianLocale);
  EXPECT_EQ(english.FirstArgument, QString());
}

TEST_F(SystemInfoTest, DescribeOSOfUnreadableVersionClearsEarlierFlags) {
  SystemInfo info = StartSystemInfo(inputs(windows(6, 1, kProductWorkstation, kArchAmd64)));
  ASSERT_TRUE(info.Is64BitOS && info.IsVistaOrLater);
  info.Os = unreadable();
  EXPECT_EQ(DescribeOS(info, true), QStringLiteral("unknown"));
  EXPECT_FALSE(info.Is64BitOS);
  EXPECT_FALSE(info.IsVistaOrLater);
}

struct ShortNameRow {
  const char* name;
  OsFacts os;
  const char* shortName;
  bool xpOrNewer;
  bool xpOrOlder;
};
void PrintTo(const ShortNameRow& row, std::ostream* os) { *os << row.name; }

class ShortOSNameFlagsTest : public SystemInfoTest, public testing::WithParamInterface<ShortNameRow> {};

TEST_P(ShortOSNameFlagsTest, SetsTheXPFlags) {
  const ShortNameRow& row = GetParam();
  SystemInfo info = StartSystemInfo(inputs(row.os));
  EXPECT_EQ(ShortOSName(info), QString::fromUtf8(row.shortName));
  EXPECT_EQ(info.IsXPOrNewer, row.xpOrNewer);
  EXPECT_EQ(info.IsXPOrOlder, row.xpOrOlder);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Systems, ShortOSNameFlagsTest, testing::Values(
    ShortNameRow{"LinuxIsAModernWindows", linuxFacts("Debian GNU/Linux 12 (bookworm)", true),
        "Debian GNU/Linux 12 (bookworm) 64-bit", true, false},
    ShortNameRow{"LinuxNameIsNotReadAsWindows", linuxFacts("WinXP Black Service Edition", false),
        "WinXP Black Service Edition 32-bit", true, false},
    ShortNameRow{"XP", windows(5, 1, kProductWorkstation, kArchIntel, "Service Pack 3"), "WinXP Pro SP3", true, true},
    ShortNameRow{"Win2000", windows(5, 0, kProductWorkstation, kArchIntel, "Service Pack 4"), "Win2000 Pro SP4", false, true},
    ShortNameRow{"Vista", windows(6, 0, kProductWorkstation, kArchIntel), "WinVista  32-bit", true, false},
    ShortNameRow{"Unknown", unreadable(), "unknown", false, true}),
    zv::test::RowName{});
// clang-format on

TEST_F(SystemInfoTest, ClientIdUsesShortNameLanguageAndZone) {
  SystemInfo info =
      StartSystemInfo(inputs(windows(5, 1, kProductWorkstation, kArchIntel, "Service Pack 3"), "ru_RU.UTF-8"));
  name(info);
  const QString zone = TimeZonePart(CurrentStandardBias());
  EXPECT_EQ(BuildClientId(info, false), QStringLiteral("Zorvik 1500.0.0 (WinXP Pro SP3 Russian 0419") + zone + u')');
  EXPECT_TRUE(info.IsXPOrNewer && info.IsXPOrOlder);
  EXPECT_EQ(BuildClientId(info, true), EscapeSpaces(BuildClientId(info, false)));
}

TEST_F(SystemInfoTest, ConsoleCommandUsesTheModulesTempAndGenerator) {
  SystemInfoInputs in = inputs(linuxFacts("Debian", true));
  auto random = std::make_unique<test::ScriptedRandom>();
  for (char c : std::string("qwertyui")) random->Push(c - 'a');
  in.random = std::move(random);
  SystemInfo info = StartSystemInfo(std::move(in));
  EXPECT_EQ(RunConsoleCommand(info, QStringLiteral("ls '") + m_dir.path() + QStringLiteral("' | grep -v registry")),
            QStringLiteral("qwertyui\r\n"));
}

TEST_F(SystemInfoTest, LocateSystemFoldersReadsTempAndDesktop) {
  SystemInfo info = StartSystemInfo(inputs(linuxFacts("Debian", true)));
  // Another user of the shared accessor left it elsewhere.
  info.SettingsRegistry->SetRootKey(RootKey::LocalMachine);
  ASSERT_TRUE(info.SettingsRegistry->OpenKey(QStringLiteral("Software\\Other"), true));
  EXPECT_TRUE(LocateSystemFolders(info));
  EXPECT_EQ(info.TempFolder, m_dir.path() + u'/');
  EXPECT_EQ(info.DesktopFolder, QStringLiteral("/home/user/Рабочий стол/"));
  EXPECT_FALSE(info.SettingsRegistry->HasCurrentKey());
}

TEST_F(SystemInfoTest, UnknownDesktopStaysEmpty) {
  SystemInfoInputs in = inputs(linuxFacts("Debian", true));
  in.registryPaths.desktopDir.clear();
  SystemInfo info = StartSystemInfo(std::move(in));
  EXPECT_TRUE(LocateSystemFolders(info));
  EXPECT_EQ(info.DesktopFolder, QString());
}

TEST_F(SystemInfoTest, OpenSettingsKeyCreatesTheKeyUnderCurrentUser) {
  SystemInfo info = StartSystemInfo(inputs(linuxFacts("Debian", true)));
  name(info);
  Registry& registry = *info.SettingsRegistry;
  registry.SetRootKey(RootKey::LocalMachine);
  ASSERT_TRUE(OpenSettingsKey(info));
  EXPECT_EQ(registry.GetRootKey(), RootKey::CurrentUser);
  ASSERT_TRUE(registry.HasCurrentKey());
  registry.WriteInteger(QStringLiteral("RCount"), 4711);
  registry.CloseKey();

  // A second opening finds the key and its value, also from another accessor.
  ASSERT_TRUE(OpenSettingsKey(info));
  EXPECT_EQ(registry.ReadInteger(QStringLiteral("RCount")), 4711);
  registry.CloseKey();
  Registry other(RegistryPaths::inOneFolder(m_dir.filePath(QStringLiteral("registry"))));
  other.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(other.OpenKeyReadOnly(QStringLiteral("Software\\Ostwin\\Zorvik")));
  EXPECT_EQ(other.ReadInteger(QStringLiteral("RCount")), 4711);
}

struct MessageRow {
  const char* name;
  const char* lang;
  bool error;
  const char* text;
  const char* caption;
  MsgIcon icon;
  bool russian;
  bool topmost;
  bool serviceNotification;
};
void PrintTo(const MessageRow& row, std::ostream* os) { *os << row.name; }

class MessageTest : public SystemInfoTest, public testing::WithParamInterface<MessageRow> {};

TEST_P(MessageTest, SpeaksTheUsersLanguage) {
  const MessageRow& row = GetParam();
  SystemInfo info = StartSystemInfo(inputs(linuxFacts("Debian", true), row.lang));
  name(info);
  info.ShortName = QStringLiteral("ShortStem");  // the caption is the display name, not the stem
  MessageBoxHook hook;
  const QString english = QStringLiteral("No access to system registry");
  const QString russian = QStringLiteral("Нет доступа к системному реестру");
  if (row.error)
    ShowErrorMessage(info, english, russian);
  else
    ShowInfoMessage(info, english, russian);
  ASSERT_EQ(hook.shown().size(), 1u);
  const MessageRequest& box = hook.shown().front();
  EXPECT_EQ(box.text, QString::fromUtf8(row.text));
  EXPECT_EQ(box.caption, QString::fromUtf8(row.caption));
  EXPECT_EQ(box.icon, row.icon);
  EXPECT_EQ(box.buttons, MsgButtons::Ok);
  EXPECT_EQ(box.russian, row.russian);
  EXPECT_EQ(box.topmost, row.topmost);
  EXPECT_EQ(box.taskModal, row.topmost);
  EXPECT_EQ(box.serviceNotification, row.serviceNotification);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Boxes, MessageTest, testing::Values(
    MessageRow{"RussianInfo", "ru_RU.UTF-8", false, "Нет доступа к системному реестру", "Зорвик", MsgIcon::Information, true, true, false},
    MessageRow{"BelarusianReadsRussian", "be_BY.UTF-8", false, "Нет доступа к системному реестру", "Зорвик", MsgIcon::Information, true, true, false},
    MessageRow{"EnglishInfo", "fr_FR.UTF-8", false, "No access to system registry", "Zorvik", MsgIcon::Information, false, true, false},
    MessageRow{"RussianErrorIsServiceNotification", "ru_RU.UTF-8", true, "Нет доступа к системному реестру", "Зорвик", MsgIcon::Error, true, false, true},
    MessageRow{"EnglishError", "en_US.UTF-8", true, "No access to system registry", "Zorvik", MsgIcon::Error, false, false, true}),
    zv::test::RowName{});
// clang-format on

}  // namespace
}  // namespace zv
