#pragma once
// The update site built from the sound packages of a build: the two index files the update
// window reads and one installer per package.
//
//   ZVUpdateURL.idx   the base address and the alternate, one a line
//   ZV1500.idx        a "shell" line (this build: never offered), a news line, and one item per
//                     package: id=count^id.run{}caption (размер N кБ), N the installer's size
//                     in kilobytes rounded up
//   <id>.run          the installer of package <id>.cok
//
// Both index files are Windows-1251 with CR LF line ends. An installer is a POSIX sh script
// followed by its package's bytes; see InstallerScript.

#include "sound/PackageFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace zv::updatesite {

struct SitePackage {
  int category = 0;         // load index (PackageFileName)
  std::uint16_t count = 0;  // its header's count field: the item's version
  QByteArray bytes;         // the package file
};

struct FoundPackages {
  std::vector<SitePackage> packages;  // the intact packages, in load order
  QStringList problems;               // one line for each package present but unusable
};

// The packages of `folder`, read and checked as the trainer's scan checks them.
FoundPackages FindPackages(const QString& folder);

QString ItemId(int category);         // "zvq3"
QString InstallerName(int category);  // "zvq3.run"
// "Голос: задания 201–300 (размер 412 кБ)": the size tail read back by the index parser.
QString PackageCaption(int category, qint64 kilobytes);

// The installer of one package. Run as `sh zvq3.run [modest] [runapp]` (or directly: it is
// executable): it takes the last `package.bytes.size()` bytes of itself, checks their length and
// SHA-256, writes them beside their place in $XDG_DATA_HOME/Zorvik/ (~/.local/share/Zorvik/
// when unset) and renames them into it, so a reader never sees half a package. "modest" keeps
// it quiet but for errors; "runapp" then starts the trainer: $ZORVIK_PROGRAM when set, else
// `zorvik` on the PATH, else /opt/Zorvik/zorvik, once the trainer that handed over has let go
// of its single-instance lock (30 s at most). A damaged installer places nothing, says so on
// its error output and exits with 1; with "runapp" it still starts the trainer, which has ended
// for the hand-off and comes back on the packages it had.
QByteArray InstallerScript(const SitePackage& package);

struct SiteAddresses {
  QString base;       // where ZV1500.idx and the installers lie; a "/" is added when missing
  QString alternate;  // used by the window when the base holds no index
};

QByteArray ServersFile(const SiteAddresses& addresses);
// `installerSizes` in bytes, parallel to `packages`.
QByteArray IndexFile(const std::vector<SitePackage>& packages, const std::vector<qint64>& installerSizes);

struct SiteReport {
  int packages = 0;
  qint64 bytes = 0;  // all files written
};

// Writes the whole site into `outputDir` (made when missing); each file is replaced atomically.
// The error text when a package is unusable, an address holds no web address, or a file cannot
// be written.
std::optional<QString> BuildSite(const QString& packagesDir, const QString& outputDir, const SiteAddresses& addresses,
                                 SiteReport* report = nullptr);

}  // namespace zv::updatesite
