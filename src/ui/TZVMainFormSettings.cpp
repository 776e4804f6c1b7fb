// The main window's settings: applied from the program key at creation, collected at closing.

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

void TZVMainForm::ApplySettings() {
  ScreenSpace space;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) space.primary = primary->geometry().size();
  for (const QScreen* screen : QGuiApplication::screens()) space.screens.push_back(screen->geometry());
  space.window = size();
  m_settings = MainSettings{};
  m_settings.firstDate = m_context.State.Statistics.FirstDate;
  m_settings.rCount = m_context.State.Statistics.RCount;
  ReadMainSettings(*m_context.System.SettingsRegistry, m_settings, space);

  move(m_settings.left.value_or(308), m_settings.top.value_or(126));
  m_context.State.Statistics.FirstDate = m_settings.firstDate;
  m_context.State.Statistics.RCount = m_settings.rCount;

  m_flow->ApplyOptions(ExamOptionsOf(m_settings));
  const MainScreen& s = m_flow->Screen();
  TLCheckBox->setChecked(s.TLCheckBoxChecked);
  SoundCheckBox->setChecked(s.SoundCheckBoxChecked);
  TictacCheckBox->setChecked(s.TictacCheckBoxChecked);

  VolumeTrackBar->setValue(m_settings.volume);  // not the user's change: no volume is set

  const QFont ask = FontOf(m_settings.askFont);
  TaskLabel->setFont(ask);
  TaskLabel1->setFont(ask);
  const QFont ans = FontOf(m_settings.ansFont);
  for (TBitBtn* b : BitBtns) b->setFont(ans);
}

void TZVMainForm::CollectSettings() {
  m_settings.left = x();
  m_settings.top = y();
  m_settings.firstDate = m_context.State.Statistics.FirstDate;
  m_settings.rCount = m_context.State.Statistics.RCount;
  StoreExamOptions(m_flow->Options(), m_settings);
  m_settings.askFont = ChoiceOf(TaskLabel->font());
  m_settings.ansFont = ChoiceOf(BitBtns[0]->font());
  m_settings.volume = VolumeTrackBar->value();
  m_settings.volumeShown = !VolumeTrackBar->isHidden();
}

}  // namespace zv
