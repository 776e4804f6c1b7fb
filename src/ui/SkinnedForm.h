#pragma once
// SkinnedForm: the frameless, skin-shaped top-level window the main window is built on.
//
// The window is 580 x 468 with no system frame. The skin bitmap is painted at its origin over
// the key colour RGB(2, 4, 8); the mask is the region of every non-key pixel, so the desktop
// shows through where the skin is key-coloured. A left press on bare skin drags the window
// with the system's move loop, or by following the mouse where the platform has none (for
// example offscreen). Bare skin is the form itself and what the learner sees as its
// background: the labels (they stand for the painted texts of the skin) and the plain panels
// they lie on (the phrase card, the status strip); a press on any other child (a button, a
// box, a group of options), or inside one, is that control's own.
//
// The caption buttons and the embossed title are created here as public members with the
// system's names, so the subclass connects and places what it needs. ExitBitBtn closes the
// window and MinimizeBitBtn minimises it; InfoBitBtn, LiveUpdateBitBtn and TaskListBitBtn are
// left to the subclass.
//
// Panels and groups on the skin take their background colour from the skin pixel at a fixed
// point of their own rectangle (SkinSample, see SkinLayout.h): ColorFromSkin() does that at
// the control's current place.

#include "skin/SkinLayout.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

class QLabel;

namespace zv {

class SkinCaptionButton;

inline QRect ToQRect(const SkinRect& r) { return {r.x, r.y, r.width, r.height}; }

class SkinnedForm : public QWidget {
  Q_OBJECT
 public:
  // `skin` is the bitmap to wear (tests pass their own); by default the embedded skin.
  // `regionStep` is called while the window's shape is built, once per 128 rows of the skin
  // (start-up steps its progress display with it).
  explicit SkinnedForm(QWidget* parent = nullptr, const std::function<void()>& regionStep = {});
  explicit SkinnedForm(const QImage& skin, QWidget* parent = nullptr, const std::function<void()>& regionStep = {});
  ~SkinnedForm() override;

  // Caption buttons, at their SkinLayout places.
  SkinCaptionButton* ExitBitBtn = nullptr;        // hint "Закрыть"; closes the window
  SkinCaptionButton* MinimizeBitBtn = nullptr;    // hint "Свернуть"; minimises the window
  SkinCaptionButton* InfoBitBtn = nullptr;        // hint "О программе"
  SkinCaptionButton* LiveUpdateBitBtn = nullptr;  // hint "Интернет-обновление"
  SkinCaptionButton* TaskListBitBtn = nullptr;    // hint "Список всех заданий"

  // The embossed title: VersionLabel (bold Arial 21 px, RGB(57, 122, 242)) over VersionLabel1
  // (the same text in silver, 1 pixel right and down, behind), both centred in TitleArea.
  QLabel* VersionLabel = nullptr;
  QLabel* VersionLabel1 = nullptr;

  // Sets both title labels; the text is the Cyrillic name, a blank and the version label.
  void SetTitle(const QString& text);

  // The skin pixel at `point` (window coordinates); the key colour outside the bitmap.
  QColor SkinColorAt(QPoint point) const;
  // The colour a control with rectangle `rect` (window coordinates) takes under `rule`.
  QColor SkinColorFor(const QRect& rect, SkinSample rule) const;
  // Colours `control` (a descendant of this window) from the skin at its current place.
  void ColorFromSkin(QWidget* control, SkinSample rule) const;
  // Gives `control` an opaque background of `colour` (also for the "same colour as" rules).
  static void SetBackgroundColor(QWidget* control, const QColor& colour);

  const QImage& Skin() const { return m_skin; }
  // Whether the window wears the skin's shape (false when the skin had no shape to give).
  bool IsShaped() const { return m_shaped; }

  static QColor KeyColor() { return {skin::kKeyRed, skin::kKeyGreen, skin::kKeyBlue}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  // Whether a press at `point` (window coordinates) lands on bare skin.
  bool IsBareSkinAt(QPoint point) const;

 private:
  void Build(const std::function<void()>& regionStep);

  QImage m_skin;
  bool m_shaped = false;
  bool m_dragging = false;
  QPoint m_dragOffset;  // press position relative to the window's top-left, in global pixels
};

}  // namespace zv
