#pragma once
// HintLayout: where the correct-answer window and its right-interpretation label go.

#include <QPoint>
#include <QRect>

namespace zv {

// Position of the correct-answer window on its first showing: centred horizontally on the main
// window; vertically over the main window's lower panel, or 24 pixels above the main window
// when fewer than 89 pixels of screen are left below it. screenBottom is the y just below the
// screen (its height for a screen at the top); all values in screen pixels except
// preBottomPanelTop (the panel's top inside the main window).
QPoint FirstHintPosition(const QRect& mainFrame, int hintWidth, int screenBottom, int preBottomPanelTop);

// Left of the right-interpretation label: centred when the window is wider than the label,
// otherwise kept where it is.
int TrueLabelLeft(int windowWidth, int labelWidth, int currentLeft);

// The label's shake: every step moves it one pixel so that four steps make a small loop back
// to the start. The step counter runs 0..3 for the whole run and is not reset between showings.
class TrueLabelJerk {
 public:
  static constexpr int kTop = 60;
  // Advances the counter and gives the label's next position from its current one.
  QPoint Step(QPoint current);
  int Counter() const { return m_counter; }

 private:
  int m_counter = 0;
};

}  // namespace zv
