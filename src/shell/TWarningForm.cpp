#include "shell/TWarningForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kSignPixels = 171;
constexpr int kTextPixels = 12;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 30;
constexpr int kButtonTop = 22;
constexpr int kButtonGap = 24;
constexpr int kNoMoreTop = 70;

QFont arial(int pixels) {
  QFont font(u"Arial"_s);
  font.setPixelSize(pixels);
  return font;
}

QLabel* sign(QWidget* parent, const QString& name) {
  auto* label = new QLabel(u"!"_s, parent);
  label->setObjectName(name);
  label->setFont(arial(kSignPixels));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
  label->setPalette(palette);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  return label;
}

QPushButton* bitBtn(QWidget* parent, const QString& name, QStyle::StandardPixmap glyph) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setIcon(parent->style()->standardIcon(glyph));
  button->resize(kButtonWidth, kButtonHeight);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TWarningForm::TWarningForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setObjectName(u"WarningForm"_s);
  setFont(arial(kTextPixels));
  setFixedSize(kClientWidth, kClientHeight);

  const int upper = kClientHeight - kBottomPanelHeight;
  SignLLabel = sign(this, u"SignLLabel"_s);
  SignRLabel = sign(this, u"SignRLabel"_s);
  const int signWidth = SignLLabel->sizeHint().width();
  SignLLabel->setGeometry(0, 0, signWidth, upper);
  SignRLabel->setGeometry(kClientWidth - signWidth, 0, signWidth, upper);

  TextLabel = new QLabel(this);
  TextLabel->setObjectName(u"TextLabel"_s);
  TextLabel->setTextFormat(Qt::PlainText);
  TextLabel->setWordWrap(true);
  TextLabel->setAlignment(Qt::AlignCenter);
  TextLabel->setGeometry(signWidth, 0, kClientWidth - 2 * signWidth, upper);

  BottomPanel = new QFrame(this);
  BottomPanel->setObjectName(u"BottomPanel"_s);
  BottomPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  BottomPanel->setGeometry(0, upper, kClientWidth, kBottomPanelHeight);

  Option1CheckBox = new QCheckBox(BottomPanel);
  Option1CheckBox->setObjectName(u"Option1CheckBox"_s);
  Option1CheckBox->move(16, 2);

  YesBitBtn = bitBtn(BottomPanel, u"YesBitBtn"_s, QStyle::SP_DialogYesButton);
  OKBitBtn = bitBtn(BottomPanel, u"OKBitBtn"_s, QStyle::SP_DialogOkButton);
  NoBitBtn = bitBtn(BottomPanel, u"NoBitBtn"_s, QStyle::SP_DialogNoButton);
  YesBitBtn->setText(u"Да"_s);
  OKBitBtn->setText(u"OK"_s);
  NoBitBtn->setText(u"Нет"_s);
  // Yes | OK | No from left to right, the row centred; OK sits in the middle.
  const int rowLeft = (kClientWidth - 3 * kButtonWidth - 2 * kButtonGap) / 2;
  YesBitBtn->move(rowLeft, kButtonTop);
  OKBitBtn->move(rowLeft + kButtonWidth + kButtonGap, kButtonTop);
  NoBitBtn->move(rowLeft + 2 * (kButtonWidth + kButtonGap), kButtonTop);
  YesBitBtn->setDefault(true);

  NoMoreCheckBox = new QCheckBox(BottomPanel);
  NoMoreCheckBox->setObjectName(u"NoMoreCheckBox"_s);
  NoMoreCheckBox->move(0, kNoMoreTop);

  connect(YesBitBtn, &QPushButton::clicked, this, [this] { done(kResultYes); });
  connect(OKBitBtn, &QPushButton::clicked, this, [this] { done(kResultOk); });
  connect(NoBitBtn, &QPushButton::clicked, this, [this] { done(kResultNo); });
}

void TWarningForm::FitNoMoreCheckBox() {
  const int width = fontMetrics().horizontalAdvance(NoMoreCheckBox->text()) + 24;
  NoMoreCheckBox->setGeometry(
      (BottomPanel->width() - width) / 2, kNoMoreTop, width, NoMoreCheckBox->sizeHint().height());
}

void TWarningForm::SetText(const QString& text) {
  QString shown = text;
  shown.replace(u"\r\n"_s, u"\n"_s);
  TextLabel->setText(shown);
}

void TWarningForm::reject() { done(kResultNo); }

void TWarningForm::showEvent(QShowEvent* event) {
  // Centred on the screen, as designed.
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + (area.height() - frameGeometry().height()) / 2);
  }
  QDialog::showEvent(event);
}

LanguageWarningAnswer AskLanguageWarning(TWarningForm& form, const QString& caption, const QString& text) {
  form.setWindowTitle(caption);
  form.SetText(text);
  form.NoMoreCheckBox->setText(u"Больше не показывать это окно"_s);
  form.FitNoMoreCheckBox();
  form.Option1CheckBox->hide();
  form.OKBitBtn->hide();
  form.YesBitBtn->setText(u"Да"_s);
  form.NoBitBtn->setText(u"Нет"_s);
  QCoreApplication::processEvents();
  const int result = form.exec();
  return LanguageWarningAnswer{result == TWarningForm::kResultYes, form.NoMoreCheckBox->isChecked()};
}

LanguageWarningAnswer AskLanguageWarning(const QString& caption, const QString& text) {
  TWarningForm form;
  return AskLanguageWarning(form, caption, text);
}

}  // namespace zv
