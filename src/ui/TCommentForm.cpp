#include "ui/TCommentForm.h"

#include "ui/HintGlyphs.h"
#include "ui/SoundEndNotice.h"

#include <QToolButton>

namespace zv {

TCommentForm::TCommentForm(SoundService& sound, QEvent::Type soundEndEvent, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_sound(sound),
      m_soundEndEvent(soundEndEvent) {}

void TCommentForm::CreateSpeakerBitBtn(QPoint topLeft) {
  SpeakerBitBtn = new QToolButton(this);
  SpeakerBitBtn->setObjectName(QStringLiteral("SpeakerBitBtn"));
  SpeakerBitBtn->setGeometry(topLeft.x(), topLeft.y(), 46, 46);
  SpeakerBitBtn->setFont(ArialFont(9, true, false));
  SpeakerBitBtn->setIcon(SpeakerGlyphIcon());
  SpeakerBitBtn->setIconSize(QSize(kSpeakerGlyphSize, kSpeakerGlyphSize));
  SpeakerBitBtn->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  SpeakerBitBtn->setFocusPolicy(Qt::TabFocus);
  SpeakerBitBtn->setPalette(QPalette(QColor(0xEC, 0xEC, 0xE8)));
  SpeakerBitBtn->setAutoFillBackground(true);
  SpeakerBitBtn->setText(QStringLiteral("Ещё раз"));
  SpeakerBitBtn->hide();
  connect(SpeakerBitBtn, &QToolButton::clicked, this, &TCommentForm::SpeakerBitBtnClick);
}

void TCommentForm::PlayCaseComment(SoundCategory category) {
  m_comment = category;
  if (m_commentsOn) m_sound.PlayComment(category, false, EndNotice());
}

void TCommentForm::StopComment() {
  if (m_commentsOn) m_sound.Stop();
}

SoundService::EndHandler TCommentForm::EndNotice() { return SoundEndNotice(this, m_soundEndEvent); }

bool TCommentForm::event(QEvent* e) {
  if (e->type() == m_soundEndEvent) {
    SndEndMessage();
    return true;
  }
  return QDialog::event(e);
}

void TCommentForm::SndEndMessage() {
  if (m_commentsOn) SpeakerBitBtn->show();
}

void TCommentForm::SpeakerBitBtnClick() {
  SpeakerBitBtn->hide();
  m_sound.PlayComment(m_comment, true, EndNotice());
}

}  // namespace zv
