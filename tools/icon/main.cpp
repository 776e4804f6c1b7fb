// zvicon: renders the application icon's SVG to a square PNG at build time.
//
//   zvicon ICON.svg OUT.png SIZE
//
// The PNG is what icon themes without SVG support show; the SVG is installed as well.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
  // Rendering needs no display; the build machine may have none.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  bool sizeOk = false;
  const int size = args.size() == 4 ? args[3].toInt(&sizeOk) : 0;
  if (!sizeOk || size <= 0 || size > 1024) {
    std::fprintf(stderr, "usage: zvicon ICON.svg OUT.png SIZE\n");
    return 2;
  }
  QSvgRenderer renderer(args[1]);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "zvicon: cannot read %s as SVG\n", qPrintable(args[1]));
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
  }
  QSaveFile out(args[2]);
  if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
    std::fprintf(stderr, "zvicon: cannot write %s\n", qPrintable(args[2]));
    return 1;
  }
  return 0;
}
