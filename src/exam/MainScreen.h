#pragma once
// MainScreen: what the main window shows, as plain values. The exam flow decides every
// caption, visibility, tag and colour here; TZVMainForm copies the model onto its widgets
// after each operation. Control names are the window's own.

#include <QString>

#include <array>
#include <cstdint>

namespace zv {

enum class GlyphKind { Question, Ok, Yes, Cancel };
enum class Presentation { TextAndSound = 0, TextOnly = 1, SoundOnly = 2 };
// Where the time-limit and sound groups sit: on the start screen, or in PreBottomPanel.
enum class GroupPlace { StartScreen, BottomPanel };
// CancelBitBtn: centred in BottomPanel, at its right edge (protocol button shown), or centred
// for the exam (with the glyph in front of the "в а т и т !" caption).
enum class CancelPlace { Centre, RightEdge, ExamCentre };
// The sound group's place in PreBottomPanel during an exam.
enum class SoundPlace { RightEdge, Centre };
enum class FocusTarget { None, BitBtn1, BitBtn5 };

struct AnswerButton {
  bool visible = false;
  bool panelVisible = false;
  QString caption;
  int tag = 0;
  GlyphKind kind = GlyphKind::Question;
};

inline constexpr int kStartTag = 16;  // BitBtn5's tag while it starts an exam

// The start screen's options as the settings keep them between runs.
struct ExamOptions {
  int viewIndex = 0;  // presentation: 0 text and sound, 1 text only, 2 sound only
  bool timeLimitOn = false;
  bool comments = true;  // sound comments
  bool ticTac = true;
  int timeLimitIndex = 10;  // the selected item of the time-limit list (5..45 s)
  int timeLimit = 15;       // the limit in force, seconds
  int tasksIndex = 0;       // the selected item of the exam-length list (5..50 tasks)
};

struct MainScreen {
  // Task panel.
  QString TaskLabel;
  bool TaskLabel1Visible = false;
  std::uint32_t TaskLabel1Colour = 0xC0C0C0;
  bool RepStatusLabelVisible = false;
  QString RepStatusLabel;
  std::uint32_t RepStatusLabelColour = 0x000000;
  QString RepComLabel;
  QString StatusLabel;
  bool StatusLabelVisible = true;
  QString DirStatusLabel;
  bool DirStatusLabelVisible = false;
  QString KeyGuideLabel;
  std::array<AnswerButton, 5> Buttons;

  // Start-screen groups.
  bool GenGroupBoxVisible = true;
  int GenComboBoxIndex = 0;  // tasks per exam = index + 5
  bool DirGroupBoxVisible = true;
  int DirComboBoxIndex = 0;
  bool DirComboBoxEnabled = true;

  bool TLGroupBoxVisible = true;
  GroupPlace TLGroupPlace = GroupPlace::StartScreen;
  bool TLCheckBoxChecked = false;
  bool TLCheckBoxVisible = true;
  QString TLLabel;
  bool TLLabelBold = false;
  int TLLabelTag = 0;
  int TLFirst = 5;  // the range of TLComboBox's items
  int TLLast = 45;
  int TLComboBoxIndex = 10;
  bool TLComboBoxEnabled = false;
  bool TictacCheckBoxChecked = true;
  bool TictacEnabled = false;  // TictacCheckBox and TicTacLabel
  bool TicTacLabelBold = true;

  bool RepGroupBoxVisible = true;
  QString RepGroupBoxHint;
  bool RepCheckBoxChecked = false;
  bool RepEnabled = false;  // RepCheckBox and RepLabel
  bool RepLabelBold = false;
  std::uint32_t RepLabelColour = 0x000080;
  QString RepInfoLabel;

  bool SoundGroupBoxVisible = true;
  GroupPlace SoundGroupPlace = GroupPlace::StartScreen;
  SoundPlace SoundGroupExamPlace = SoundPlace::Centre;
  bool SoundCheckBoxChecked = true;

  bool PreBottomPanelVisible = false;
  int CancelTag = 0;
  QString CancelCaption;
  QString CancelHint;
  CancelPlace CancelPlacement = CancelPlace::Centre;
  bool CancelVisible = true;
  bool ShowLogVisible = false;
  int SpeakerPanelTop = 14;
  bool SpeakerBitBtnVisible = false;
  bool SpeakerAnimateVisible = false;  // the speaker animation runs while a sound of the window plays
  bool TaskListVisible = true;
  QString TaskListHint;
  bool LiveUpdateVisible = true;

  bool FlashTimerOn = false;
  bool TLTimerOn = false;
  QString WindowCaption;
  FocusTarget Focus = FocusTarget::None;
  int FocusRequest = 0;  // advances whenever Focus is set anew; the window moves focus only then
};

// The main window's popup menu: the font item's caption and whether the copy item shows.
struct MainPopup {
  QString FontItem;
  bool CopyItemVisible = false;
};
// Opened on TaskLabel it offers the task font and, during an exam, copying the task; opened on
// the task panel or an answer button, the answer font.
MainPopup MainPopupFor(bool onTaskLabel, bool startScreen);

// Items of TLComboBox for a range: two blanks below 10, the number, " с".
QString TimeLimitItem(int seconds);
// Items of GenComboBox: "  5" ... "  9", "10" ... "50".
QString ExamLengthItem(int index);
QString PresentationName(int index);

}  // namespace zv
