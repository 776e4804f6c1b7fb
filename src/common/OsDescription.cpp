#include "common/OsDescription.h"

#include <QFile>
#include <QSysInfo>

namespace zv {
namespace {

QString versionTriple(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(build);
}

QChar secondChar(const QString& text) { return text.size() >= 2 ? text.at(1) : QChar(); }

// The 95 family: release name from the build and the service-pack letter.
QString release9x(const WindowsVersionRecord& r) {
  if (r.major != 4) return QStringLiteral("Unknown 9x");
  const std::uint32_t build = r.build & 0xFFFF;
  const QChar letter = secondChar(r.servicePack);
  switch (r.minor) {
    case 0:
    case 3:
      if (build == 1111) return QStringLiteral("95 OSR 2.0");
      if (build == 1212 || build == 1213) return QStringLiteral("95 OSR 2.1");
      if (build == 1214) return letter == u'C' ? QStringLiteral("95 OSR 2.5") : QStringLiteral("95 OSR 2.1");
      if (build > 1080) return QStringLiteral("95 OSR 2.x");
      if (letter == u'A' || letter == u'W') return QStringLiteral("95 OSR 1");
      return QStringLiteral("95");
    case 10:
      // The high word of a 95-family build number repeats the version, so the build of
      // Second Edition is compared in its low word.
      if (build == 2222 || letter == u'A' || letter == u'B') return QStringLiteral("98 SE");
      return QStringLiteral("98");
    case 90:
      return QStringLiteral("Millennium");
    default:
      return QStringLiteral("Unknown 9x");
  }
}

// The release name from the output of "ver", for releases that report a version the
// description cannot trust (8.1 and 10 report 6.2 to a program without a compatibility
// declaration) or does not know. Appends to `name`, sets `version` when it finds one.
void applyVerRule(const QString& ver, bool workstation, bool knownReleasesToo, QString& name, QString& version) {
  qsizetype start = -1;
  if (knownReleasesToo) {
    struct Known {
      QStringView marker, workstation, server;
    };
    static constexpr Known known[] = {
        {u" 6.2", u"8 ", u"Server 2012 "},
        {u" 6.3", u"8.1 ", u"Server 2012 R2 "},
        {u" 10", u"10 ", u"Server 10 "},
    };
    for (const Known& k : known) {
      start = ver.indexOf(k.marker);
      if (start >= 0) {
        name += workstation ? k.workstation : k.server;
        break;
      }
    }
  }
  if (start < 0) {
    // An unknown release: the major number follows "Version ". Output without that word
    // (no interpreter, an unexpected format) tells nothing, and nothing is appended.
    const qsizetype ion = ver.indexOf(u"ion");
    if (ion < 0) return;
    start = ion + 4;
    qsizetype end = start;
    while (end < ver.size() && ver.at(end) != u'.' && ver.at(end) != u']' && ver.at(end) != u'\r' &&
           ver.at(end) != u'\n')
      ++end;
    if (!workstation) name += QStringLiteral("Server ");
    name += ver.mid(start, end - start) + u' ';
  }
  qsizetype end = start;
  while (end < ver.size() && ver.at(end) != u']' && ver.at(end) != u'\r' && ver.at(end) != u'\n') ++end;
  version = ver.mid(start, end - start);
}

// The NT release part ("XP ", "Server 2003 ", ...), appended to `name`.
void releaseNT(const WindowsVersionRecord& r, QString& name, QString& version) {
  const bool workstation = r.productType == kProductWorkstation;
  const auto pick = [workstation](const char16_t* w, const char16_t* s) {
    return QString::fromUtf16(workstation ? w : s);
  };
  switch (r.major) {
    case 3:
    case 4:
      name += QStringLiteral("NT ");
      return;
    case 5:
      if (r.minor == 0)
        name += QStringLiteral("2000 ");
      else if (r.minor == 1)
        name += QStringLiteral("XP ");
      else if (r.minor == 2) {
        if (r.smServerR2 != 0)
          name += QStringLiteral("Server 2003 R2 ");
        else if (r.suiteMask == 0x2000)
          name += QStringLiteral("Storage Server 2003 ");
        else if (workstation && r.architecture == kArchAmd64)
          name += QStringLiteral("XP ");
        else
          name += QStringLiteral("Server 2003 ");
      } else {
        name += QStringLiteral("Unknown version ");
      }
      return;
    case 6:
      switch (r.minor) {
        case 0:
          name += pick(u"Vista ", u"Server 2008 ");
          return;
        case 1:
          name += pick(u"7 ", u"Server 2008 R2 ");
          return;
        case 2:
          applyVerRule(r.verOutput, workstation, true, name, version);
          return;
        case 3:
          name += pick(u"8.1 ", u"Server 2012 R2 ");
          return;
        default:
          return;
      }
    case 10:
      if (r.minor == 0) name += pick(u"10 ", u"Server 2016 ");
      return;
    default:
      applyVerRule(r.verOutput, workstation, false, name, version);
      return;
  }
}

QString editionWorkstation(const WindowsVersionRecord& r) {
  if (r.major == 4) return QStringLiteral("Workstation");
  if (r.major != 5) return QStringLiteral("Unknown Workstation");
  if (r.minor == 2 && r.architecture == kArchAmd64) return QStringLiteral("Professional x64");
  if (r.smStarter != 0) return QStringLiteral("Starter");
  if (r.smMediaCenter != 0) return QStringLiteral("Media Center");
  if (r.smTabletPc != 0) return QStringLiteral("Tablet PC");
  if (r.suiteMask & 0x200) return QStringLiteral("Home");
  if (r.suiteMask & 0x40) return QStringLiteral("Embedded");
  return QStringLiteral("Professional");
}

QString editionServer(const WindowsVersionRecord& r) {
  const unsigned suite = r.suiteMask;
  if (r.major == 4) return (suite & 0x2) ? QStringLiteral("Server 4.0 Enterprise") : QStringLiteral("Server 4.0");
  if (r.major == 5 && r.minor == 0) {
    if (suite & 0x80) return QStringLiteral("Datacenter Server");
    if (suite & 0x2) return QStringLiteral("Advanced Server");
    return QStringLiteral("Server");
  }
  if (r.major == 5 && r.minor == 2) {
    switch (r.architecture) {
      case kArchIntel:
        if (suite & 0x4000) return QStringLiteral("Computer Cluster");
        if (suite & 0x80) return QStringLiteral("Datacenter");
        if (suite & 0x2) return QStringLiteral("Enterprise");
        if (suite == 0x400) return QStringLiteral("Web");
        return QStringLiteral("Standard");
      case kArchIa64:
        if (suite & 0x80) return QStringLiteral("Datacenter for Itanium-based Systems");
        if (suite & 0x2) return QStringLiteral("Enterprise for Itanium-based Systems");
        return QStringLiteral("Standard Itanium-based");
      case kArchAmd64:
        if (suite & 0x80) return QStringLiteral("Datacenter x64");
        if (suite & 0x2) return QStringLiteral("Enterprise x64");
        return QStringLiteral("Standard x64");
      default:
        return QStringLiteral("Unknown on Architecture 0x%1").arg(r.architecture, 0, 16);
    }
  }
  return r.productType == kProductServer ? QStringLiteral("Unknown Server")
                                         : QStringLiteral("Unknown Domain controller");
}

// The edition part, appended to (or, with a registered product name, replacing) `name`.
void editionNT(const WindowsVersionRecord& r, QString& name) {
  if (r.extendedQueryOk) {
    // From Vista on the registered product name is the edition. Readable only with
    // administrator rights; without them the built name stays.
    if (r.major >= 6) {
      if (r.productName) name = *r.productName;
      if (r.architecture == kArchAmd64)
        name += QStringLiteral(" 64-bit");
      else if (r.architecture == kArchIntel)
        name += QStringLiteral(" 32-bit");
      return;
    }
    switch (r.productType) {
      case kProductWorkstation:
        name += editionWorkstation(r);
        return;
      case kProductDomainController:
      case kProductServer:
        name += editionServer(r);
        return;
      default:
        name += QStringLiteral("Unknown");
        return;
    }
  }
  if (!r.productOptionsType) return;
  const QString type = r.productOptionsType->toUpper();
  if (type == u"WINNT")
    name += QStringLiteral("Workstation");
  else if (type == u"LANMANNT")
    name += QStringLiteral("Server");
  else if (type == u"SERVERNT")
    name += QStringLiteral("Advanced Server");
  else
    name += QStringLiteral("Unknown");
}

}  // namespace

std::optional<OsDescriptionParts> DescribeWindows(const WindowsVersionRecord& r) {
  if (!r.extendedQueryOk && !r.basicQueryOk) return std::nullopt;
  OsDescriptionParts parts;
  parts.name = QStringLiteral("Microsoft Windows ");
  if (r.platformId == 1) {
    parts.name += release9x(r);
    parts.version = versionTriple(r.major, r.minor & 0xFF, r.build & 0xFFFF);
    parts.servicePack = r.servicePack;
    return parts;
  }
  if (r.platformId != 2) return std::nullopt;
  parts.isNTFamily = true;
  // Every release from Vista on; a future major number is later than Vista too.
  parts.isVistaOrLater = r.major >= 6;
  releaseNT(r, parts.name, parts.version);
  editionNT(r, parts.name);
  parts.servicePack = (r.major == 4 && r.servicePack == u"Service Pack 6" && r.hotfixQ246009)
                          ? QStringLiteral("Service Pack 6a")
                          : r.servicePack;
  if (parts.version.isEmpty()) parts.version = versionTriple(r.major, r.minor, r.build & 0xFFFF);
  return parts;
}

QString CombineOSDescription(const OsDescriptionParts& parts, bool withVersion) {
  const QString version = parts.version.trimmed();
  const QString servicePack = parts.servicePack.trimmed();
  QString tail = servicePack;
  if (withVersion && !version.isEmpty()) tail = servicePack.isEmpty() ? version : version + u' ' + servicePack;
  return tail.isEmpty() ? parts.name : parts.name + u' ' + tail;
}

QString DescribeWindowsOS(const WindowsVersionRecord& record, bool withVersion) {
  const auto parts = DescribeWindows(record);
  return parts ? CombineOSDescription(*parts, withVersion) : QStringLiteral("unknown");
}

LinuxOsFacts LinuxOsFacts::fromSystem() {
  LinuxOsFacts facts;
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    QFile file(QString::fromLatin1(path));
    if (file.open(QIODevice::ReadOnly)) {
      facts.osRelease = QString::fromUtf8(file.read(64 * 1024));
      break;
    }
  }
  // The system's own architecture, as GetNativeSystemInfo answers it: a 32-bit build of the
  // program on a 64-bit kernel still describes a 64-bit system.
  const QString arch = QSysInfo::currentCpuArchitecture();
  facts.is64Bit = sizeof(void*) == 8 || arch.contains(u"64") || arch == u"s390x" || arch == u"sparcv9";
  facts.kernelRelease = QSysInfo::kernelVersion();
  return facts;
}

