// The main window's time limit: its boxes and the countdown group's place and items.

#include "ui/TZVMainForm.h"
#include "ui/TZVMainFormParts.h"

#include "platform/Cp1251.h"
#include "platform/Registry.h"
#include "shell/StartUp.h"
#include "sound/SoundService.h"
#include "tasks/BuiltinContent.h"
#include "ui/HintGlyphs.h"
#include "ui/ProgramLook.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TAidForm.h"
#include "ui/TBitBtn.h"
#include "ui/THintForm.h"
#include "ui/TMarkForm.h"
#include "ui/TTrackBar.h"
#include "ui/WidgetColours.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace zv {

using namespace mainform;

void TZVMainForm::TLCheckBoxClick() {
  m_flow->TLCheckBoxClick(TLCheckBox->isChecked());
  Refresh(m_flow->Screen());
}

void TZVMainForm::TictacCheckBoxClick() {
  m_flow->TictacCheckBoxClick(TictacCheckBox->isChecked());
  Refresh(m_flow->Screen());
}

void TZVMainForm::RebuildTimeLimitItems(int first, int last) {
  if (first == m_tlFirst && last == m_tlLast) return;
  m_tlFirst = first;
  m_tlLast = last;
  TLComboBox->clear();
  for (int i = first; i <= last; ++i) TLComboBox->addItem(TimeLimitItem(i));
}

void TZVMainForm::PlaceTimeLimitGroup(const MainScreen& s) {
  if (s.TLGroupPlace == GroupPlace::StartScreen) {
    if (TLGroupBox->parentWidget() != this) TLGroupBox->setParent(this);
    TLGroupBox->setGeometry(ToQRect(skin::TLGroupBox));
    TictacCheckBox->move(kTictacCheckBoxLeft + 2, kTictacTop);
    TicTacLabel->move(kTictacCheckBoxLeft + 20, kTictacTop - 1);
    return;
  }
  if (TLGroupBox->parentWidget() != PreBottomPanel) TLGroupBox->setParent(PreBottomPanel);
  const int width = skin::TLGroupBox.width;
  const int left = m_flow->SoundHardware() ? kEdgeGap : (skin::PreBottomPanel.width - width) / 2;
  TLGroupBox->setGeometry(left, kTLExamTop, width, skin::TLGroupBox.height);
  const int labelWidth = TicTacLabel->fontMetrics().horizontalAdvance(TicTacLabel->text()) + 4;
  const int labelLeft = (width - labelWidth) / 2 + 9;
  TicTacLabel->move(labelLeft, kTictacTop - 1);
  TictacCheckBox->move(labelLeft - 18, kTictacTop);
}

}  // namespace zv
