#include "ui/ModalRun.h"

#include <QDialog>
#include <QFileDialog>

namespace zv {

ModalAnswer RunModal(QDialog* dialog, ModalRequest request) {
  if (dialog) {
    request.windowClass = QLatin1String(dialog->metaObject()->className());
    request.caption = dialog->windowTitle();
  }
  if (std::optional<ModalAnswer> hooked = AnswerFromModalHook(request)) return *hooked;
  if (!dialog) return {};
  ModalAnswer answer;
  answer.result = dialog->exec();
  if (auto* files = qobject_cast<QFileDialog*>(dialog); files && answer.result == QDialog::Accepted)
    answer.file = files->selectedFiles().value(0);
  return answer;
}

}  // namespace zv
