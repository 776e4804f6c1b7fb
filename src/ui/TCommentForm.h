#pragma once
// TCommentForm: what the correct-answer and mark windows share about sound. With sound
// comments on, the window plays a comment of its case; when the comment has ended, the sound
// layer sends the window its end-of-sound message and the window shows SpeakerBitBtn ("Ещё
// раз"), which plays that same comment again (hiding itself until the replay has ended too).
// Closing stops a comment still playing.

#include "sound/SoundService.h"

#include <QDialog>
#include <QEvent>
#include <QPoint>

class QToolButton;

namespace zv {

class TCommentForm : public QDialog {
  Q_OBJECT

 public:
  QToolButton* SpeakerBitBtn = nullptr;

 protected:
  // `soundEndEvent` is the window's own end-of-sound message number.
  TCommentForm(SoundService& sound, QEvent::Type soundEndEvent, QWidget* parent);

  // Creates SpeakerBitBtn at `topLeft`, hidden until a comment has ended.
  void CreateSpeakerBitBtn(QPoint topLeft);
  // Plays a comment of `category` (only with comments on); "Ещё раз" replays this one.
  void PlayCaseComment(SoundCategory category);
  // Stops the comment (with comments on), as every way of closing the window does.
  void StopComment();

  bool event(QEvent* e) override;

  SoundService& m_sound;
  bool m_commentsOn = false;

 private:
  void SndEndMessage();
  void SpeakerBitBtnClick();
  SoundService::EndHandler EndNotice();

  QEvent::Type m_soundEndEvent;
  SoundCategory m_comment = SoundCategory::Right;
};

}  // namespace zv
