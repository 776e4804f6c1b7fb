#include "shell/TStartImageForm.h"

#include "platform/RandomSource.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QScreen>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

// The program's initial, as the progress export file names begin with it, and one space.
const QString kCaption = u"Z "_s;

QLabel* letters(QWidget* parent, const QString& name) {
  auto* label = new QLabel(kCaption, parent);
  label->setObjectName(name);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAutoFillBackground(false);
  return label;
}

QColor lightColour(RandomSource& random) {
  const int r = 128 + random.Uniform(128);
  const int g = 128 + random.Uniform(128);
  const int b = 128 + random.Uniform(128);
  return QColor(r, g, b);
}

void paint(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

QStringList TStartImageForm::CandidateFamilies() {
  QStringList families;
  for (const QString& family : QFontDatabase::families(QFontDatabase::Latin))
    if (!QFontDatabase::isPrivateFamily(family) && QFontDatabase::isScalable(family)) families.append(family);
  return families;
}

TStartImageForm::TStartImageForm(RandomSource& random, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(u"StartImageForm"_s);
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  QFont font(u"Arial"_s);
  font.setPixelSize(kFontPixels);
  font.setBold(true);
  setFont(font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));  // grey: the shadows
  setPalette(palette);

  // Stacked bottom to top: each copy over its own shadow, the second pair over the first.
  ShLabel1 = letters(this, u"ShLabel1"_s);
  Label1 = letters(this, u"Label1"_s);
  ShLabel2 = letters(this, u"ShLabel2"_s);
  Label2 = letters(this, u"Label2"_s);
  FormCreate(random);
}

void TStartImageForm::FormCreate(RandomSource& random) {
  const QStringList families = CandidateFamilies();
  if (!families.isEmpty()) {
    QFont chosen = font();
    chosen.setFamily(families.at(random.Uniform(int(families.size()))));
    setFont(chosen);  // the four labels follow the form's font
  }
  paint(Label1, lightColour(random));
  paint(Label2, lightColour(random));

  for (QLabel* label : {ShLabel1, Label1, ShLabel2, Label2}) label->adjustSize();
  Label1->move(0, 0);
  ShLabel1->move(kShadowOffset, kShadowOffset);
  Label2->move(Label1->width() / 4, kShadowOffset);
  ShLabel2->move(Label2->x() + kShadowOffset, 12);
  resize(childrenRect().right() + 1, childrenRect().bottom() + 1);

  // Only the letters show: the background is transparent where windows are composited, and
  // the window's shape is cut to the letters for desktops that are not.
  QImage image = grab().toImage();
  if (image.size() != size()) image = image.scaled(size());
  setMask(QBitmap::fromImage(image.createAlphaMask(Qt::ThresholdAlphaDither)));

  QCoreApplication::processEvents();
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

}  // namespace zv
