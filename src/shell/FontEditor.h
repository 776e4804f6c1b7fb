#pragma once
// FontEditor: the decisions of the font window. The window opens on one target (the task text:
// both task labels; or the answers: all five answer buttons), shows the target's typeface,
// size and style, and every change the user makes is applied to the target at once (there is
// no undo: closing the window, however, keeps what is applied). The window only shows what
// the editor says and passes the user's changes in; the main window applies the editor's
// Current() to the target's widgets, and its fonts are stored at program end as the settings
// say (AskFont*, AnsFont*).

#include "shell/MainSettings.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zv {

enum class FontTarget { TaskText = 0, Answers = 1 };

// The four samples and their radio buttons, left to right.
enum class FontStyle { Regular, Italic, Bold, BoldItalic };

struct SizeRange {
  int min = 0;
  int max = 0;
  friend bool operator==(const SizeRange&, const SizeRange&) = default;
};

// Task text 12..20 points, answer buttons 8..12.
SizeRange SizeRangeFor(FontTarget target);
// The menu opened on the task text edits the task font, anywhere else the answers' font.
FontTarget FontTargetFor(bool onTaskLabel);

// One of the four styles, or nothing for a style with underline or strike-out.
std::optional<FontStyle> StyleOf(const FontChoice& font);
// The font with exactly that style: underline and strike-out are dropped.
FontChoice WithStyle(FontChoice font, FontStyle style);

// The typefaces the window offers, and how a stored name finds its entry: a name that is not
// in the list itself may still be served by an installed typeface under another name (the
// system's metric-compatible aliases: "Arial" by "Liberation Sans"); `resolveAlias` answers
// that typeface, or an empty string when the name is not installed at all.
struct InstalledFonts {
  QStringList families;  // the system's order
  std::function<QString(const QString& name)> resolveAlias = [](const QString&) { return QString(); };
};

class FontEditor {
 public:
  FontEditor(FontTarget target, FontChoice current, InstalledFonts installed);

  FontTarget Target() const { return m_target; }
  SizeRange Range() const { return SizeRangeFor(m_target); }
  // What the target shows now.
  const FontChoice& Current() const { return m_current; }

  // At opening: the entry of the target's typeface, -1 when it is no longer installed (the
  // combo then selects nothing and the target keeps its typeface until another is chosen).
  int TypefaceIndex() const;
  // At opening: the target's size, or the nearest size of the range when a stored size lies
  // outside it. Showing it changes nothing; the target takes a size only when one is chosen.
  int SizeShown() const;
  // At opening: the checked radio button; Regular for a style with underline or strike-out.
  FontStyle CheckedStyle() const;

  // The user's changes. Each answers whether the target's font changed (then the main window
  // applies Current() to every widget of the target).
  bool ChooseTypeface(const QString& family);
  bool ChooseSize(int size);  // kept within the range
  bool ChooseStyle(FontStyle style);

 private:
  FontTarget m_target;
  FontChoice m_current;
  InstalledFonts m_installed;
};

}  // namespace zv
