#include "ui/TMarkForm.h"

#include "ui/HintGlyphs.h"
#include "ui/ModalRun.h"
#include "ui/TBitBtn.h"
#include "ui/WidgetColours.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace zv {

TMarkForm::TMarkForm(int mark, bool commentsOn, RandomSource& random, SoundService& sound, QWidget* parent)
    : TCommentForm(sound, kSoundEndEvent, parent), m_random(random), m_look(MarkLookFor(mark)) {
  m_commentsOn = commentsOn;
  setObjectName(QStringLiteral("MarkForm"));
  setWindowTitle(QStringLiteral("Итого"));
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(0, 0, kClientWidth, 24);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setFont(ArialFont(20, true, true));
  QPalette blue = Label1->palette();
  blue.setColor(QPalette::WindowText, ColourOf(0x0000FF));
  Label1->setPalette(blue);

  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setGeometry(0, 24, kClientWidth, 50);
  Label2->setAlignment(Qt::AlignCenter);
  Label2->setFont(ArialFont(44, true, true));
  Label2->setAutoFillBackground(true);  // opaque: its background flashes too
  QPalette red = Label2->palette();
  red.setColor(QPalette::Window, Qt::white);
  red.setColor(QPalette::WindowText, ColourOf(0xFF0000));
  Label2->setPalette(red);

  auto* thanks = new TBitBtn(this);
  thanks->SetCentred(true);
  BitBtn1 = thanks;
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(1, 76, 264, 27);
  BitBtn1->setFont(ArialFont(13, true, true));
  BitBtn1->setIconSize(QSize(kButtonGlyphSize, kButtonGlyphSize));
  QPalette face(QColor(0xEC, 0xEC, 0xE8));
  face.setColor(QPalette::ButtonText, ColourOf(kGreenLettering));
  BitBtn1->setPalette(face);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TMarkForm::BitBtn1Click);

  CreateSpeakerBitBtn(QPoint(217, 25));

  MarkTimer = new QTimer(this);
  MarkTimer->setObjectName(QStringLiteral("MarkTimer"));
  MarkTimer->setInterval(kFlashIntervalMs);
  connect(MarkTimer, &QTimer::timeout, this, &TMarkForm::MarkTimerTimer);

  FormCreate();
}

TMarkForm::~TMarkForm() = default;

void TMarkForm::FormCreate() {
  Label1->setText(QStringLiteral("Ваша оценка"));
  BitBtn1->setText(QStringLiteral("Спасибо"));
  Label2->setText(m_look.digit);
  BitBtn1->setIcon(ButtonGlyphIcon(m_look.glyph));
  if (m_look.flashes) MarkTimer->start();
  PlayCaseComment(m_look.comment);
  BitBtn1->setFocus();
}

void TMarkForm::CentreOnParent() {
  QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  if (!main) return;
  const QRect frame = main->frameGeometry();
  move(frame.left() + (frame.width() - frameGeometry().width()) / 2,
       frame.top() + (frame.height() - frameGeometry().height()) / 2);
}

int TMarkForm::ShowModal(std::any details) {
  CentreOnParent();
  return RunModal(this, {ModalWindow::Mark, {}, {}, std::move(details)}).result;
}

void TMarkForm::Open() {
  CentreOnParent();
  show();
}

void TMarkForm::MarkTimerTimer() {
  const FlashColors c = DrawFlashColors(m_random);
  QPalette pal = Label2->palette();
  pal.setColor(QPalette::Window, ColourOf(c.background));
  pal.setColor(QPalette::WindowText, ColourOf(c.lettering));
  Label2->setPalette(pal);
  Label2->repaint();
}

void TMarkForm::BitBtn1Click() {
  StopComment();
  done(QDialog::Rejected);
}

void TMarkForm::reject() { BitBtn1Click(); }

void TMarkForm::done(int result) {
  MarkTimer->stop();
  QDialog::done(result);
}

}  // namespace zv
