#include "platform/MessageBox.h"

#include <cstdio>
#include <utility>

namespace zv {
namespace {

MessagePresenter& presenter() {
  static MessagePresenter current;
  return current;
}

MsgResult firstButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
      return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      return MsgResult::Yes;
  }
  return MsgResult::Ok;
}

}  // namespace

MsgResult ShowMessageBox(const MessageRequest& request) {
  if (presenter()) return presenter()(request);
  std::fprintf(stderr, "[%s] %s\n", request.caption.toUtf8().constData(), request.text.toUtf8().constData());
  return firstButton(request.buttons);
}

MessagePresenter SetMessagePresenter(MessagePresenter p) { return std::exchange(presenter(), std::move(p)); }

MessageBoxHook::MessageBoxHook(MsgResult fallback) : m_fallback(fallback) {
  m_previous = SetMessagePresenter([this](const MessageRequest& request) {
    m_shown.push_back(request);
    if (m_queue.empty()) return m_fallback;
    const MsgResult r = m_queue.front();
    m_queue.erase(m_queue.begin());
    return r;
  });
}

MessageBoxHook::~MessageBoxHook() { SetMessagePresenter(std::move(m_previous)); }

void MessageBoxHook::answerNext(MsgResult result) { m_queue.push_back(result); }

}  // namespace zv
