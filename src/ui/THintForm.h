#pragma once
// THintForm: the small modal window shown after every answer of an exam.
//
// Its colour tells the case: fuchsia with blue lettering after a right answer, black with
// silver after a wrong one, navy with aqua after a time-out. It shows a remark of that case,
// after a wrong answer or a time-out also the right interpretation (which jerks in a small
// loop), and a closing button whose caption is itself a remark. With sound comments on it plays
// a comment of the case and, when the comment has ended, offers to play it again ("Ещё раз").
// The texts, the case and the draws are decided by HintPhrases; this class only applies them.
//
// Lifetime: the main window creates it once at start-up and keeps it until the program ends.
// Creating it restores the four remark selectors from the registry (HeartOC, HeartYC, HeartNC,
// HeartTC); destroying it stores them. The Registry, RandomSource and SoundService passed in
// must outlive the window.
//
// What the exam passes for each showing (Request):
//   verdict          right answer, wrong answer or time-out: the window takes its colour
//                    (fuchsia, black, navy) and the remark's lettering (blue, silver, aqua)
//                    from ColoursOf, its remark and comment from the verdict's lists;
//   blackButton      true for wrong and time-out: HintBitBtn0 (black lettering) replaces the
//                    green HintBitBtn while shown;
//   caption          the window title, D + "/" + N + " экзамена позади. " + W + " ответов: " + R;
//   interpretation   interpretation 1 (the right one) of the current task, first letter
//                    already in upper case as the exam shows it;
//   commentsOn       the exam's "sound comments on" flag;
//   preBottomPanelTop the top of the main window's PreBottomPanel (client pixels), used only to
//                    place the window on its first showing. The main window is the parent
//                    given at construction.
// ShowModal returns when the user closes the window (Enter, Esc or either button); it then
// hides HintBitBtn0 again and the window is hidden, as the exam expects.

#include "exam/HintLayout.h"
#include "exam/HintPhrases.h"
#include "ui/TCommentForm.h"

#include <QString>

#include <any>
#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;

namespace zv {

class RandomSource;
class Registry;

class THintForm : public TCommentForm {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 355;
  static constexpr int kClientHeight = 111;
  static constexpr int kJerkIntervalMs = 256;
  // The end-of-sound message of this window (user message base 1024 + 3).
  static constexpr QEvent::Type kSoundEndEvent = static_cast<QEvent::Type>(1027);

  struct Request {
    HintCase verdict = HintCase::Right;
    bool blackButton = false;
    QString caption;
    QString interpretation;
    bool commentsOn = false;
    int preBottomPanelTop = 0;
  };

  THintForm(Registry& registry, RandomSource& random, SoundService& sound, QWidget* parent);
  ~THintForm() override;

  // Prepares the showing and runs the window modally (through RunModal: a test's ModalHook
  // receives `details`); returns the dialog result.
  int ShowModal(const Request& request, std::any details = {});
  // The same preparation, then shows the window without blocking (tests, screenshots).
  void Open(const Request& request);
  // HintBitBtn0 shown over (in place of) HintBitBtn, or hidden.
  void SetBlackButtonVisible(bool visible);

  // Enter, Esc, either button and closing the window all end here: the playing comment is
  // stopped (comments on) and the window closes.
  void reject() override;
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  // The controls, under the names the system gives them.
  QLabel* HintLabel = nullptr;
  QLabel* TrueLabel = nullptr;
  QPushButton* HintBitBtn = nullptr;
  QPushButton* HintBitBtn0 = nullptr;
  // SpeakerBitBtn ("Ещё раз") comes with TCommentForm.
  QTimer* JerkTimer = nullptr;

  HintPhrases& Phrases() { return m_phrases; }

 private:
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void HintBitBtn0Click();
  void JerkTimerTimer();

  void Apply(const Request& request);
  void LayOutTexts();
  void SetRemark(const QString& text, int room);
  void SetInterpretation(const QString& text, int room);

  Registry& m_registry;
  HintPhrases m_phrases;
  TrueLabelJerk m_jerk;
  bool m_firstShowing = true;
  int m_preBottomPanelTop = 0;
  QString m_interpretation;
  HintCase m_verdict = HintCase::Right;
  HintShowing m_showing;
};

}  // namespace zv
