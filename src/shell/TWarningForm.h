#pragma once
// TWarningForm: the warning window with a big blue "!" on each side, a centred text and a
// bottom panel of answers. Only the start-up language check uses it (AskLanguageWarning),
// with Option1CheckBox and OKBitBtn hidden.
//
// Results follow the button kinds: YesBitBtn ends with kResultYes (it is the default button),
// OKBitBtn with kResultOk, NoBitBtn, Escape and the close box with kResultNo.

#include "shell/LanguageCheck.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace zv {

class TWarningForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kResultOk = 1;
  static constexpr int kResultYes = 6;
  static constexpr int kResultNo = 7;
  static constexpr int kClientWidth = 532;
  static constexpr int kClientHeight = 270;
  static constexpr int kBottomPanelHeight = 102;

  explicit TWarningForm(QWidget* parent = nullptr);

  // Places NoMoreCheckBox after its caption changed: as wide as the caption on the form's
  // font plus 24, centred horizontally in BottomPanel.
  void FitNoMoreCheckBox();
  // Shows the text, turning the "\r\n" line ends into line breaks.
  void SetText(const QString& text);

  void reject() override;  // Escape and the close box answer "no"

  QLabel* SignLLabel = nullptr;
  QLabel* SignRLabel = nullptr;
  QLabel* TextLabel = nullptr;
  QFrame* BottomPanel = nullptr;
  QCheckBox* Option1CheckBox = nullptr;
  QPushButton* YesBitBtn = nullptr;
  QPushButton* OKBitBtn = nullptr;
  QPushButton* NoBitBtn = nullptr;
  QCheckBox* NoMoreCheckBox = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

// Prepares the window for the language check (caption, text, "Да"/"Нет", the check box) and
// shows it modally.
LanguageWarningAnswer AskLanguageWarning(const QString& caption, const QString& text);
// The same on a window the caller made (tests drive it while it is modal).
LanguageWarningAnswer AskLanguageWarning(TWarningForm& form, const QString& caption, const QString& text);

}  // namespace zv
