#pragma once
// SkinCaptionButton: a small flat button of the skinned window's caption strip. It draws its
// own glyph (no image files) so it stays sharp and matches the skin: slate lines on the strip,
// a soft plate under the pointer, a deeper one while pressed, a focus ring when the keyboard brought the focus to it.

#include <QAbstractButton>

namespace zv {

enum class CaptionGlyph { Close, Minimise, About, Update, TaskList };

class SkinCaptionButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit SkinCaptionButton(CaptionGlyph glyph, QWidget* parent = nullptr);

  CaptionGlyph glyph() const { return m_glyph; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  CaptionGlyph m_glyph = CaptionGlyph::Close;
  bool m_hovered = false;
  bool m_keyboardFocus = false;  // the ring shows only for focus reached with the keyboard
};

}  // namespace zv
