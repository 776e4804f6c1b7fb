// The main window's sound: the outcome of the sound start, the comments box, "Ещё раз" and the
// sound group's place.

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
#include "ui/SpeakerAnimation.h"
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

void TZVMainForm::ApplySoundOutcome() {
  SoundGroupBox->setTitle(QString());
  if (m_sound.EngineWorks()) {
    SoundLabel->setProperty("tag", 1);
    new SpeakerAnimation(SpeakerAnimate);  // the animation "speaker"
    m_sound.SetVolume(VolumeTrackBar->value());
    VolumeTrackBar->show();
    SoundCheckBoxClick();
    if (!m_sound.CommentsLoaded()) {
      SoundCheckBox->hide();
      VolumeTrackBar->hide();
      SoundLabel->setGeometry(kSoundLabelAlone);
      SoundLabel->setText(Lines(S("Нет файлов\r\nзвуковых комментариев")));
      SoundLabel->setToolTip(S("Используйте кнопку \"Интернет-обновление\"!"));
      SoundLabel->setProperty("tag", 0);
      SoundLabel->unsetCursor();
    }
    m_flow->SetSoundHardware(true, m_sound.AllVoicedTasksPresent());
  } else {
    SoundCheckBox->hide();
    VolumeTrackBar->hide();
    SoundLabel->setGeometry(kSoundLabelAlone);
    SoundLabel->setAlignment(Qt::AlignCenter);
    SoundLabel->setText(S("Нет звукового оборудования"));
    SoundLabel->setProperty("tag", 0);
    SoundLabel->unsetCursor();
    SetTextColour(SoundLabel, 0x6E6E6E);
    m_flow->SetSoundHardware(false);
  }
}

void TZVMainForm::SoundCheckBoxClick() {
  m_flow->SoundCheckBoxClick(SoundCheckBox->isChecked());
  SetBold(SoundLabel, SoundCheckBox->isChecked());
  if (m_created) Refresh(m_flow->Screen());
}

void TZVMainForm::SpeakerBitBtnClick() { m_flow->SpeakerBitBtnClick(); }

void TZVMainForm::PlaceSoundGroup(const MainScreen& s) {
  QWidget* const parent = s.SoundGroupPlace == GroupPlace::StartScreen ? static_cast<QWidget*>(this) : PreBottomPanel;
  if (SoundGroupBox->parentWidget() != parent) {
    SoundGroupBox->setParent(parent);
    VolumeTrackBar->RefreshTicks();  // the bar moved between the start screen and the exam
  }
  if (parent == this) {
    SoundGroupBox->setGeometry(ToQRect(skin::SoundGroupBox));
    return;
  }
  const int width = skin::SoundGroupBox.width;
  const int left = s.SoundGroupExamPlace == SoundPlace::RightEdge ? skin::PreBottomPanel.width - width - kEdgeGap
                                                                  : (skin::PreBottomPanel.width - width) / 2;
  SoundGroupBox->setGeometry(left, kSoundExamTop, width, skin::SoundGroupBox.height);
}

}  // namespace zv
