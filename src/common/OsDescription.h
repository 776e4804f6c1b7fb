#pragma once
// The one-line operating-system description, built by pure functions.
//
// Windows: DescribeWindows() turns a version record (everything the description consults: the
// version query, GetNativeSystemInfo's architecture, GetSystemMetrics answers, the "ver" output
// and three registry look-ups) into a name, a version text and a service-pack text;
// CombineOSDescription() joins them into the description. Nothing here queries the system, so
// every release and edition rule is testable with records.
//
// Linux: the name is os-release's PRETTY_NAME plus " 64-bit" or " 32-bit"; the kernel release
// stands in for the version text. The Windows-only flags that callers derive from the
// description take a modern Windows' values (see SystemInfo).

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace zv {

// Processor architectures of GetNativeSystemInfo.
inline constexpr unsigned kArchIntel = 0;
inline constexpr unsigned kArchIa64 = 6;
inline constexpr unsigned kArchAmd64 = 9;

// Product types of the extended version record.
inline constexpr int kProductWorkstation = 1;
inline constexpr int kProductDomainController = 2;
inline constexpr int kProductServer = 3;

struct WindowsVersionRecord {
  bool extendedQueryOk = false;  // the extended record (size field 156) was returned
  bool basicQueryOk = false;     // the basic record (size field 148) was; asked only after the
                                 // extended query failed
  std::uint32_t platformId = 0;  // 1: the 95 family, 2: NT
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;  // on the 95 family the high word repeats major and minor
  QString servicePack;      // szCSDVersion
  int productType = 0;      // kProduct*; 0 when only the basic record was returned
  unsigned suiteMask = 0;
  unsigned architecture = kArchIntel;
  // GetSystemMetrics answers.
  int smServerR2 = 0;
  int smStarter = 0;
  int smMediaCenter = 0;
  int smTabletPc = 0;
  // What the console command "ver" printed (consulted for 6.2 and for unknown majors only).
  QString verOutput;
  // HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "ProductName": present only when the
  // full-access open succeeded (administrator rights) and the string exists.
  std::optional<QString> productName;
  // HKLM "SYSTEM\CurrentControlSet\Control\ProductOptions" "ProductType": present only when
  // the key opened and the value is a string.
  std::optional<QString> productOptionsType;
  // HKLM "...\CurrentVersion\Hotfix\Q246009" opens (NT 4 Service Pack 6a).
  bool hotfixQ246009 = false;
};

struct OsDescriptionParts {
  QString name;
  QString version;  // may begin with a blank (the "ver" rule); CombineOSDescription trims
  QString servicePack;
  bool isVistaOrLater = false;  // NT 6 or later
  bool isNTFamily = false;
};

// Nothing when both version queries failed or the platform is neither 1 nor 2.
std::optional<OsDescriptionParts> DescribeWindows(const WindowsVersionRecord& record);

// The description from its parts: with the version asked for and present, name + " " +
// version [+ " " + service pack]; otherwise name [+ " " + service pack]. Blank parts are left
// out, so no description ends in a blank; blanks inside the name are kept as built.
QString CombineOSDescription(const OsDescriptionParts& parts, bool withVersion);

// Description of a Windows record, "unknown" when it cannot be described.
QString DescribeWindowsOS(const WindowsVersionRecord& record, bool withVersion);

struct LinuxOsFacts {
  QString osRelease;      // text of /etc/os-release (else /usr/lib/os-release); may be empty
  bool is64Bit = false;   // the system's native word size, not the program's
  QString kernelRelease;  // uname -r

  static LinuxOsFacts fromSystem();
};

// The value of KEY in os-release text (shell-like assignments; quotes and backslash escapes
// removed, comments skipped). Empty when absent.
QString OsReleaseValue(QStringView osRelease, QStringView key);

// PRETTY_NAME, else NAME, else "Linux" (the default os-release documents), plus the word size.
OsDescriptionParts DescribeLinux(const LinuxOsFacts& facts);

// The compact form of a Windows description: "Microsoft " removed, "Windows " shortened to
// "Win", then "fessional", "ervice " and "ack " removed, each once:
// "Microsoft Windows XP Professional Service Pack 3" -> "WinXP Pro SP3".
QString ShortenOSName(QString description);

struct XPFlags {
  bool IsXPOrNewer = false;
  bool IsXPOrOlder = false;
};

// The two flags a short Windows name implies: XP or newer when it names XP or 2003 or the
// system is Vista or later; XP or older when it is not newer, or names XP.
XPFlags ClassifyShortOSName(const QString& shortName, bool isVistaOrLater);

}  // namespace zv