QString OsReleaseValue(QStringView osRelease, QStringView key) {
  QString result;
  for (QStringView line : osRelease.split(u'\n')) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0 || line.first(eq).trimmed() != key) continue;
    // The value is a shell word: quoted parts lose their quotes, a backslash escapes the next
    // character outside single quotes.
    const QStringView raw = line.sliced(eq + 1);
    result.clear();
    QChar quote;
    for (qsizetype i = 0; i < raw.size(); ++i) {
      const QChar c = raw.at(i);
      if (quote.isNull() && (c == u'"' || c == u'\''))
        quote = c;
      else if (!quote.isNull() && c == quote)
        quote = QChar();
      else if (c == u'\\' && quote != u'\'' && i + 1 < raw.size())
        result += raw.at(++i);
      else
        result += c;
    }
    // A later assignment wins, as when the file is sourced.
  }
  return result;
}

OsDescriptionParts DescribeLinux(const LinuxOsFacts& facts) {
  OsDescriptionParts parts;
  QString name = OsReleaseValue(facts.osRelease, u"PRETTY_NAME").trimmed();
  if (name.isEmpty()) name = OsReleaseValue(facts.osRelease, u"NAME").trimmed();
  if (name.isEmpty()) name = QStringLiteral("Linux");
  parts.name = name + (facts.is64Bit ? QStringLiteral(" 64-bit") : QStringLiteral(" 32-bit"));
  parts.version = facts.kernelRelease;
  parts.isVistaOrLater = true;
  parts.isNTFamily = true;
  return parts;
}

QString ShortenOSName(QString s) {
  const auto removeFirst = [&s](QStringView what) {
    const qsizetype at = s.indexOf(what);
    if (at >= 0) s.remove(at, what.size());
  };
  removeFirst(u"Microsoft ");
  const qsizetype windows = s.indexOf(u"Windows ");
  if (windows >= 0) s.remove(windows + 3, 5);
  removeFirst(u"fessional");
  removeFirst(u"ervice ");
  removeFirst(u"ack ");
  return s;
}

XPFlags ClassifyShortOSName(const QString& shortName, bool isVistaOrLater) {
  const bool namesXP = shortName.contains(u"WinXP");
  XPFlags flags;
  flags.IsXPOrNewer = namesXP || shortName.contains(u"2003") || isVistaOrLater;
  flags.IsXPOrOlder = !flags.IsXPOrNewer || namesXP;
  return flags;
}

}  // namespace zv
