#pragma once
// TMarkForm: the window that shows the mark of a finished exam ("Итого").
//
// The exam creates it with the mark when the last answer has been judged, runs ShowModal and
// frees it. Marks 4 and 5 give its button the green glyph of the correct-answer window, marks
// 0 to 3 the black one; a 5 flashes in random colours every 256 ms until the window closes.
// With sound comments on, a comment for the mark is played at creation and, when it has ended,
// the "Ещё раз" button offers it again.
//
// What the caller passes: the mark (0..5; a value outside is shown as the nearer end), the
// exam's "sound comments on" flag, the random source for the flashing colours, the sound layer
// and the main window as parent (the window is centred on it). RandomSource and SoundService
// must outlive the window.

#include "exam/MarkLook.h"
#include "ui/TCommentForm.h"

#include <any>

class QLabel;
class QPushButton;
class QTimer;

namespace zv {

class RandomSource;

class TMarkForm : public TCommentForm {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 266;
  static constexpr int kClientHeight = 103;
  static constexpr int kFlashIntervalMs = 256;
  // The end-of-sound message of this window (user message base 1024 + 2).
  static constexpr QEvent::Type kSoundEndEvent = static_cast<QEvent::Type>(1026);

  TMarkForm(int mark, bool commentsOn, RandomSource& random, SoundService& sound, QWidget* parent);
  ~TMarkForm() override;

  // Runs the window modally (centred on the parent, through RunModal: a test's ModalHook
  // receives `details`); returns the dialog result.
  int ShowModal(std::any details = {});
  // Shows it centred without blocking (tests, screenshots).
  void Open();

  // Enter, Esc, BitBtn1 and closing the window end here: the playing comment is stopped
  // (comments on) and the window closes.
  void reject() override;
  void done(int result) override;

  // The controls, under the names the system gives them.
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  // SpeakerBitBtn ("Ещё раз") comes with TCommentForm.
  QTimer* MarkTimer = nullptr;

  const MarkLook& Look() const { return m_look; }

 private:
  void FormCreate();
  void BitBtn1Click();
  void MarkTimerTimer();
  void CentreOnParent();

  RandomSource& m_random;
  MarkLook m_look;
};

}  // namespace zv
