// zvupdatesite: builds the update site from the sound packages of a build.
//   zvupdatesite PACKAGE_DIR OUTPUT_DIR [--base URL] [--alternate URL]
// The base is where the index and the installers will lie (the first update server's address
// by default); the alternate is the second server's by default, or the base when only the base
// is given. A package present but unusable fails the run: a site never offers a broken package.

#include "UpdateSite.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

using namespace Qt::StringLiterals;

// Takes "--name value" out of args; nothing when absent, and `ok` false when the value is missing.
std::optional<QString> TakeOption(QStringList& args, const QString& name, bool& ok) {
  const qsizetype at = args.indexOf(name);
  if (at < 0) return std::nullopt;
  if (at + 1 >= args.size()) {
    ok = false;
    return std::nullopt;
  }
  const QString value = args[at + 1];
  args.remove(at, 2);
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  bool ok = true;
  const std::optional<QString> base = TakeOption(args, u"--base"_s, ok);
  const std::optional<QString> alternate = TakeOption(args, u"--alternate"_s, ok);
  if (!ok || args.size() != 2) {
    std::fputs("usage: zvupdatesite PACKAGE_DIR OUTPUT_DIR [--base URL] [--alternate URL]\n", stderr);
    return 2;
  }
  zv::updatesite::SiteAddresses addresses{QStringLiteral(ZV_SITE_BASE), QStringLiteral(ZV_SITE_ALTERNATE)};
  if (base) addresses.base = addresses.alternate = *base;
  if (alternate) addresses.alternate = *alternate;

  zv::updatesite::SiteReport report;
  if (const auto error = zv::updatesite::BuildSite(args[0], args[1], addresses, &report)) {
    std::fprintf(stderr, "zvupdatesite: %s\n", qPrintable(*error));
    return 1;
  }
  std::printf("zvupdatesite: %d packages, %lld bytes in %s\n",
              report.packages,
              static_cast<long long>(report.bytes),
              qPrintable(args[1]));
  return 0;
}
