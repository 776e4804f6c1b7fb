#pragma once
// TBitBtn: the program's glyph button — the five answer buttons, the start button and the
// two buttons of the bottom panel of the main window, and the closing buttons of the
// correct-answer, mark and protocol windows, so every window's buttons are of one family. A
// glyph stands in front of the caption: the icon when one is set, else the glyph of the
// button's kind (question mark, OK tick, green tick, the red letter "Х" of cancel). A caption
// too long for one line wraps to two and, if it still does not fit, is drawn in a smaller
// size, so an interpretation is never cut.
//
// The cancel glyph is a letter: set tight against a caption that goes on in lower case it
// completes the word ("Х" + "в а т и т !", "Х" + "ва"); before a caption of its own it stands
// in the glyph's place.
//
// The lettering takes the palette's ButtonText where the button's palette sets it, else a
// dark ink; a disabled button is drawn grey. Enter and Space press a focused button; as a
// push button it can be a dialog's default button. The tag is the exam's number for what the
// button shows (the interpretation on an answer button, 16 on the start button).

#include "exam/MainScreen.h"

#include <QIcon>
#include <QPushButton>

namespace zv {

class TBitBtn : public QPushButton {
  Q_OBJECT
 public:
  explicit TBitBtn(QWidget* parent = nullptr);

  void SetKind(GlyphKind kind);
  GlyphKind Kind() const { return m_kind; }
  int Tag = 0;
  // Without glyph (the speaker button "Ещё раз" of the main window).
  void SetGlyphVisible(bool visible);
  // Glyph and one-line caption centred together (the dialogs' buttons); else glyph at the left.
  void SetCentred(bool centred);
  // The glyph after the caption instead of before it (a "next step" button).
  void SetGlyphOnRight(bool right);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  GlyphKind m_kind = GlyphKind::Question;
  bool m_glyphVisible = true;
  bool m_centred = false;
  bool m_glyphOnRight = false;
  bool m_hovered = false;
};

// Paints the glyph of `kind` into `box`; `font` is the caption's (the cancel letter is set in
// its family).
void PaintGlyph(class QPainter& painter, const QRectF& box, GlyphKind kind, const QFont& font = QFont());
// The same glyph as an icon of `size` pixels (for the other windows' buttons of that kind).
QIcon GlyphIcon(GlyphKind kind, int size);

}  // namespace zv
