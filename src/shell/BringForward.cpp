#include "shell/BringForward.h"

#include <QWidget>

namespace zv {

void BringForward(QWidget& window) {
  if (window.isMinimized() || !window.isVisible()) window.showNormal();
  window.raise();
  window.activateWindow();
}

}  // namespace zv
