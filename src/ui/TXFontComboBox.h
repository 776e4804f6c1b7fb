#pragma once
// TXFontComboBox: a combo box of the installed screen typefaces, each list entry drawn in the
// typeface it names (items 22 pixels high, text in a 20-pixel cell), the dropped-down list 244
// pixels wide. The closed box shows the name in the box's own font. The task list window uses
// it too.

#include <QComboBox>

namespace zv {

class TXFontComboBox : public QComboBox {
  Q_OBJECT
 public:
  static constexpr int kItemHeight = 22;
  static constexpr int kDroppedWidth = 244;

  explicit TXFontComboBox(QWidget* parent = nullptr);

  // Replaces the items by the current screen typefaces, in the system's order, and selects the
  // name selected before, or the first typeface when that name is gone. Done at creation.
  void Refill();
  // The selected typeface; empty when none is selected.
  QString FontName() const;
};

}  // namespace zv
