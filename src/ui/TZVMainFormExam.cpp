// The main window as the exam's view: the model onto the controls, the answer buttons, the modal
// windows and the waits.

#include "ui/TZVMainForm.h"
#include "ui/TZVMainFormParts.h"

#include "platform/Cp1251.h"
#include "platform/Registry.h"
#include "shell/StartUp.h"
#include "sound/SoundService.h"
#include "tasks/BuiltinContent.h"
#include "ui/HintGlyphs.h"
#include "ui/ModalRun.h"
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

void TZVMainForm::Refresh(const MainScreen& s) {
  m_refreshing = true;

  // The text is set in even lines, centred; the flashing copy under it keeps the plain text.
  TaskLabel->setText(BalancedLines(Lines(s.TaskLabel), TaskLabel->fontMetrics(), TaskLabel->width()));
  TaskLabel1->setText(Lines(s.TaskLabel));
  TaskLabel->setAlignment(Qt::AlignCenter);
  TaskLabel1->setAlignment(Qt::AlignCenter);
  TaskLabel1->setVisible(s.TaskLabel1Visible);
  SetTextColour(TaskLabel1, s.TaskLabel1Colour);
  RepStatusLabel->setVisible(s.RepStatusLabelVisible);
  RepStatusLabel->setText(s.RepStatusLabel);
  SetTextColour(RepStatusLabel, s.RepStatusLabelColour);
  RepComLabel->setText(s.RepComLabel);
  StatusLabel->setText(s.StatusLabel);
  StatusLabel->setVisible(s.StatusLabelVisible);
  DirStatusLabel->setText(s.DirStatusLabel);
  DirStatusLabel->setVisible(s.DirStatusLabelVisible);
  KeyGuideLabel->setText(s.KeyGuideLabel);

  for (std::size_t i = 0; i < 5; ++i) {
    const AnswerButton& model = s.Buttons[i];
    TBitBtn* button = BitBtns[i];
    // The caption is set after the kind, as changing the kind would reset it.
    button->SetKind(model.kind);
    button->setText(model.caption);
    button->Tag = model.tag;
    button->setVisible(model.visible);
    BitBtnPanels[i]->setVisible(model.panelVisible);
  }

  GenGroupBox->setVisible(s.GenGroupBoxVisible);
  GenComboBox->setCurrentIndex(s.GenComboBoxIndex);
  DirGroupBox->setVisible(s.DirGroupBoxVisible);
  DirComboBox->setCurrentIndex(s.DirComboBoxIndex);
  DirComboBox->setEnabled(s.DirComboBoxEnabled);

  PlaceTimeLimitGroup(s);
  RebuildTimeLimitItems(s.TLFirst, s.TLLast);
  TLComboBox->setCurrentIndex(s.TLComboBoxIndex);
  TLComboBox->setEnabled(s.TLComboBoxEnabled);
  SetCountdownLettering(TLComboBox, s.TLLabelTag != 0);
  TLCheckBox->setChecked(s.TLCheckBoxChecked);
  TLCheckBox->setVisible(s.TLCheckBoxVisible);
  TLLabel->setText(s.TLLabel);
  TLLabel->setProperty("tag", s.TLLabelTag);
  SetBold(TLLabel, s.TLLabelBold);
  if (s.TLLabelTag != 0) SetTextColour(TLLabel, kNavyRgb);
  TictacCheckBox->setChecked(s.TictacCheckBoxChecked);
  TictacCheckBox->setEnabled(s.TictacEnabled);
  TicTacLabel->setEnabled(s.TictacEnabled);
  SetBold(TicTacLabel, s.TicTacLabelBold);
  TLGroupBox->setVisible(s.TLGroupBoxVisible);

  RepGroupBox->setVisible(s.RepGroupBoxVisible);
  RepGroupBox->setToolTip(Lines(s.RepGroupBoxHint));
  RepCheckBox->setChecked(s.RepCheckBoxChecked);
  RepCheckBox->setEnabled(s.RepEnabled);
  RepLabel->setEnabled(s.RepEnabled);
  SetBold(RepLabel, s.RepLabelBold);
  SetTextColour(RepLabel, s.RepLabelColour);
  RepInfoLabel->setText(Lines(s.RepInfoLabel));

  PlaceSoundGroup(s);
  SoundGroupBox->setVisible(s.SoundGroupBoxVisible);
  SoundCheckBox->setChecked(s.SoundCheckBoxChecked);

  PreBottomPanel->setVisible(s.PreBottomPanelVisible);
  CancelBitBtn->Tag = s.CancelTag;
  CancelBitBtn->setText(s.CancelCaption);
  CancelBitBtn->setToolTip(s.CancelHint);
  PlaceCancelButton(s);
  CancelBitBtn->setVisible(s.CancelVisible);
  const bool wasShowLog = ShowLogBitBtn->isVisibleTo(this);
  ShowLogBitBtn->setVisible(s.ShowLogVisible);
  SpeakerPanel->move(skin::SpeakerPanel.x, s.SpeakerPanelTop);
  SpeakerBitBtn->setVisible(s.SpeakerBitBtnVisible);
  SpeakerAnimate->setVisible(s.SpeakerAnimateVisible);
  TaskListBitBtn->setVisible(s.TaskListVisible);
  TaskListBitBtn->setToolTip(s.TaskListHint);
  LiveUpdateBitBtn->setVisible(s.LiveUpdateVisible);

  if (s.FlashTimerOn != FlashTimer->isActive()) s.FlashTimerOn ? FlashTimer->start() : FlashTimer->stop();
  // A running countdown interval is left alone; an armed one starts its full second.
  if (!s.TLTimerOn)
    TLTimer->stop();
  else if (!TLTimer->isActive())
    TLTimer->start();
  setWindowTitle(s.WindowCaption.isEmpty() ? m_context.State.CyrillicName : s.WindowCaption);

  if (s.FocusRequest != m_appliedFocusRequest) {
    m_appliedFocusRequest = s.FocusRequest;
    if (s.Focus == FocusTarget::BitBtn1) BitBtns[0]->setFocus();
    if (s.Focus == FocusTarget::BitBtn5) BitBtns[4]->setFocus();
  }
  // Each start screen (BitBtn5 is the start button) takes the colours of the speaker and the
  // two bottom panels anew.
  const bool startScreen = s.Buttons[4].tag == kStartTag;
  if (startScreen && (!m_startScreenColoured || wasShowLog != s.ShowLogVisible)) {
    ColourFromSkinOnStartScreen();
    m_startScreenColoured = true;
  }
  if (!startScreen) m_startScreenColoured = false;
  m_refreshing = false;
}

