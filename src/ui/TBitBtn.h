#pragma once
// TBitBtn: the main window's glyph button — the five answer buttons, the start button and the
// two buttons of the bottom panel. A glyph of its kind (question mark, OK tick, green tick, red
// cross) stands in front of the caption; a caption too long for one line wraps to two and, if
// it still does not fit, is drawn in a smaller size, so an interpretation is never cut.
//
// Enter and Space press a focused button. The tag is the exam's number for what the button
// shows (the interpretation on an answer button, 16 on the start button).

#include "exam/MainScreen.h"

#include <QAbstractButton>
#include <QIcon>

namespace zv {

class TBitBtn : public QAbstractButton {
  Q_OBJECT
public:
  explicit TBitBtn(QWidget* parent = nullptr);

  void SetKind(GlyphKind kind);
  GlyphKind Kind() const { return m_kind; }
  int Tag = 0;
  // Without glyph (the speaker button "Ещё раз" of the main window).
  void SetGlyphVisible(bool visible);

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  GlyphKind m_kind = GlyphKind::Question;
  bool m_glyphVisible = true;
  bool m_hovered = false;
};

// Paints the glyph of `kind` into `box`.
void PaintGlyph(class QPainter& painter, const QRectF& box, GlyphKind kind);
// The same glyph as an icon of `size` pixels (for the other windows' buttons of that kind).
QIcon GlyphIcon(GlyphKind kind, int size);

}  // namespace zv
