#include "UpdateSite.h"

#include "platform/Cp1251.h"
#include "shell/TrainerState.h"
#include "sound/PackageFile.h"
#include "update/UpdateIndex.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zv::updatesite {
namespace {

using namespace Qt::StringLiterals;

QString CategoryTitle(int category) {
  if (IsVoicedPackage(category)) {
    const int hundred = category - kCommentPackageCount;
    return u"задания %1–%2"_s.arg(hundred * kVoicedPerPackage + 1).arg((hundred + 1) * kVoicedPerPackage);
  }
  const QString name = PackageCategoryName(category);
  if (name.startsWith(u'm')) return u"реплики к оценке "_s + name.mid(1);
  if (name == u"y"_s) return u"возгласы на верный ответ"_s;
  if (name == u"n"_s) return u"возгласы на неверный ответ"_s;
  if (name == u"t"_s) return u"реплики, когда время вышло"_s;
  if (name == u"s"_s) return u"приветствия"_s;
  return u"прощания"_s;  // "f"
}

qint64 Kilobytes(qint64 bytes) { return (bytes + 1023) / 1024; }

std::optional<QString> Save(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.setPermissions(permissions) ||
      !file.commit())
    return u"cannot write "_s + path + u": "_s + file.errorString();
  return std::nullopt;
}

QString WithSlash(QString address) {
  if (!address.endsWith(u'/')) address += u'/';
  return address;
}

QByteArray Line(const QString& text) { return cp1251::Encode(text).value_or(QByteArray()) + "\r\n"; }

// The installer's text before its payload. The payload is never read by the shell: the
// script exits first, and takes the bytes with tail.
constexpr const char* kInstaller = R"sh(#!/bin/sh
# Zorvik update: installs the sound package @NAME@ (count field @COUNT@) for this user.
#   sh @INSTALLER@ [modest] [runapp]
# The package is the last @SIZE@ bytes of this file. Its length and SHA-256 are checked, it is
# written beside its place in $XDG_DATA_HOME/Zorvik/ (~/.local/share/Zorvik/ when unset) and
# renamed into it. modest: no messages but errors. runapp: then start the trainer,
# $ZORVIK_PROGRAM when set, else zorvik on the PATH, else /opt/Zorvik/zorvik, once the copy
# that handed over has ended; also when the package could not be placed.
name='@NAME@'
size=@SIZE@
sum='@SUM@'
quiet=
runapp=
for arg in "$@"; do
  case $arg in
    modest) quiet=1 ;;
    runapp) runapp=1 ;;
    *) printf 'usage: %s [modest] [runapp]\n' "$0" >&2; exit 2 ;;
  esac
done
# Starts the trainer named above.
start_trainer() {
  program=${ZORVIK_PROGRAM:-}
  [ -n "$program" ] || program=$(command -v zorvik) || program=/opt/Zorvik/zorvik
  if [ ! -x "$program" ]; then
    printf '%s: %s\n' "$0" "the trainer was not found to start (ZORVIK_PROGRAM names it)" >&2
    return 1
  fi
  # The trainer that handed over may still be closing: wait (a while) until it lets go of its
  # single-instance lock, or the new one would take itself for a second copy and end.
  lock=${XDG_RUNTIME_DIR:-/tmp/zorvik-$(id -u)}/zorvik_memfile
  if [ -f "$lock" ] && command -v flock >/dev/null 2>&1; then flock -w 30 "$lock" true; fi
  nohup "$program" >/dev/null 2>&1 &
}
# Nothing is placed; with runapp the trainer, which ended for this hand-off, still comes back
# (on the packages it had).
fail() {
  printf '%s: %s\n' "$0" "$*" >&2
  [ -z "$runapp" ] || start_trainer
  exit 1
}

