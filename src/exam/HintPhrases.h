#pragma once
// HintPhrases: what the correct-answer window (THintForm) says, decided without widgets.
//
// The exam tells the window its case through the window colour: fuchsia for a right answer,
// black for a wrong one, any other colour (navy) for a time-out. Each showing draws one button
// remark (the caption of both closing buttons) and then one remark of the case, each from its
// own non-repeating selector, so no remark of a list comes again before the whole list has been
// shown, also across program runs: the four selector states are restored when the window is
// created and stored when it is destroyed, under HeartOC, HeartYC, HeartNC and HeartTC.

#include "sound/SoundService.h"
#include "tasks/TSmartRand.h"

#include <QString>

#include <cstdint>

namespace zv {

class Registry;
class RandomSource;

enum class HintCase { Right, Wrong, TimeOut };
// The four remark lists, in the order their states are stored.
enum class HintList { Button, Right, Wrong, TimeOut };
// The two closing-button glyphs; the mark window reuses them.
enum class ButtonGlyph { Green, Black };

// RGB values (0xRRGGBB) of each case: the window's colour and the remark's lettering.
inline constexpr std::uint32_t kHintRightColor = 0xFF00FF;    // fuchsia
inline constexpr std::uint32_t kHintRightFont = 0x0000FF;     // blue
inline constexpr std::uint32_t kHintWrongColor = 0x000000;    // black
inline constexpr std::uint32_t kHintWrongFont = 0xC0C0C0;     // silver
inline constexpr std::uint32_t kHintTimeOutColor = 0x000080;  // navy
inline constexpr std::uint32_t kHintTimeOutFont = 0x00FFFF;   // aqua
// Fixed colours of the window's own controls.
inline constexpr std::uint32_t kTrueLabelColor = 0xFFFFFF;  // the right interpretation
inline constexpr std::uint32_t kGreenLettering = 0x008000;  // HintBitBtn, the mark window's button
inline constexpr std::uint32_t kBlackLettering = 0x000000;  // HintBitBtn0

struct HintColours {
  std::uint32_t window = 0;
  std::uint32_t font = 0;
};
// The colours of each case, from the table above.
HintColours ColoursOf(HintCase kind);

// Upper-cases the first character when it is a small letter ("ё" becomes "Ё").
QString UpperFirst(QString text);

// One showing's texts and switches.
struct HintShowing {
  HintCase kind = HintCase::Right;
  QString buttonCaption;                         // both HintBitBtn and HintBitBtn0
  QString remark;                                // HintLabel
  bool showsInterpretation = false;              // TrueLabel shown and JerkTimer on (wrong, time-out)
  SoundCategory comment = SoundCategory::Right;  // played when sound comments are on
};

class HintPhrases {
 public:
  static constexpr int kRecentWindow = 5;

  explicit HintPhrases(RandomSource& random);

  // Restores the stored states from HKEY_CURRENT_USER\Software\Ostwin\Zorvik. A state is taken
  // only when its size fits the selector (the half-word rule of SelectorStore); anything else,
  // including a missing key or any registry failure, leaves that selector fresh.
  void Load(Registry& registry);
  // Stores the four states (4 x words bytes each) in one protected group: a registry failure
  // ends the group silently, and the key is closed in every case. Never throws.
  void Save(Registry& registry);

  // Draws the button remark, then the remark of the case told by the window colour.
  HintShowing Draw(HintCase kind);

  TSmartRand& Selector(HintList list);
  static int Count(HintList list);
  static QString ValueName(HintList list);
  // Item k (1-based) of a list as written, lower case; empty outside 1..Count.
  static QString Phrase(HintList list, int k);

 private:
  QString DrawFrom(HintList list);

  TSmartRand m_button;
  TSmartRand m_right;
  TSmartRand m_wrong;
  TSmartRand m_timeOut;
};

}  // namespace zv
