#pragma once
// TZVMainForm: the main window — the skinned frame with the start screen and the running exam.
//
// Every decision is the ExamFlow's: this window creates the controls under their own names,
// forwards their events to the flow (BitBtn1..5, CancelBitBtn, the timers, the check boxes) and
// copies the flow's MainScreen model onto the controls whenever the flow asks (Refresh). It is
// the flow's ExamView: it runs the correct-answer window, the mark window and the protocol
// window modally through RunModal (ui/ModalRun.h; a test's ModalHook answers them), schedules the flow's waits on
// single-shot timers and beeps.
//
// Creation continues the start-up: the controls take their colours from the skin, the settings
// are read from the program key, the sound outcome is applied ("Нет звукового оборудования"
// while the engine does not work: presentation "только текст", DirComboBox disabled, the volume
// bar hidden and therefore Volume not written), the progress and splash windows are freed, the
// arrow-key hook is installed and the start screen shown. Closing writes the settings and the
// selectors' states back (once).

#include "exam/ExamFlow.h"
#include "exam/Protocol.h"
#include "shell/FontEditor.h"
#include "shell/MainSettings.h"
#include "tasks/ProgressExport.h"
#include "tasks/TaskCatalogue.h"
#include "ui/SkinnedForm.h"
#include "ui/UpdateWindowLink.h"
#include "update/AutoCheckup.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QAction;
class QTimer;

namespace zv {

class SoundService;
class TAidForm;
class THintForm;
class TBitBtn;
class TTrackBar;
struct TrainerContext;

// Ticks and wall time of the running process.
class SystemExamClock final : public ExamClock {
 public:
  std::uint32_t TickCount() override;
  QDateTime Now() override;
};

class TZVMainForm : public SkinnedForm, public ExamView {
  Q_OBJECT
 public:
  // The window presents the context's system, state and start-up windows; `sound` and the
  // context outlive it. `skin` replaces the built-in skin (tests).
  TZVMainForm(TrainerContext& context, SoundService& sound, QWidget* parent = nullptr);
  ~TZVMainForm() override;

  // The windows created after this one (both live until the program ends).
  void SetAidForm(TAidForm* aid);
  void SetHintForm(THintForm* hint);

  ExamFlow& Flow() { return *m_flow; }
  ProtocolDocument& Protocol() { return m_protocol; }
  const MainSettings& Settings() const { return m_settings; }

  // ExamView.
  void Refresh(const MainScreen& screen) override;
  void ShowCorrectAnswer(const CorrectAnswerRequest& request) override;
  void ShowMark(int mark) override;
  void OpenProtocol() override;
  void Schedule(int milliseconds, std::function<void()> continuation) override;
  void Beep() override;
  void CloseWindow() override;
  void MinimizeWindow() override;
  void ProcessPendingMessages() override;

  // The stored states of every selector of this run, for the progress file: the start-up
  // selectors, the correct-answer window's and what each AddSelectorStates source adds (the
  // sound layer, for the categories it loaded).
  std::vector<SelectorState> SelectorStates();
  void AddSelectorStates(std::function<std::vector<SelectorState>()> states);

  // The list button: hides this window, builds the list behind a progress window, shows it
  // and, when it closes, shows this window with its start screen rebuilt.
  void TaskListBitBtnClick();

  // Writes the settings and selector states (the first call only; closing calls it).
  void FormClose();

  // The internet update (TZVMainFormUpdate.cpp). The button hides this window while the
  // update window is open; the timer leaves it shown. When the update window hands over to
  // the installers, this window closes as the program's end.
  void SetUpdateWindowLink(std::unique_ptr<UpdateWindowLink> link);
  void LiveUpdateBitBtnClick(UpdateOpening sender);
  void UpdateCheckupTimerTimer();
  // The automatic check's state; the update window's controls change it.
  AutoCheckup& Checkup() { return m_checkup; }
  void SetAutoCheckupEnabled(bool enabled);
  bool UpdateWindowOpen() const { return m_updateByUser || m_updateByTimer; }
  TrainerContext& Context() { return m_context; }
  const SoundService& Sound() const { return m_sound; }

