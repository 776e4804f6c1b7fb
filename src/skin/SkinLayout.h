#pragma once
// SkinLayout: where the main window's controls sit on the skin, in window pixels.
//
// The skin artwork (content/skin/skin.svg) is drawn around these rectangles: under every
// panel and group lies a flat, calm colour that reaches past the rectangle far enough for the
// colour sampling rules below, so a panel coloured from the skin blends with it. The skin
// renderer (tools/skin) checks at build time that every rectangle lies inside the window's
// shape and that every sampling point used by a control sits on flat colour; change the
// artwork and these numbers together.
//
// Plain ints only, no Qt: the layout is shared by the core, the windows and the build tool.
// A rectangle is x, y, width, height; it covers columns x .. x + width - 1.
//
// Zones of the artwork, top to bottom:
//   header      y   0.. 53  title (left), speaker panel (middle), caption buttons (right, on a
//                           lower ledge); flat light warm-grey where the speaker panel sits
//   status      y  55.. 78  cool strip under StatusPanel and DirStatusPanel
//   task card   y  81..191  warm ivory card under TaskPanel (the phrase is bold purple)
//   key guide   y 193..210  body colour; KeyGuideLabel lies directly on it
//   lower card  y 212..422  pale cool card: the five answer rows during an exam, the option
//                           groups on the start screen, PreBottomPanel at its foot
//   footer      y 423..463  body colour: BottomPanel with CancelBitBtn and ShowLogBitBtn

namespace zv {

struct SkinPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(SkinPoint, SkinPoint) = default;
};

struct SkinRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  constexpr int right() const { return x + width; }    // one past the last column
  constexpr int bottom() const { return y + height; }  // one past the last row
  constexpr SkinRect movedTo(int left, int top) const { return {left, top, width, height}; }
  friend constexpr bool operator==(SkinRect, SkinRect) = default;
};

// The fixed points at which a control takes its background colour from the skin.
enum class SkinSample {
  BelowLeft,     // left edge, one row below the bottom edge (TaskPanel, TaskListPanel, BitBtnNPanel)
  TopLeft,       // top-left corner (StatusPanel, GenGroupBox, TLGroupBox)
  BelowRight,    // one column right of the right edge, one row below the bottom edge (SpeakerPanel)
  BelowQuarter,  // a quarter of the width from the left, one row below the bottom edge
                 // (BottomPanel while the protocol button is hidden)
  TopHalf,       // half the width from the left, at the top edge (BottomPanel with the protocol button)
  TopQuarter,    // a quarter of the width from the left, at the top edge (PreBottomPanel)
};

constexpr SkinPoint SkinSamplePoint(SkinRect r, SkinSample rule) {
  switch (rule) {
    case SkinSample::BelowLeft:
      return {r.x, r.bottom()};
    case SkinSample::TopLeft:
      return {r.x, r.y};
    case SkinSample::BelowRight:
      return {r.right(), r.bottom()};
    case SkinSample::BelowQuarter:
      return {r.x + r.width / 4, r.bottom()};
    case SkinSample::TopHalf:
      return {r.x + r.width / 2, r.y};
    case SkinSample::TopQuarter:
      return {r.x + r.width / 4, r.y};
  }
  return {r.x, r.y};
}

