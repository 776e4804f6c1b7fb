#pragma once
// Installs the presenter that shows ShowMessageBox() requests as QMessageBox windows.

namespace zv {
void InstallMessageBoxPresenter();
}
