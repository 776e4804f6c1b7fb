#pragma once
// TFontForm: the font window of the main window's popup menu. It edits one target's font
// through a FontEditor (shell/FontEditor.h), which makes every decision; each change the user
// makes is reported at once by fontChanged, and the main window applies it to the target
// (live preview). "OK" is the default and the cancel button: closing keeps what is applied.
//
// Tool window, sky blue, client area 322 x 121: four "Aя" samples in a 37-pixel typeface
// (regular, italic, bold, bold italic) with a radio button under each, then FontGroupBox
// (captioned like the menu item that opened the window) holding the typeface combo, the size
// field with its arrows, and "OK".

#include "shell/FontEditor.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zv {

class TXFontComboBox;

class TFontForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 322;
  static constexpr int kClientHeight = 121;
  static constexpr int kSamplePixels = 37;

  // `editor` outlives the window; `caption` is the menu item's ("Шрифт заданий...").
  TFontForm(FontEditor& editor, const QString& caption, QWidget* parent = nullptr);

  QGroupBox* FontGroupBox = nullptr;
  QLabel* NormFontLabel = nullptr;
  QLabel* NormItalicFontLabel = nullptr;
  QLabel* BoldFontLabel = nullptr;
  QLabel* BoldItalicFontLabel = nullptr;
  QRadioButton* NormalRadioButton = nullptr;
  QRadioButton* NormItalicRadioButton = nullptr;
  QRadioButton* BoldRadioButton = nullptr;
  QRadioButton* BoldItalicRadioButton = nullptr;
  TXFontComboBox* XFontComboBox = nullptr;
  QSpinBox* FontSizeMaskEdit = nullptr;  // with its arrows, which stand for FontSizeUpDown
  QPushButton* OKBitBtn = nullptr;

 signals:
  void fontChanged(const zv::FontChoice& font);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void XFontComboBoxChange(int index);
  void FontSizeChange(int size);
  void StyleClick(FontStyle style);
  void ShowSamples(const QString& family);

  FontEditor& m_editor;
  std::array<QLabel*, 4> m_samples{};
  std::array<QRadioButton*, 4> m_radios{};
};

}  // namespace zv
