#include "ui/TFontForm.h"

#include "ui/TXFontComboBox.h"
#include "ui/WidgetColours.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kSampleWidth = 80;

QFont SampleFont(const QString& family, FontStyle style) {
  QFont f(family);
  f.setPixelSize(TFontForm::kSamplePixels);
  f.setBold(style == FontStyle::Bold || style == FontStyle::BoldItalic);
  f.setItalic(style == FontStyle::Italic || style == FontStyle::BoldItalic);
  return f;
}

}  // namespace

TFontForm::TFontForm(FontEditor& editor, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_editor(editor) {
  setObjectName(u"FontForm"_s);
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSkyBlue);
  setPalette(pal);

  static const char* const sampleNames[] = {
      "NormFontLabel", "NormItalicFontLabel", "BoldFontLabel", "BoldItalicFontLabel"};
  static const char* const radioNames[] = {
      "NormalRadioButton", "NormItalicRadioButton", "BoldRadioButton", "BoldItalicRadioButton"};
  for (std::size_t i = 0; i < 4; ++i) {
    const int left = 1 + int(i) * kSampleWidth;
    auto* sample = new QLabel(this);
    sample->setObjectName(QLatin1String(sampleNames[i]));
    sample->setGeometry(left, 0, kSampleWidth, 46);
    sample->setAlignment(Qt::AlignCenter);
    sample->installEventFilter(this);  // clicking a sample checks its button
    auto* radio = new QRadioButton(this);
    radio->setObjectName(QLatin1String(radioNames[i]));
    radio->setGeometry(left + kSampleWidth / 2 - 8, 46, 16, 16);
    const auto style = static_cast<FontStyle>(i);
    connect(radio, &QRadioButton::clicked, this, [this, style] { StyleClick(style); });
    m_samples[i] = sample;
    m_radios[i] = radio;
  }
  NormFontLabel = m_samples[0];
  NormItalicFontLabel = m_samples[1];
  BoldFontLabel = m_samples[2];
  BoldItalicFontLabel = m_samples[3];
  NormalRadioButton = m_radios[0];
  NormItalicRadioButton = m_radios[1];
  BoldRadioButton = m_radios[2];
  BoldItalicRadioButton = m_radios[3];
  NormalRadioButton->setChecked(true);  // the design's choice until the target's is known

  FontGroupBox = new QGroupBox(caption, this);
  FontGroupBox->setObjectName(u"FontGroupBox"_s);
  FontGroupBox->setGeometry(4, 64, kClientWidth - 8, kClientHeight - 68);
  XFontComboBox = new TXFontComboBox(FontGroupBox);
  XFontComboBox->setObjectName(u"XFontComboBox"_s);
  XFontComboBox->setGeometry(8, 20, 170, 24);
  XFontComboBox->setMaxVisibleItems(12);
  FontSizeMaskEdit = new QSpinBox(FontGroupBox);
  FontSizeMaskEdit->setObjectName(u"FontSizeMaskEdit"_s);
  FontSizeMaskEdit->setGeometry(186, 20, 46, 24);
  FontSizeMaskEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  OKBitBtn = new QPushButton(u"OK"_s, FontGroupBox);
  OKBitBtn->setObjectName(u"OKBitBtn"_s);
  OKBitBtn->setGeometry(242, 18, 62, 28);
  OKBitBtn->setDefault(true);
  connect(OKBitBtn, &QPushButton::clicked, this, &QDialog::accept);

  FormCreate();
  connect(XFontComboBox, &QComboBox::currentIndexChanged, this, &TFontForm::XFontComboBoxChange);
  connect(FontSizeMaskEdit, &QSpinBox::valueChanged, this, &TFontForm::FontSizeChange);
}

void TFontForm::FormCreate() {
  setWindowTitle(u"Zorvik"_s);
  for (QLabel* sample : m_samples) sample->setText(u"Aя"_s);
  XFontComboBox->setCurrentIndex(m_editor.TypefaceIndex());
  // A typeface no longer installed: the samples show what the target shows.
  ShowSamples(m_editor.Current().name);
  const SizeRange range = m_editor.Range();
  FontSizeMaskEdit->setRange(range.min, range.max);
  FontSizeMaskEdit->setValue(m_editor.SizeShown());
  m_radios[static_cast<std::size_t>(m_editor.CheckedStyle())]->setChecked(true);
}

void TFontForm::ShowSamples(const QString& family) {
  for (std::size_t i = 0; i < 4; ++i) m_samples[i]->setFont(SampleFont(family, static_cast<FontStyle>(i)));
}

void TFontForm::XFontComboBoxChange(int index) {
  if (index < 0) return;
  const QString family = XFontComboBox->itemText(index);
  ShowSamples(family);
  if (m_editor.ChooseTypeface(family)) emit fontChanged(m_editor.Current());
}

void TFontForm::FontSizeChange(int size) {
  if (m_editor.ChooseSize(size)) emit fontChanged(m_editor.Current());
}

void TFontForm::StyleClick(FontStyle style) {
  m_radios[static_cast<std::size_t>(style)]->setChecked(true);
  if (m_editor.ChooseStyle(style)) emit fontChanged(m_editor.Current());
}

bool TFontForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (std::size_t i = 0; i < 4; ++i)
      if (watched == m_samples[i]) StyleClick(static_cast<FontStyle>(i));
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zv
