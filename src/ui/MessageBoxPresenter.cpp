#include "ui/MessageBoxPresenter.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace zv {
namespace {

QMessageBox::Icon toIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Error:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Shows a stays-on-top, application-modal box whose button texts follow the request's language.
MsgResult present(const MessageRequest& r) {
  QMessageBox box(toIcon(r.icon), r.caption, r.text);
  box.setWindowModality(Qt::ApplicationModal);
  // A service notification is shown above everything, as the system shows it.
  if (r.topmost || r.serviceNotification) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  struct Choice {
    MsgResult result;
    const char16_t* ru;
    const char* en;
    QMessageBox::ButtonRole role;
  };
  std::vector<Choice> choices;
  switch (r.buttons) {
    case MsgButtons::Ok:
      choices = {{MsgResult::Ok, u"ОК", "OK", QMessageBox::AcceptRole}};
      break;
    case MsgButtons::OkCancel:
      choices = {{MsgResult::Ok, u"ОК", "OK", QMessageBox::AcceptRole},
                 {MsgResult::Cancel, u"Отмена", "Cancel", QMessageBox::RejectRole}};
      break;
    case MsgButtons::YesNo:
      choices = {{MsgResult::Yes, u"Да", "Yes", QMessageBox::YesRole},
                 {MsgResult::No, u"Нет", "No", QMessageBox::NoRole}};
      break;
    case MsgButtons::YesNoCancel:
      choices = {{MsgResult::Yes, u"Да", "Yes", QMessageBox::YesRole},
                 {MsgResult::No, u"Нет", "No", QMessageBox::NoRole},
                 {MsgResult::Cancel, u"Отмена", "Cancel", QMessageBox::RejectRole}};
      break;
  }
  std::vector<std::pair<QAbstractButton*, MsgResult>> buttons;
  for (const Choice& c : choices) {
    const QString text = r.russian ? QString::fromUtf16(c.ru) : QString::fromLatin1(c.en);
    buttons.emplace_back(box.addButton(text, c.role), c.result);
  }
  const std::size_t defaultIndex = std::min(static_cast<std::size_t>(std::max(r.defaultButton, 0)), buttons.size() - 1);
  box.setDefaultButton(static_cast<QPushButton*>(buttons[defaultIndex].first));
  box.exec();
  for (const auto& [button, result] : buttons)
    if (box.clickedButton() == button) return result;
  // Closed without a button: the cancel-like answer, as a box closed by Escape answers.
  return choices.back().result;
}

}  // namespace

void InstallMessageBoxPresenter() { SetMessagePresenter(present); }

}  // namespace zv
