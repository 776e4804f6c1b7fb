#pragma once
// RunModal: the window side of ModalWindow (platform/ModalWindow.h). Every modal window of the
// programs is shown through it, so that a test's ModalHook answers it instead.

#include "platform/ModalWindow.h"

class QDialog;

namespace zv {

// Shows `dialog` modally (exec) and returns its result; a file dialog's answer also carries the
// first file chosen. The request's class and caption are taken from the dialog. While a
// ModalHook is alive the dialog, prepared as it would be shown, is not shown: the hook records
// the request and its answer is returned. `dialog` may be null where the program has no such
// window (a main window without its companions): then nothing is shown and the result is 0.
ModalAnswer RunModal(QDialog* dialog, ModalRequest request);

}  // namespace zv
