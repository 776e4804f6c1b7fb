#include "platform/ModalWindow.h"

#include <utility>

namespace zv {
namespace {

ModalHook*& currentHook() {
  static ModalHook* current = nullptr;
  return current;
}

}  // namespace

std::optional<ModalAnswer> AnswerFromModalHook(const ModalRequest& request) {
  if (ModalHook* hook = currentHook()) return hook->answer(request);
  return std::nullopt;
}

ModalHook::ModalHook(ModalAnswer fallback)
    : m_fallback(std::move(fallback)), m_previous(std::exchange(currentHook(), this)) {}

ModalHook::~ModalHook() { currentHook() = m_previous; }

void ModalHook::answerNext(ModalAnswer answer) { m_queue.push_back(std::move(answer)); }

std::vector<ModalRequest> ModalHook::shown(ModalWindow window) const {
  std::vector<ModalRequest> of;
  for (const ModalRequest& r : m_shown)
    if (r.window == window) of.push_back(r);
  return of;
}

ModalAnswer ModalHook::answer(const ModalRequest& request) {
  m_shown.push_back(request);
  if (m_onShown) m_onShown(request);
  if (m_queue.empty()) return m_fallback;
  ModalAnswer next = std::move(m_queue.front());
  m_queue.erase(m_queue.begin());
  return next;
}

}  // namespace zv
