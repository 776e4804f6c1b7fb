#include "ui/TXFontComboBox.h"

#include "ui/ProgramLook.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

namespace zv {

namespace {

constexpr int kCellHeight = TXFontComboBox::kItemHeight - 2;

// The typeface at the size whose line (ascent and descent) fills the cell.
QFont CellFont(const QString& family) {
  QFont f(family);
  f.setPixelSize(kCellHeight);
  const int height = QFontMetrics(f).height();
  if (height > kCellHeight) f.setPixelSize(std::max(1, kCellHeight * kCellHeight / height));
  return f;
}

// One list entry: highlighted when selected (with a focus frame when focused), then, one pixel
// in, the name in its own typeface on one line, vertically centred, at the left.
class FontItemDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), TXFontComboBox::kItemHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette& pal = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    if (selected && (option.state & QStyle::State_HasFocus) != 0) {
      QStyleOptionFocusRect focus;
      focus.rect = option.rect;
      focus.state = option.state;
      focus.backgroundColor = pal.color(QPalette::Highlight);
      if (const QWidget* w = option.widget) w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
    }
    const QRect text = option.rect.adjusted(1, 1, -1, -1);
    const QString name = index.data(Qt::DisplayRole).toString();
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    painter->setFont(CellFont(name));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
    painter->restore();
  }
};

}  // namespace

TXFontComboBox::TXFontComboBox(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new FontItemDelegate(this));
  view()->setMinimumWidth(kDroppedWidth);
  KeepListHeight(this);  // a list that drops down, not one laid over the box
  Refill();
}

void TXFontComboBox::Refill() {
  const QString selected = currentText();
  const QStringList families = QFontDatabase::families();
  const QSignalBlocker quiet(this);  // the same name again is no choice of the user's
  clear();
  addItems(families);
  const int again = selected.isEmpty() ? -1 : findText(selected, Qt::MatchFixedString);
  setCurrentIndex(again >= 0 ? again : (count() > 0 ? 0 : -1));
}

QString TXFontComboBox::FontName() const { return currentIndex() >= 0 ? currentText() : QString(); }

}  // namespace zv
