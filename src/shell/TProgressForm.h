#pragma once
// TProgressForm: the progress window of start-up and of building the task list. Start-up
// removes its border and makes it translucent (alpha 224 of 255); the task list keeps the
// border, colours it and shows CancelBitBtn.
//
// The cancel-requested flag is module-wide, as the task list reads it while it builds: every
// new window clears it, CancelBitBtn sets it.

#include "shell/ProgressSteps.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zv {

class TProgressForm : public QWidget, public ProgressSteps {
  Q_OBJECT

 public:
  static constexpr int kAlphaBlendValue = 224;
  static constexpr int kClientWidth = 400;

  explicit TProgressForm(QWidget* parent = nullptr);

  static bool CancelRequested();

  void SetBorder(bool on);
  void SetAlphaBlend(bool on);  // window opacity kAlphaBlendValue / 255 when on

  // ProgressSteps: StepIt on the bar (which, like the system control, starts again from the
  // minimum when it passes the maximum), then pending messages run.
  void SetCaption(const QString& caption) override;
  void Step() override;

  QLabel* CaptionLabel = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QPushButton* CancelBitBtn = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void CancelBitBtnClick();
};

}  // namespace zv