void TZVMainForm::PlaceCancelButton(const MainScreen& s) {
  const int panel = skin::BottomPanel.width;
  int left = (panel - kCancelWidth) / 2;
  if (s.CancelPlacement == CancelPlace::RightEdge) left = panel - kCancelWidth - kEdgeGap;
  if (s.CancelPlacement == CancelPlace::ExamCentre) left = (panel - kCancelWidth + 8) / 2;
  CancelBitBtn->setGeometry(left, kBottomButtonTop, kCancelWidth, kBottomButtonHeight);
}

void TZVMainForm::BitBtnClick(int button) { m_flow->BitBtnClick(button); }

void TZVMainForm::CancelBitBtnClick() { m_flow->CancelBitBtnClick(); }

void TZVMainForm::ShowLogBitBtnClick() { m_flow->ShowLogBitBtnClick(); }

void TZVMainForm::RepCheckBoxClick() {
  m_flow->RepCheckBoxClick(RepCheckBox->isChecked());
  Refresh(m_flow->Screen());
}

void TZVMainForm::ShowCorrectAnswer(const CorrectAnswerRequest& request) {
  if (!m_hint) {
    RunModal(nullptr, {ModalWindow::CorrectAnswer, {}, request.caption, request});
    return;
  }
  THintForm::Request r;
  r.verdict = request.verdict;
  r.blackButton = request.blackButtonVisible;
  r.caption = request.caption;
  r.interpretation = request.rightInterpretation;
  r.commentsOn = m_flow->CommentsOn();
  r.preBottomPanelTop = skin::PreBottomPanel.y;
  m_hint->ShowModal(r, request);
}

void TZVMainForm::ShowMark(int mark) {
  TMarkForm form(mark, m_flow->CommentsOn(), *m_context.System.Random, m_sound, this);
  form.ShowModal(mark);
}

void TZVMainForm::OpenProtocol() {
  if (!m_aid) {
    RunModal(nullptr, {ModalWindow::Protocol, {}, {}, {}});
    return;
  }
  QString saying;
  if (m_context.State.Sayings && m_catalogue.CountSayings() > 0)
    saying = cp1251::Decode(m_catalogue.DrawSaying(*m_context.State.Sayings));  // quoted, capitalised
  m_aid->ShowProtocol(m_protocol, saying);
}

void TZVMainForm::Schedule(int milliseconds, std::function<void()> continuation) {
  QTimer::singleShot(milliseconds, this, std::move(continuation));
}

void TZVMainForm::Beep() { QApplication::beep(); }

void TZVMainForm::CloseWindow() { close(); }

void TZVMainForm::MinimizeWindow() { showMinimized(); }

void TZVMainForm::ProcessPendingMessages() {
  // Paints and timers run; user input waits for the step in progress to end, so a click can
  // never start another step inside this one.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zv
