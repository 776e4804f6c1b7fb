// zvskin: renders the skin artwork to the window's bitmap at build time.
//
//   zvskin SKIN.svg OUT.png OUT.cpp
//
// Writes the checked 24-bit bitmap as a PNG (for looking at) and as a C++ source embedding
// that PNG. Any broken rule of the artwork is printed and ends the build.

#include "SkinRender.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

bool Save(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::fprintf(stderr, "zvskin: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Rendering needs no display; the build machine may have none.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: zvskin SKIN.svg OUT.png OUT.cpp\n");
    return 2;
  }
  QFile input(args[1]);
  if (!input.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "zvskin: cannot read %s\n", qPrintable(args[1]));
    return 1;
  }
  const zv::SkinRenderResult result = zv::RenderSkin(input.readAll());
  if (!result.ok()) {
    for (const QString& error : result.errors)
      std::fprintf(stderr, "zvskin: %s: %s\n", qPrintable(args[1]), qPrintable(error));
    std::fprintf(stderr,
                 "zvskin: the skin breaks %lld rule(s); fix the artwork or src/skin/SkinLayout.h\n",
                 static_cast<long long>(result.errors.size()));
    return 1;
  }
  const QByteArray png = zv::EncodeSkinPng(result.image);
  if (!Save(args[2], png)) return 1;
  if (!Save(args[3], zv::GenerateSkinSource(png, QStringLiteral("content/skin/skin.svg")))) return 1;
  return 0;
}
