#include "common/OsDescription.h"
#include "support/RowName.h"

#include <gtest/gtest.h>

#include <functional>

namespace zv {
namespace {

// A record as the version query of an NT system returns it; rows change what they test.
WindowsVersionRecord nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, const char* servicePack,
                        int productType = kProductWorkstation, unsigned architecture = kArchIntel) {
  WindowsVersionRecord r;
  r.extendedQueryOk = true;
  r.platformId = 2;
  r.major = major;
  r.minor = minor;
  r.build = build;
  r.servicePack = QString::fromLatin1(servicePack);
  r.productType = productType;
  r.architecture = architecture;
  return r;
}

// A 95-family record: the build number's high word repeats major and minor.
WindowsVersionRecord w9x(std::uint32_t minor, std::uint32_t build, const char* servicePack) {
  WindowsVersionRecord r;
  r.extendedQueryOk = false;
  r.basicQueryOk = true;
  r.platformId = 1;
  r.major = 4;
  r.minor = minor;
  r.build = (4u << 24) | (minor << 16) | build;
  r.servicePack = QString::fromLatin1(servicePack);
  return r;
}

using Edit = std::function<void(WindowsVersionRecord&)>;

WindowsVersionRecord with(WindowsVersionRecord r, const Edit& edit) {
  edit(r);
  return r;
}

const QString kVer10 = QStringLiteral("\r\nMicrosoft Windows [Version 10.0.19045.3803]\r\n");

struct DescriptionRow {
  const char* name;
  WindowsVersionRecord record;
  const char* withoutVersion;
  const char* withVersion;
  bool vistaOrLater;
};
void PrintTo(const DescriptionRow& row, std::ostream* os) { *os << row.name; }

class WindowsDescriptionTest : public testing::TestWithParam<DescriptionRow> {};

TEST_P(WindowsDescriptionTest, DescribesTheRelease) {
  const DescriptionRow& row = GetParam();
  const auto parts = DescribeWindows(row.record);
  ASSERT_TRUE(parts.has_value());
  EXPECT_EQ(CombineOSDescription(*parts, false), QString::fromUtf8(row.withoutVersion));
  EXPECT_EQ(CombineOSDescription(*parts, true), QString::fromUtf8(row.withVersion));
  EXPECT_EQ(parts->isVistaOrLater, row.vistaOrLater);
  EXPECT_EQ(parts->isNTFamily, row.record.platformId == 2);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Releases, WindowsDescriptionTest, testing::Values(
    DescriptionRow{"XPProSP3", nt(5, 1, 2600, "Service Pack 3"),
        "Microsoft Windows XP Professional Service Pack 3",
        "Microsoft Windows XP Professional 5.1.2600 Service Pack 3", false},
    DescriptionRow{"XPHomeBySuite", with(nt(5, 1, 2600, "Service Pack 2"), [](auto& r) { r.suiteMask = 0x300; }),
        "Microsoft Windows XP Home Service Pack 2",
        "Microsoft Windows XP Home 5.1.2600 Service Pack 2", false},
    DescriptionRow{"StarterBeatsMediaCenter", with(nt(5, 1, 2600, ""), [](auto& r) { r.smStarter = 1; r.smMediaCenter = 1; r.suiteMask = 0x200; }),
        "Microsoft Windows XP Starter", "Microsoft Windows XP Starter 5.1.2600", false},
    DescriptionRow{"MediaCenterBeatsTabletAndHome", with(nt(5, 1, 2600, ""), [](auto& r) { r.smMediaCenter = 1; r.smTabletPc = 1; r.suiteMask = 0x200; }),
        "Microsoft Windows XP Media Center", "Microsoft Windows XP Media Center 5.1.2600", false},
    DescriptionRow{"EmbeddedBySuite", with(nt(5, 1, 2600, ""), [](auto& r) { r.suiteMask = 0x40; }),
        "Microsoft Windows XP Embedded", "Microsoft Windows XP Embedded 5.1.2600", false},
    DescriptionRow{"XPProX64IsNotServer2003", nt(5, 2, 3790, "Service Pack 2", kProductWorkstation, kArchAmd64),
        "Microsoft Windows XP Professional x64 Service Pack 2",
        "Microsoft Windows XP Professional x64 5.2.3790 Service Pack 2", false},
    DescriptionRow{"Server2003X64Standard", nt(5, 2, 3790, "Service Pack 2", kProductServer, kArchAmd64),
        "Microsoft Windows Server 2003 Standard x64 Service Pack 2",
        "Microsoft Windows Server 2003 Standard x64 5.2.3790 Service Pack 2", false},
    DescriptionRow{"Server2003R2ByMetric", with(nt(5, 2, 3790, "Service Pack 2", kProductServer), [](auto& r) { r.smServerR2 = 1; r.suiteMask = 0x2; }),
        "Microsoft Windows Server 2003 R2 Enterprise Service Pack 2",
        "Microsoft Windows Server 2003 R2 Enterprise 5.2.3790 Service Pack 2", false},
    DescriptionRow{"StorageServerKeepsItsBlank", with(nt(5, 2, 3790, "", kProductServer), [](auto& r) { r.suiteMask = 0x2000; }),
        "Microsoft Windows Storage Server 2003 Standard",
        "Microsoft Windows Storage Server 2003 Standard 5.2.3790", false},
    DescriptionRow{"WebNeedsExactSuite", with(nt(5, 2, 3790, "", kProductServer), [](auto& r) { r.suiteMask = 0x400; }),
        "Microsoft Windows Server 2003 Web", "Microsoft Windows Server 2003 Web 5.2.3790", false},
    DescriptionRow{"BladePlusTerminalIsStandard", with(nt(5, 2, 3790, "", kProductServer), [](auto& r) { r.suiteMask = 0x410; }),
        "Microsoft Windows Server 2003 Standard", "Microsoft Windows Server 2003 Standard 5.2.3790", false},
    DescriptionRow{"ClusterBeatsDatacenter", with(nt(5, 2, 3790, "", kProductServer), [](auto& r) { r.suiteMask = 0x4080; }),
        "Microsoft Windows Server 2003 Computer Cluster", "Microsoft Windows Server 2003 Computer Cluster 5.2.3790", false},
    DescriptionRow{"ItaniumDatacenter", with(nt(5, 2, 3790, "", kProductServer, kArchIa64), [](auto& r) { r.suiteMask = 0x82; }),
        "Microsoft Windows Server 2003 Datacenter for Itanium-based Systems",
        "Microsoft Windows Server 2003 Datacenter for Itanium-based Systems 5.2.3790", false},
    DescriptionRow{"UnknownArchitectureInHex", nt(5, 2, 3790, "", kProductDomainController, 0xC),
        "Microsoft Windows Server 2003 Unknown on Architecture 0xc",
        "Microsoft Windows Server 2003 Unknown on Architecture 0xc 5.2.3790", false},
    DescriptionRow{"Win2000DatacenterBeatsAdvanced", with(nt(5, 0, 2195, "Service Pack 4", kProductServer), [](auto& r) { r.suiteMask = 0x82; }),
        "Microsoft Windows 2000 Datacenter Server Service Pack 4",
        "Microsoft Windows 2000 Datacenter Server 5.0.2195 Service Pack 4", false},
    DescriptionRow{"Win2000DomainController", nt(5, 0, 2195, "", kProductDomainController),
        "Microsoft Windows 2000 Server", "Microsoft Windows 2000 Server 5.0.2195", false},
    DescriptionRow{"NT4SP6aByHotfixKey", with(nt(4, 0, 1381, "Service Pack 6"), [](auto& r) { r.hotfixQ246009 = true; }),
        "Microsoft Windows NT Workstation Service Pack 6a",
        "Microsoft Windows NT Workstation 4.0.1381 Service Pack 6a", false},
    DescriptionRow{"NT4SP6WithoutHotfix", nt(4, 0, 1381, "Service Pack 6"),
        "Microsoft Windows NT Workstation Service Pack 6",
        "Microsoft Windows NT Workstation 4.0.1381 Service Pack 6", false},
    DescriptionRow{"HotfixKeyOnlyUpgradesSP6", with(nt(4, 0, 1381, "Service Pack 5"), [](auto& r) { r.hotfixQ246009 = true; }),
        "Microsoft Windows NT Workstation Service Pack 5",
        "Microsoft Windows NT Workstation 4.0.1381 Service Pack 5", false},
    DescriptionRow{"NT4EnterpriseServer", with(nt(4, 0, 1381, "", kProductServer), [](auto& r) { r.suiteMask = 0x2; }),
        "Microsoft Windows NT Server 4.0 Enterprise", "Microsoft Windows NT Server 4.0 Enterprise 4.0.1381", false},
    DescriptionRow{"BasicRecordReadsProductOptions", with(nt(4, 0, 1381, "Service Pack 5", 0), [](auto& r) {
            r.extendedQueryOk = false; r.basicQueryOk = true; r.productOptionsType = QStringLiteral("LanmanNt"); }),
        "Microsoft Windows NT Server Service Pack 5",
        "Microsoft Windows NT Server 4.0.1381 Service Pack 5", false},
    DescriptionRow{"BasicRecordUnknownProductType", with(nt(4, 0, 1381, "", 0), [](auto& r) {
            r.extendedQueryOk = false; r.basicQueryOk = true; r.productOptionsType = QStringLiteral("Terminal"); }),
        "Microsoft Windows NT Unknown", "Microsoft Windows NT Unknown 4.0.1381", false},
    DescriptionRow{"BasicRecordWithoutProductOptions", with(nt(4, 0, 1381, "Service Pack 5", 0), [](auto& r) {
            r.extendedQueryOk = false; r.basicQueryOk = true; }),
        "Microsoft Windows NT  Service Pack 5", "Microsoft Windows NT  4.0.1381 Service Pack 5", false},
    DescriptionRow{"UnknownProductType", nt(5, 1, 2600, "", 7),
        "Microsoft Windows XP Unknown", "Microsoft Windows XP Unknown 5.1.2600", false},
    DescriptionRow{"VistaWithProductName", with(nt(6, 0, 6002, "Service Pack 2"), [](auto& r) { r.productName = QStringLiteral("Windows Vista (TM) Ultimate"); }),
        "Windows Vista (TM) Ultimate 32-bit Service Pack 2",
        "Windows Vista (TM) Ultimate 32-bit 6.0.6002 Service Pack 2", true},
    DescriptionRow{"Win7AsAdministrator", with(nt(6, 1, 7601, "Service Pack 1", kProductWorkstation, kArchAmd64), [](auto& r) { r.productName = QStringLiteral("Windows 7 Professional"); }),
        "Windows 7 Professional 64-bit Service Pack 1",
        "Windows 7 Professional 64-bit 6.1.7601 Service Pack 1", true},
    DescriptionRow{"Win7WithoutAdministratorHasTwoBlanks", nt(6, 1, 7601, "Service Pack 1", kProductWorkstation, kArchAmd64),
        "Microsoft Windows 7  64-bit Service Pack 1",
        "Microsoft Windows 7  64-bit 6.1.7601 Service Pack 1", true},
    DescriptionRow{"Server2008R2", nt(6, 1, 7601, "Service Pack 1", kProductServer, kArchAmd64),
        "Microsoft Windows Server 2008 R2  64-bit Service Pack 1",
        "Microsoft Windows Server 2008 R2  64-bit 6.1.7601 Service Pack 1", true},
    DescriptionRow{"ArmGetsNoWordSize", nt(6, 3, 9600, "", kProductWorkstation, 12),
        "Microsoft Windows 8.1 ", "Microsoft Windows 8.1  6.3.9600", true},
    DescriptionRow{"Win10Reporting62ReadsVer", with(nt(6, 2, 9200, "", kProductWorkstation, kArchAmd64), [](auto& r) { r.verOutput = kVer10; }),
        "Microsoft Windows 10  64-bit", "Microsoft Windows 10  64-bit 10.0.19045.3803", true},
    DescriptionRow{"Win10Reporting62AsAdministrator", with(nt(6, 2, 9200, "", kProductWorkstation, kArchIntel), [](auto& r) {
            r.verOutput = kVer10; r.productName = QStringLiteral("Windows 10 Pro"); }),
        "Windows 10 Pro 32-bit", "Windows 10 Pro 32-bit 10.0.19045.3803", true},
    DescriptionRow{"Win8Server2012ByVer", with(nt(6, 2, 9200, "", kProductServer, kArchAmd64), [](auto& r) {
            r.verOutput = QStringLiteral("\r\nMicrosoft Windows [Version 6.2.9200]\r\n"); }),
        "Microsoft Windows Server 2012  64-bit", "Microsoft Windows Server 2012  64-bit 6.2.9200", true},
    DescriptionRow{"Win81Reporting62ReadsVer", with(nt(6, 2, 9200, "", kProductWorkstation, kArchAmd64), [](auto& r) {
            r.verOutput = QStringLiteral("\r\nMicrosoft Windows [Version 6.3.9600]\r\n"); }),
        "Microsoft Windows 8.1  64-bit", "Microsoft Windows 8.1  64-bit 6.3.9600", true},
    DescriptionRow{"FutureReleaseByVer", with(nt(6, 2, 9200, "", kProductWorkstation, kArchAmd64), [](auto& r) {
            r.verOutput = QStringLiteral("\r\nMicrosoft Windows [Version 12.1.30000]\r\n"); }),
        "Microsoft Windows 12  64-bit", "Microsoft Windows 12  64-bit 12.1.30000", true},
    DescriptionRow{"FutureServerByVer", with(nt(6, 2, 9200, "", kProductServer, kArchAmd64), [](auto& r) {
            r.verOutput = QStringLiteral("\r\nMicrosoft Windows [Version 12.1.30000]\r\n"); }),
        "Microsoft Windows Server 12  64-bit", "Microsoft Windows Server 12  64-bit 12.1.30000", true},
    DescriptionRow{"EmptyVerFallsBackToRecord", nt(6, 2, 9200, "", kProductWorkstation, kArchAmd64),
        "Microsoft Windows  64-bit", "Microsoft Windows  64-bit 6.2.9200", true},
    DescriptionRow{"ManifestedWin10", nt(10, 0, 19045, "", kProductWorkstation, kArchAmd64),
        "Microsoft Windows 10  64-bit", "Microsoft Windows 10  64-bit 10.0.19045", true},
    DescriptionRow{"UnknownMajorReadsVerAndIsLaterThanVista", with(nt(11, 0, 26100, "", kProductWorkstation, kArchAmd64), [](auto& r) {
            r.verOutput = QStringLiteral("\r\nMicrosoft Windows [Version 11.0.26100]\r\n"); }),
        "Microsoft Windows 11  64-bit", "Microsoft Windows 11  64-bit 11.0.26100", true},
    DescriptionRow{"Win95Retail", w9x(0, 950, ""), "Microsoft Windows 95", "Microsoft Windows 95 4.0.950", false},
    DescriptionRow{"Win95OSR1ByLetter", w9x(0, 950, " A "), "Microsoft Windows 95 OSR 1 A", "Microsoft Windows 95 OSR 1 4.0.950 A", false},
    DescriptionRow{"Win95OSR20", w9x(0, 1111, " B "), "Microsoft Windows 95 OSR 2.0 B", "Microsoft Windows 95 OSR 2.0 4.0.1111 B", false},
    DescriptionRow{"Win95OSR21Build1213", w9x(3, 1213, ""), "Microsoft Windows 95 OSR 2.1", "Microsoft Windows 95 OSR 2.1 4.3.1213", false},
    DescriptionRow{"Win95OSR25ByLetterC", w9x(0, 1214, " C "), "Microsoft Windows 95 OSR 2.5 C", "Microsoft Windows 95 OSR 2.5 4.0.1214 C", false},
    DescriptionRow{"Win95Build1214WithoutC", w9x(0, 1214, " B "), "Microsoft Windows 95 OSR 2.1 B", "Microsoft Windows 95 OSR 2.1 4.0.1214 B", false},
    DescriptionRow{"Win95LaterBuild", w9x(0, 1100, ""), "Microsoft Windows 95 OSR 2.x", "Microsoft Windows 95 OSR 2.x 4.0.1100", false},
    DescriptionRow{"Win98", w9x(10, 1998, ""), "Microsoft Windows 98", "Microsoft Windows 98 4.10.1998", false},
    DescriptionRow{"Win98SEByBuildInLowWord", w9x(10, 2222, ""), "Microsoft Windows 98 SE", "Microsoft Windows 98 SE 4.10.2222", false},
    DescriptionRow{"Win98SEByLetter", w9x(10, 2222, " A "), "Microsoft Windows 98 SE A", "Microsoft Windows 98 SE 4.10.2222 A", false},
    DescriptionRow{"Millennium", w9x(90, 3000, " "), "Microsoft Windows Millennium", "Microsoft Windows Millennium 4.90.3000", false},
    DescriptionRow{"Unknown9xMinor", w9x(20, 100, ""), "Microsoft Windows Unknown 9x", "Microsoft Windows Unknown 9x 4.20.100", false}),
    zv::test::RowName{});
// clang-format on

TEST(WindowsDescriptionFailureTest, UndescribableRecordsGiveUnknown) {
  WindowsVersionRecord noQuery = nt(6, 1, 7601, "");
  noQuery.extendedQueryOk = false;
  WindowsVersionRecord ce = nt(5, 0, 1, "");
  ce.platformId = 3;
  WindowsVersionRecord win32s = nt(3, 10, 1, "");
  win32s.platformId = 0;
  for (const WindowsVersionRecord& r : {noQuery, ce, win32s}) {
    EXPECT_FALSE(DescribeWindows(r).has_value());
    EXPECT_EQ(DescribeWindowsOS(r, true), QStringLiteral("unknown"));
  }
}

struct CombineRow {
  const char* name;
  const char* version;
  const char* servicePack;
  const char* withoutVersion;
  const char* withVersion;
};
void PrintTo(const CombineRow& row, std::ostream* os) { *os << row.name; }

class CombineDescriptionTest : public testing::TestWithParam<CombineRow> {};

TEST_P(CombineDescriptionTest, JoinsOnlyWhatIsThere) {
  const CombineRow& row = GetParam();
  OsDescriptionParts parts;
  parts.name = QStringLiteral("N");
  parts.version = QString::fromLatin1(row.version);
  parts.servicePack = QString::fromLatin1(row.servicePack);
  EXPECT_EQ(CombineOSDescription(parts, false), QString::fromLatin1(row.withoutVersion));
  EXPECT_EQ(CombineOSDescription(parts, true), QString::fromLatin1(row.withVersion));
}

INSTANTIATE_TEST_SUITE_P(Parts, CombineDescriptionTest,
                         testing::Values(CombineRow{"Both", "1.2.3", "SP1", "N SP1", "N 1.2.3 SP1"},
                                         CombineRow{"BlankServicePack", "1.2.3", "  ", "N", "N 1.2.3"},
                                         CombineRow{"BlankVersion", " ", "SP1", "N SP1", "N SP1"},
                                         CombineRow{"Neither", "", "", "N", "N"},
                                         CombineRow{"VerTextLeadingBlankTrimmed", " 10.0.1", "", "N", "N 10.0.1"}),
                         zv::test::RowName{});

struct ShortNameRow {
  const char* name;
  const char* description;
  bool vistaOrLater;
  const char* shortName;
  bool xpOrNewer;
  bool xpOrOlder;
};
void PrintTo(const ShortNameRow& row, std::ostream* os) { *os << row.name; }

class ShortOSNameTest : public testing::TestWithParam<ShortNameRow> {};

TEST_P(ShortOSNameTest, ShortensAndClassifies) {
  const ShortNameRow& row = GetParam();
  const QString shortName = ShortenOSName(QString::fromLatin1(row.description));
  EXPECT_EQ(shortName, QString::fromLatin1(row.shortName));
  const XPFlags flags = ClassifyShortOSName(shortName, row.vistaOrLater);
  EXPECT_EQ(flags.IsXPOrNewer, row.xpOrNewer);
  EXPECT_EQ(flags.IsXPOrOlder, row.xpOrOlder);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Descriptions, ShortOSNameTest, testing::Values(
    ShortNameRow{"XPIsBothNewerAndOlder", "Microsoft Windows XP Professional Service Pack 3", false, "WinXP Pro SP3", true, true},
    ShortNameRow{"Server2003IsNewerOnly", "Microsoft Windows Server 2003 Standard x64 Service Pack 2", false, "WinServer 2003 Standard x64 SP2", true, false},
    ShortNameRow{"Win2000IsOlderOnly", "Microsoft Windows 2000 Professional Service Pack 4", false, "Win2000 Pro SP4", false, true},
    ShortNameRow{"Win7KeepsItsBlanks", "Microsoft Windows 7  64-bit Service Pack 1", true, "Win7  64-bit SP1", true, false},
    ShortNameRow{"ProductNameWithoutMaker", "Windows 7 Professional 64-bit Service Pack 1", true, "Win7 Pro 64-bit SP1", true, false},
    ShortNameRow{"EachDeletionOnce", "Microsoft Windows Professional Professional", false, "WinPro Professional", false, true},
    ShortNameRow{"UnknownIsOlder", "unknown", false, "unknown", false, true}),
    zv::test::RowName{});
// clang-format on

struct OsReleaseRow {
  const char* name;
  const char* text;
  bool is64;
  const char* description;
};
void PrintTo(const OsReleaseRow& row, std::ostream* os) { *os << row.name; }

class LinuxDescriptionTest : public testing::TestWithParam<OsReleaseRow> {};

TEST_P(LinuxDescriptionTest, NamesTheDistribution) {
  const OsReleaseRow& row = GetParam();
  LinuxOsFacts facts;
  facts.osRelease = QString::fromUtf8(row.text);
  facts.is64Bit = row.is64;
  facts.kernelRelease = QStringLiteral("6.1.0-18-amd64");
  const OsDescriptionParts parts = DescribeLinux(facts);
  EXPECT_EQ(CombineOSDescription(parts, false), QString::fromUtf8(row.description));
  EXPECT_EQ(CombineOSDescription(parts, true), QString::fromUtf8(row.description) + QStringLiteral(" 6.1.0-18-amd64"));
  EXPECT_TRUE(parts.isVistaOrLater);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(OsRelease, LinuxDescriptionTest, testing::Values(
    OsReleaseRow{"Debian", "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n",
        true, "Debian GNU/Linux 12 (bookworm) 64-bit"},
    OsReleaseRow{"ThirtyTwoBit", "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", false, "Debian GNU/Linux 12 (bookworm) 32-bit"},
    OsReleaseRow{"UnquotedValue", "ID=arch\nPRETTY_NAME=Arch\n", true, "Arch 64-bit"},
    OsReleaseRow{"SingleQuotesKeepBackslash", "PRETTY_NAME='A\\B'\n", true, "A\\B 64-bit"},
    OsReleaseRow{"DoubleQuotesUnescape", "PRETTY_NAME=\"Say \\\"hi\\\" \\$5\"\n", true, "Say \"hi\" $5 64-bit"},
    OsReleaseRow{"CommentsAndCrLfIgnored", "# PRETTY_NAME=\"Wrong\"\r\n  PRETTY_NAME=\"Right\"\r\n", true, "Right 64-bit"},
    OsReleaseRow{"KeyIsMatchedWhole", "X_PRETTY_NAME=\"Wrong\"\nNAME=Fedora\n", true, "Fedora 64-bit"},
    OsReleaseRow{"NonAsciiName", "PRETTY_NAME=\"Альт Линукс\"\n", true, "Альт Линукс 64-bit"},
    OsReleaseRow{"MissingFileSaysLinux", "", true, "Linux 64-bit"},
    OsReleaseRow{"EmptyPrettyNameSaysLinux", "PRETTY_NAME=\"\"\n", false, "Linux 32-bit"}),
    zv::test::RowName{});
// clang-format on

TEST(LinuxOsFactsTest, ReadsThisMachine) {
  const LinuxOsFacts facts = LinuxOsFacts::fromSystem();
  // A 64-bit build runs only on a 64-bit system.
  if (sizeof(void*) == 8) {
    EXPECT_TRUE(facts.is64Bit);
  }
  EXPECT_FALSE(facts.kernelRelease.isEmpty());
}

}  // namespace
}  // namespace zv