case ${XDG_DATA_HOME:-} in
  /*) data=$XDG_DATA_HOME ;;
  *) [ -n "${HOME:-}" ] || fail "HOME is not set; nothing was installed"; data=$HOME/.local/share ;;
esac
dir=$data/Zorvik
mkdir -p -- "$dir" || fail "cannot make $dir; nothing was installed"
tmp=$(mktemp -- "$dir/.$name.XXXXXX") || fail "cannot write in $dir; nothing was installed"
trap 'rm -f -- "$tmp"' EXIT
trap 'exit 1' HUP INT TERM
tail -c "$size" -- "$0" > "$tmp" || fail "cannot write $tmp; nothing was installed"
if [ "$(( $(wc -c < "$tmp") ))" -ne "$size" ] || [ "$(sha256sum < "$tmp" | cut -d ' ' -f 1)" != "$sum" ]; then
  fail "the package $name in this installer is damaged; nothing was installed"
fi
chmod 644 -- "$tmp" && mv -f -- "$tmp" "$dir/$name" || fail "cannot place $dir/$name"
[ -n "$quiet" ] || printf 'Installed %s\n' "$dir/$name"

if [ -n "$runapp" ]; then start_trainer || exit 1; fi
exit 0
#--- the package's bytes follow ---
)sh";

}  // namespace

FoundPackages FindPackages(const QString& folder) {
  FoundPackages found;
  for (int category = 0; category < kPackageCount; ++category) {
    QFile file(QDir(folder).filePath(PackageFileName(category)));
    if (!file.exists()) continue;
    if (!file.open(QIODevice::ReadOnly)) {
      found.problems << file.fileName() + u": cannot be read"_s;
      continue;
    }
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const PackageInspection inspection = InspectPackage(buffer, IsVoicedPackage(category));
    if (inspection.status != PackageStatus::Intact) {
      found.problems << file.fileName() +
                            (inspection.status == PackageStatus::BadVersion ? u": wrong version"_s : u": corrupt"_s);
      continue;
    }
    found.packages.push_back({category, inspection.head.count, bytes});
  }
  return found;
}

QString ItemId(int category) { return u"zv"_s + PackageCategoryName(category); }

QString InstallerName(int category) { return ItemId(category) + u".run"_s; }

QString PackageCaption(int category, qint64 kilobytes) {
  return u"Голос: "_s + CategoryTitle(category) + u" (размер %1 кБ)"_s.arg(kilobytes);
}

QByteArray InstallerScript(const SitePackage& package) {
  QByteArray script(kInstaller);
  script.replace("@NAME@", PackageFileName(package.category).toLatin1());
  script.replace("@INSTALLER@", InstallerName(package.category).toLatin1());
  script.replace("@COUNT@", QByteArray::number(package.count));
  script.replace("@SIZE@", QByteArray::number(package.bytes.size()));
  script.replace("@SUM@", QCryptographicHash::hash(package.bytes, QCryptographicHash::Sha256).toHex());
  return script + package.bytes;
}

QByteArray ServersFile(const SiteAddresses& addresses) {
  return Line(WithSlash(addresses.base)) + Line(WithSlash(addresses.alternate));
}

QByteArray IndexFile(const std::vector<SitePackage>& packages, const std::vector<qint64>& installerSizes) {
  // The first line must begin with "shell": this very build, so it is never offered.
  const TrainerState trainer;
  QByteArray index = Line(
      u"shell=%1^zorvik-setup.run{}Программа «%2» (размер 0 кБ)"_s.arg(trainer.BuildNumber).arg(trainer.CyrillicName));
  index += Line(u"{News}Записи голоса для заданий и комментариев Зорвика."_s);
  for (std::size_t i = 0; i < packages.size(); ++i) {
    const SitePackage& p = packages[i];
    index += Line(ItemId(p.category) + u'=' + QString::number(p.count) + u'^' + InstallerName(p.category) + u"{}"_s +
                  PackageCaption(p.category, Kilobytes(installerSizes[i])));
  }
  return index;
}

std::optional<QString> BuildSite(const QString& packagesDir, const QString& outputDir, const SiteAddresses& addresses,
                                 SiteReport* report) {
  if (!HoldsWebAddress(addresses.base) || !HoldsWebAddress(addresses.alternate))
    return u"the base and the alternate must be web addresses (http://... or https://...)"_s;
  const FoundPackages found = FindPackages(packagesDir);
  if (!found.problems.isEmpty()) return found.problems.join(u'\n');
  if (!QDir().mkpath(outputDir)) return u"cannot make "_s + outputDir;

  const QDir out(outputDir);
  constexpr auto kReadable =
      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  constexpr auto kRunnable = kReadable | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
  SiteReport written;
  std::vector<qint64> sizes;
  for (const SitePackage& p : found.packages) {
    const QByteArray installer = InstallerScript(p);
    if (auto error = Save(out.filePath(InstallerName(p.category)), installer, kRunnable)) return error;
    sizes.push_back(installer.size());
    written.bytes += installer.size();
  }
  const QByteArray servers = ServersFile(addresses);
  const QByteArray index = IndexFile(found.packages, sizes);
  if (auto error = Save(out.filePath(u"ZVUpdateURL.idx"_s), servers, kReadable)) return error;
  if (auto error = Save(out.filePath(u"ZV1500.idx"_s), index, kReadable)) return error;
  written.bytes += servers.size() + index.size();
  written.packages = int(found.packages.size());
  if (report != nullptr) *report = written;
  return std::nullopt;
}

}  // namespace zv::updatesite