namespace skin {

// The window and its skin bitmap.
inline constexpr int kWidth = 580;
inline constexpr int kHeight = 468;
// Everything of this colour is outside the window's shape; it is also the window's background.
inline constexpr int kKeyRed = 2, kKeyGreen = 4, kKeyBlue = 8;

// --- Header -----------------------------------------------------------------------------
// The embossed title "Зорвик 1500": VersionLabel and VersionLabel1 are centred in this area.
inline constexpr SkinRect TitleArea{22, 4, 180, 48};
// SpeakerPanel (SpeakerBitBtn "Ещё раз" and SpeakerAnimate), centred on the window. It sits in
// the header (top 14) on every start screen and in the exam, and drops into the empty task card
// (top 150) in the mode "только звук". Sampled BelowRight at top 14.
inline constexpr SkinRect SpeakerPanel{240, 14, 100, 34};
inline constexpr int SpeakerPanelLowTop = 150;
inline constexpr SkinRect SpeakerPanelLow = SpeakerPanel.movedTo(SpeakerPanel.x, SpeakerPanelLowTop);
// The caption buttons, 22 x 20 each, left to right on the rounded strip of the header's ledge.
inline constexpr SkinRect CaptionStrip{418, 15, 138, 30};
inline constexpr SkinRect TaskListBitBtn{424, 20, 22, 20};    // task list (hint set by the main window)
inline constexpr SkinRect LiveUpdateBitBtn{450, 20, 22, 20};  // "Интернет-обновление"
inline constexpr SkinRect InfoBitBtn{476, 20, 22, 20};        // "О программе"
inline constexpr SkinRect MinimizeBitBtn{502, 20, 22, 20};    // "Свернуть"
inline constexpr SkinRect ExitBitBtn{528, 20, 22, 20};        // "Закрыть"
// Optional backing panels of the two buttons that the exam hides, exactly under the buttons
// (sampled BelowLeft; both give the strip's colour).
inline constexpr SkinRect TaskListPanel = TaskListBitBtn;
inline constexpr SkinRect LiveUpdatePanel = LiveUpdateBitBtn;

// --- Status line --------------------------------------------------------------------------
// StatusPanel/StatusLabel: "Суть тренажёра-экзаменатора:" / "1/5 экзамена. Верных ответов: 0".
inline constexpr SkinRect StatusPanel{20, 57, 330, 20};
// DirStatusPanel/DirStatusLabel: the presentation mode during an exam, right of the status.
inline constexpr SkinRect DirStatusPanel{350, 57, 210, 20};

// --- Task card ----------------------------------------------------------------------------
// TaskPanel with TaskLabel/TaskLabel1 (the phrase, bold purple, word-wrapped, centred),
// RepStatusLabel (right-aligned) and RepComLabel (left) along its top.
inline constexpr SkinRect TaskPanel{20, 84, 540, 106};
// KeyGuideLabel ("Ваш выбор:", "Нажмите кнопку с правильным толкованием фразы"), on the body.
inline constexpr SkinRect KeyGuideLabel{20, 193, 540, 18};

// --- Lower card ---------------------------------------------------------------------------
// BitBtn1Panel .. BitBtn5Panel, one answer button each; rows 31 pixels apart. BitBtn5Panel
// also holds the start button on the start screen.
inline constexpr int AnswerRowTop = 214;
inline constexpr int AnswerRowStep = 31;
inline constexpr SkinRect AnswerRow(int index) {  // index 0..4 = BitBtn1Panel .. BitBtn5Panel
  return {20, AnswerRowTop + AnswerRowStep * index, 540, 28};
}
inline constexpr SkinRect BitBtn1Panel = AnswerRow(0);
inline constexpr SkinRect BitBtn2Panel = AnswerRow(1);
inline constexpr SkinRect BitBtn3Panel = AnswerRow(2);
inline constexpr SkinRect BitBtn4Panel = AnswerRow(3);
inline constexpr SkinRect BitBtn5Panel = AnswerRow(4);

// Start-screen option groups, over the rows that the start screen hides (BitBtn1..4Panel).
// The first row (GenGroupBox, DirGroupBox, SoundGroupBox) shares its top and its height.
// GenGroupBox: GenLabel "Количество\r\nзаданий в экзамене" and GenComboBox.
inline constexpr SkinRect GenGroupBox{27, 236, 168, 44};
// DirGroupBox: DirLabel "Представление заданий" and DirComboBox.
inline constexpr SkinRect DirGroupBox{201, 236, 155, 44};
// SoundGroupBox: SoundCheckBox, SoundLabel and VolumeTrackBar. Moves into PreBottomPanel
// during an exam (top 8 there).
inline constexpr SkinRect SoundGroupBox{362, 236, 191, 44};
// TLGroupBox: the time limit (TLCheckBox, TLLabel, TLComboBox, TictacCheckBox, TicTacLabel).
// Moves into PreBottomPanel during an exam (top 4 there).
inline constexpr SkinRect TLGroupBox{27, 286, 220, 46};
// RepGroupBox: RepCheckBox, RepLabel " Закрепление пройденного " and the two-line RepInfoLabel.
inline constexpr SkinRect RepGroupBox{253, 286, 300, 46};

// PreBottomPanel: hidden on the start screen; during an exam it takes the time-limit group
// (top 4, left 8) and the sound group (top 8, right edge less 8). The correct-answer window
// opens over the window from this panel's top down.
inline constexpr SkinRect PreBottomPanel{20, 370, 540, 52};

// --- Footer -------------------------------------------------------------------------------
// BottomPanel: CancelBitBtn (centred, or 8 pixels in from the right edge) and ShowLogBitBtn.
inline constexpr SkinRect BottomPanel{20, 424, 540, 36};

// Every control rectangle with the sampling rule the main window applies to it; the skin
// renderer checks each point against the artwork.
struct SampledControl {
  const char* name;
  SkinRect rect;
  SkinSample rule;
};
inline constexpr SampledControl kSampledControls[] = {
    {"TaskPanel", TaskPanel, SkinSample::BelowLeft},
    {"TaskListPanel", TaskListPanel, SkinSample::BelowLeft},
    {"LiveUpdatePanel", LiveUpdatePanel, SkinSample::BelowLeft},
    {"BitBtn1Panel", BitBtn1Panel, SkinSample::BelowLeft},
    {"BitBtn2Panel", BitBtn2Panel, SkinSample::BelowLeft},
    {"BitBtn3Panel", BitBtn3Panel, SkinSample::BelowLeft},
    {"BitBtn4Panel", BitBtn4Panel, SkinSample::BelowLeft},
    {"BitBtn5Panel", BitBtn5Panel, SkinSample::BelowLeft},
    {"StatusPanel", StatusPanel, SkinSample::TopLeft},
    {"DirStatusPanel", DirStatusPanel, SkinSample::TopLeft},
    {"GenGroupBox", GenGroupBox, SkinSample::TopLeft},
    {"DirGroupBox", DirGroupBox, SkinSample::TopLeft},
    {"SoundGroupBox", SoundGroupBox, SkinSample::TopLeft},
    {"TLGroupBox", TLGroupBox, SkinSample::TopLeft},
    {"RepGroupBox", RepGroupBox, SkinSample::TopLeft},
    {"SpeakerPanel", SpeakerPanel, SkinSample::BelowRight},
    {"BottomPanel", BottomPanel, SkinSample::BelowQuarter},
    {"BottomPanel", BottomPanel, SkinSample::TopHalf},
    {"PreBottomPanel", PreBottomPanel, SkinSample::TopQuarter},
};

// Rectangles that must lie wholly inside the window's shape (besides the sampled ones).
inline constexpr SkinRect kInsideShape[] = {TitleArea,
                                            SpeakerPanelLow,
                                            CaptionStrip,
                                            TaskListBitBtn,
                                            LiveUpdateBitBtn,
                                            InfoBitBtn,
                                            MinimizeBitBtn,
                                            ExitBitBtn,
                                            KeyGuideLabel};

}  // namespace skin
}  // namespace zv
