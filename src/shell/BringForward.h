#pragma once
// What the main window does on message 0x8000 from a second copy: a minimised (or hidden)
// window is restored and shown, any other one is raised and activated.

class QWidget;

namespace zv {

void BringForward(QWidget& window);

}  // namespace zv
