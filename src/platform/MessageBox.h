#pragma once
// MessageBox: the one entry point for every message box of the programs.
//
// Core code asks for a box through ShowMessageBox(); the window layer installs the presenter
// that shows a stays-on-top, application-modal QMessageBox (see MessageBoxPresenter in zv_ui).
// Tests install an answerer with MessageBoxHook so headless runs never block; every request
// is also kept in the hook's log so a test can check what was shown.

#include <QString>

#include <functional>
#include <vector>

namespace zv {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest {
  QString text;
  QString caption;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  bool russian = true;  // Russian language identifier: button texts "Да", "Нет", "ОК", "Отмена"
  bool topmost = true;
  bool taskModal = true;
  bool serviceNotification = false;
  int defaultButton = 0;  // which button Enter presses: 0 the first, 1 the second (MB_DEFBUTTON2)
};

using MessagePresenter = std::function<MsgResult(const MessageRequest&)>;

// Shows the box through the installed presenter. Without a presenter (a program or test that
// has no windows) the request is written to stderr and the first button's result returned.
MsgResult ShowMessageBox(const MessageRequest& request);

// Installs the presenter of real boxes; returns the previous one.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// Test hook: while alive, answers every box with the queued results (then with `fallback`)
// and records each request.
class MessageBoxHook {
 public:
  explicit MessageBoxHook(MsgResult fallback = MsgResult::Ok);
  ~MessageBoxHook();
  MessageBoxHook(const MessageBoxHook&) = delete;
  MessageBoxHook& operator=(const MessageBoxHook&) = delete;

  void answerNext(MsgResult result);
  const std::vector<MessageRequest>& shown() const { return m_shown; }
  void clear() { m_shown.clear(); }

 private:
  MsgResult m_fallback;
  std::vector<MsgResult> m_queue;
  std::vector<MessageRequest> m_shown;
  MessagePresenter m_previous;
};

}  // namespace zv
