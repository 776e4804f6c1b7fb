#pragma once
// ExamFlow: the start screen, the running exam, answer evaluation and marks, the time limit,
// the protocol and consolidation — every decision of the main window, made on a MainScreen
// model and told to an ExamView. TZVMainForm implements the view and forwards its handlers
// (BitBtn5Click, CancelBitBtnClick, TLTimerTimer, FlashTimerTimer, ...) here.
//
// Waits that the window would sleep through (512 ms before the start comment, 20 ms a
// character before the voiced task, 64 ms in a countdown step) are scheduled continuations;
// each belongs to the exam step that scheduled it and is dropped when that step is over.

#include "exam/ExamStatistics.h"
#include "exam/HintPhrases.h"
#include "exam/MainScreen.h"
#include "exam/Protocol.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace zv {

class RandomSource;
class SoundService;
class TSmartRand;
class TaskCatalogue;
struct TaskRecord;

// What the correct-answer window is asked to show: the verdict decides its colours, remark
// and comment.
struct CorrectAnswerRequest {
  HintCase verdict = HintCase::Right;
  bool blackButtonVisible = false;
  QString caption;
  QString rightInterpretation;
};

class ExamView {
 public:
  virtual ~ExamView() = default;
  virtual void Refresh(const MainScreen& screen) = 0;
  virtual void ShowCorrectAnswer(const CorrectAnswerRequest& request) = 0;  // modal
  virtual void ShowMark(int mark) = 0;                                      // modal
  virtual void OpenProtocol() = 0;                                          // modal
  virtual void Schedule(int milliseconds, std::function<void()> continuation) = 0;
  virtual void Beep() = 0;
  virtual void CloseWindow() = 0;
  virtual void MinimizeWindow() = 0;
  virtual void ProcessPendingMessages() {}
};

// Time as the exam reads it: a millisecond tick count and the wall clock.
class ExamClock {
 public:
  virtual ~ExamClock() = default;
  virtual std::uint32_t TickCount() = 0;
  virtual QDateTime Now() = 0;
};

struct ExamEnvironment {
  ExamView& view;
  const TaskCatalogue& catalogue;
  TSmartRand& tasks;
  TSmartRand& remarks;
  RandomSource& random;
  SoundService& sound;
  ExamClock& clock;
  ProtocolDocument& protocol;
  ExamStatistics& statistics;
  QChar decimalSeparator = QLatin1Char(',');
  bool isXPOrOlder = false;
  std::optional<int> fixedTask;        // "fn<k>" on the command line
  QLocale locale = QLocale::system();  // the protocol's date and time formats
};

class ExamFlow {
 public:
  explicit ExamFlow(ExamEnvironment env);

  const MainScreen& Screen() const { return m_screen; }

  // The options kept in the settings: applied once at creation, collected at closing.
  void ApplyOptions(const ExamOptions& options);
  ExamOptions Options() const;

  // The outcome of the sound start. Without hardware, or with voiced tasks missing, the
  // presentation is "только текст" and cannot be changed.
  void SetSoundHardware(bool present, bool allVoicedTasks = true);
  bool SoundHardware() const { return m_soundHardware; }
  // Comments are played: the box is ticked and the engine has them.
  bool CommentsOn() const;
  // The limit in force (written back as TimeLimit); selects its item when it is one.
  void SetTimeLimit(int seconds);
  int TimeLimit() const { return m_limit; }

  // Handlers.
  void ShowStartScreen();
  void BitBtnClick(int button);  // 1..5
  void CancelBitBtnClick();
  void ExitBitBtnClick();
  void TLTimerTimer();
  void FlashTimerTimer();
  // The options' handlers carry the control's new value.
  void TLCheckBoxClick(bool checked);
  void TictacCheckBoxClick(bool checked);
  void RepCheckBoxClick(bool checked);
  void SoundCheckBoxClick(bool checked);  // "Ещё раз" on view goes with the comments
  void GenComboBoxChange(int index);
  void DirComboBoxChange(int index);
  void TLComboBoxChange(int index);
  void ShowLogBitBtnClick();
  void SpeakerBitBtnClick();
  void AfterQuestSnd();

  // State read by the window, the task list and the settings.
  bool OnStartScreen() const { return m_startScreen; }
  bool ProtocolAvailable() const { return m_protocolAvailable; }
  void ClearProtocolAvailable() { m_protocolAvailable = false; }
  int Mark() const { return m_mark; }
  bool LastExamWasConsolidation() const { return m_lastWasConsolidation; }
  int CurrentTask() const { return m_currentTask; }
  int TasksPerExam() const { return m_screen.GenComboBoxIndex + 5; }
  int RightAnswers() const { return m_right; }
  const QString& Phrase() const { return m_record[0]; }

  // Texts of the exam, for tests and the window.
  static const QStringList& ResultMessages();
  static const QStringList& CountingWords();
  static QString NegateMessage(const QString& message);
  static QString Continuation(const QString& negated);

 private:
  void StartExam();
  void PresentTask();
  int FetchTask();
  int TakeRecord(const TaskRecord& record, int n);  // the record of the current task, decoded
  void ArmCountdown();                              // after the task is shown (and voiced): the time limit starts
  void JudgeAnswer(int button);                     // 0: time-out
  void CheckConsolidationAvailability();
  // What the option boxes enable and highlight, from their state in the model.
  void ApplyTimeLimitBox();
  void ApplyTictacBox();
  void ApplyRepBox();
  void CheckPoolEmpty();
  void WriteHeader();
  void WriteSummary();
  void Write(const QString& text, RunStyle style, std::uint32_t colour);
  void SetTimeLimitRange(int first, int last, int index);
  void PlaceTimeLimitInExam();
  void StepCountdown();
  // The start comment or the voiced task of the main window: the animation runs, "Ещё раз"
  // waits for the end (AfterQuestSnd).
  void PlayStartComment(bool replay);
  void PlayVoicedTask();
  void ShowSpeakerPlaying();  // the animation runs, "Ещё раз" hides
  // Stops the current sound; the animation and "Ещё раз" go.
  void StopSound();
  // A task the bank holds that the round has not passed yet, taken in order; 0 when none.
  int FirstUnpassedHeldTask();
  QString TimeOfDay();
  void Refresh() { m_env.view.Refresh(m_screen); }
  // A continuation that runs only if the exam step that scheduled it is still current.
  void After(int ms, std::function<void()> action);

  ExamEnvironment m_env;
  MainScreen m_screen;
  bool m_soundHardware = false;
  int m_remaining = 0;
  int m_right = 0;
  int m_mark = 0;
  bool m_consolidation = false;
  bool m_lastWasConsolidation = false;
  bool m_startScreen = true;
  bool m_limitActive = false;
  int m_limit = 15;
  int m_secondsLeft = 0;
  bool m_break = false;
  bool m_protocolAvailable = false;
  std::uint32_t m_examStartTick = 0;
  std::uint32_t m_taskShownTick = 0;
  int m_currentTask = 0;
  int m_examTasks = 5;  // N of the running exam
  std::array<QString, 6> m_record;
  int m_interpretations = 0;
  std::uint64_t m_step = 0;  // advances whenever a scheduled wait must be dropped
};

}  // namespace zv
