#include "exam/HintLayout.h"

namespace zv {

QPoint FirstHintPosition(const QRect& mainFrame, int hintWidth, int screenBottom, int preBottomPanelTop) {
  const int left = mainFrame.left() + (mainFrame.width() - hintWidth) / 2;
  const int roomBelow = screenBottom - mainFrame.top() - mainFrame.height();
  const int top = roomBelow < 89 ? mainFrame.top() - 24 : mainFrame.top() + preBottomPanelTop;
  return {left, top};
}

int TrueLabelLeft(int windowWidth, int labelWidth, int currentLeft) {
  return windowWidth > labelWidth ? (windowWidth - labelWidth) / 2 : currentLeft;
}

QPoint TrueLabelJerk::Step(QPoint current) {
  if (++m_counter > 3) m_counter = 0;
  switch (m_counter) {
    case 0:
      return {current.x() - 1, kTop};
    case 1:
      return {current.x() + 1, kTop - 1};
    case 2:
      return {current.x() + 1, kTop};
    default:
      return {current.x() - 1, kTop + 1};
  }
}

}  // namespace zv
