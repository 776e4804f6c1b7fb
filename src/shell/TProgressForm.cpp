#include "shell/TProgressForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

bool g_cancelRequested = false;

}  // namespace

TProgressForm::TProgressForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setObjectName(u"ProgressForm"_s);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));  // silver
  setPalette(palette);
  setAutoFillBackground(true);

  CaptionLabel = new QLabel(this);
  CaptionLabel->setObjectName(u"CaptionLabel"_s);
  QFont font(u"Arial"_s);
  font.setPixelSize(12);
  CaptionLabel->setFont(font);
  CaptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(u"ProgressBar"_s);
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);

  CancelBitBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), u"Отмена"_s, this);
  CancelBitBtn->setObjectName(u"CancelBitBtn"_s);
  CancelBitBtn->hide();
  connect(CancelBitBtn, &QPushButton::clicked, this, &TProgressForm::CancelBitBtnClick);

  // Auto-sized: caption and bar from the top, the button under them when it is shown.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->setSpacing(4);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(CaptionLabel);
  layout->addWidget(ProgressBar);
  layout->addWidget(CancelBitBtn, 0, Qt::AlignHCenter);
  ProgressBar->setFixedWidth(kClientWidth - 16);

  FormCreate();
}

void TProgressForm::FormCreate() { g_cancelRequested = false; }

void TProgressForm::CancelBitBtnClick() { g_cancelRequested = true; }

bool TProgressForm::CancelRequested() { return g_cancelRequested; }

void TProgressForm::SetBorder(bool on) {
  const bool visible = isVisible();
  setWindowFlag(Qt::FramelessWindowHint, !on);
  if (visible) show();  // changing the flags hides a shown window
}

void TProgressForm::SetAlphaBlend(bool on) { setWindowOpacity(on ? kAlphaBlendValue / 255.0 : 1.0); }

void TProgressForm::SetCaption(const QString& caption) { CaptionLabel->setText(caption); }

void TProgressForm::Step() {
  const int next = ProgressBar->value() + 1;
  ProgressBar->setValue(next > ProgressBar->maximum() ? ProgressBar->minimum() : next);
  QCoreApplication::processEvents();
}

void TProgressForm::showEvent(QShowEvent* event) {
  // Centred on the screen.
  adjustSize();
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + (area.height() - frameGeometry().height()) / 2);
  }
  QWidget::showEvent(event);
}

}  // namespace zv