  // The controls, under the names the system gives them.
  QFrame* TaskPanel = nullptr;
  QLabel* TaskLabel = nullptr;
  QLabel* TaskLabel1 = nullptr;
  QLabel* RepStatusLabel = nullptr;
  QLabel* RepComLabel = nullptr;
  QFrame* StatusPanel = nullptr;
  QLabel* StatusLabel = nullptr;
  QFrame* DirStatusPanel = nullptr;
  QLabel* DirStatusLabel = nullptr;
  QLabel* KeyGuideLabel = nullptr;
  std::array<QFrame*, 5> BitBtnPanels{};  // BitBtn1Panel .. BitBtn5Panel
  std::array<TBitBtn*, 5> BitBtns{};      // BitBtn1 .. BitBtn5
  QGroupBox* GenGroupBox = nullptr;
  QLabel* GenLabel = nullptr;
  QComboBox* GenComboBox = nullptr;
  QGroupBox* DirGroupBox = nullptr;
  QLabel* DirLabel = nullptr;
  QComboBox* DirComboBox = nullptr;
  QGroupBox* TLGroupBox = nullptr;
  QCheckBox* TLCheckBox = nullptr;
  QLabel* TLLabel = nullptr;
  QComboBox* TLComboBox = nullptr;
  QCheckBox* TictacCheckBox = nullptr;
  QLabel* TicTacLabel = nullptr;
  QGroupBox* RepGroupBox = nullptr;
  QCheckBox* RepCheckBox = nullptr;
  QLabel* RepLabel = nullptr;
  QLabel* RepInfoLabel = nullptr;
  QGroupBox* SoundGroupBox = nullptr;
  QCheckBox* SoundCheckBox = nullptr;
  QLabel* SoundLabel = nullptr;
  TTrackBar* VolumeTrackBar = nullptr;
  QFrame* PreBottomPanel = nullptr;
  QFrame* BottomPanel = nullptr;
  TBitBtn* CancelBitBtn = nullptr;
  TBitBtn* ShowLogBitBtn = nullptr;
  QFrame* SpeakerPanel = nullptr;
  TBitBtn* SpeakerBitBtn = nullptr;
  QLabel* SpeakerAnimate = nullptr;
  QTimer* TLTimer = nullptr;
  QTimer* FlashTimer = nullptr;
  QTimer* UpdateCheckupTimer = nullptr;
  QMenu* MainPopupMenu = nullptr;
  QAction* FontItem = nullptr;
  QAction* CopyItem = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void CreateControls();
  void ColourFromSkinAtCreation();
  void ColourFromSkinOnStartScreen();
  void ApplySettings();
  void ApplySoundOutcome();
  void CollectSettings();

  // Handlers.
  void BitBtnClick(int button);
  void CancelBitBtnClick();
  void ShowLogBitBtnClick();
  void SpeakerBitBtnClick();
  void TLCheckBoxClick();
  void TictacCheckBoxClick();
  void RepCheckBoxClick();
  void SoundCheckBoxClick();
  void MainPopupMenuPopup(QWidget* on, QPoint globalPos);
  void CopyItemClick();
  void FontItemClick();
  void InfoBitBtnClick();  // the about window, also on F1
  // The automatic check from the settings read at creation.
  void StartUpdateCheckup();
  // The target's font on all its widgets: both task labels, or the five answer buttons.
  void ApplyFont(FontTarget target, const FontChoice& font);
  // Arrow keys move the focus among the buttons (application-wide hook).
  bool HandleMessages(QObject* watched, QEvent* event);

  void PlaceTimeLimitGroup(const MainScreen& s);
  void PlaceSoundGroup(const MainScreen& s);
  void PlaceCancelButton(const MainScreen& s);
  void RebuildTimeLimitItems(int first, int last);

  TrainerContext& m_context;
  SoundService& m_sound;
  TaskCatalogue m_catalogue;
  ProtocolDocument m_protocol;
  SystemExamClock m_clock;
  std::unique_ptr<ExamFlow> m_flow;
  MainSettings m_settings;
  QPointer<TAidForm> m_aid;
  QPointer<THintForm> m_hint;
  std::vector<std::function<std::vector<SelectorState>()>> m_moreSelectorStates;
  SystemWallClock m_wallClock;
  AutoCheckup m_checkup{m_wallClock};
  std::unique_ptr<UpdateWindowLink> m_updateLink;
  bool m_updateByUser = false;
  bool m_updateByTimer = false;

  bool m_created = false;
  bool m_closed = false;
  bool m_refreshing = false;  // controls set by Refresh do not report back to the flow
  bool m_startScreenColoured = false;
  FontTarget m_fontTarget = FontTarget::Answers;  // where the popup menu was opened
  int m_appliedFocusRequest = -1;
  int m_tlFirst = -1;
  int m_tlLast = -1;
};

}  // namespace zv
