#pragma once
// ModalWindow: the one door through which the programs' own modal windows are shown.
//
// Every modal window (the correct-answer window, the mark window, the list/protocol window, the
// file dialog and any later one) is shown by the window layer's RunModal (ui/ModalRun.h), which
// first asks AnswerFromModalHook here. With no hook installed the window is shown and its loop
// runs; while a ModalHook is alive, the hook records the request and answers it instead, so a
// headless test never blocks and can check what would have been shown, in order.
//
// This part holds no widget code: the request describes the window in plain values, and the
// details a caller wants a test to see (the exam's CorrectAnswerRequest, the mark) travel in
// `details`.

#include <QString>

#include <any>
#include <functional>
#include <optional>
#include <vector>

namespace zv {

// Which modal window is asked for.
enum class ModalWindow { CorrectAnswer, Mark, Protocol, TaskList, FileDialog, Warning, Other };

struct ModalRequest {
  ModalWindow window = ModalWindow::Other;
  QString windowClass;  // the window's class ("zv::THintForm"); empty when the program has none
  QString caption;      // the window's title as it would be shown
  std::any details;     // what the asker passes along (CorrectAnswerRequest, the mark as int)
};

// The outcome of a modal window: the dialog's result code (QDialog::Rejected is 0, Accepted 1)
// and, for a file dialog, the file chosen (empty when none).
struct ModalAnswer {
  int result = 0;
  QString file;
};

// The installed hook's answer, or std::nullopt when the window is to be shown for real.
std::optional<ModalAnswer> AnswerFromModalHook(const ModalRequest& request);

// Test hook: while alive, answers every modal window with the queued answers (then with
// `fallback`) instead of showing it, and records each request. Hooks nest: the newest answers,
// and they end in the reverse order of their making (as scoped objects do).
class ModalHook {
 public:
  explicit ModalHook(ModalAnswer fallback = {});
  ~ModalHook();
  ModalHook(const ModalHook&) = delete;
  ModalHook& operator=(const ModalHook&) = delete;

  void answerNext(ModalAnswer answer);
  // Runs at each request, after it is recorded and while the asker waits for the answer (the
  // moment the window would be up): a test looks at the screen behind the window here.
  void setOnShown(std::function<void(const ModalRequest&)> onShown) { m_onShown = std::move(onShown); }

  const std::vector<ModalRequest>& shown() const { return m_shown; }
  std::vector<ModalRequest> shown(ModalWindow window) const;
  void clear() { m_shown.clear(); }

 private:
  ModalAnswer answer(const ModalRequest& request);

  ModalAnswer m_fallback;
  std::vector<ModalAnswer> m_queue;
  std::vector<ModalRequest> m_shown;
  std::function<void(const ModalRequest&)> m_onShown;
  ModalHook* m_previous = nullptr;

  friend std::optional<ModalAnswer> AnswerFromModalHook(const ModalRequest& request);
};

}  // namespace zv
