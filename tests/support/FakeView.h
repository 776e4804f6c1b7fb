#pragma once
// A main window for the exam flow without widgets: it keeps the last screen model, records the
// modal windows asked for, and queues the flow's waits until the test runs them (RunPending).

#include "exam/ExamFlow.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace zv::test {

class FakeView : public ExamView {
 public:
  void Refresh(const MainScreen& s) override { last = s; }
  void ShowCorrectAnswer(const CorrectAnswerRequest& r) override { answers.push_back(r); }
  void ShowMark(int mark) override { marks.push_back(mark); }
  void OpenProtocol() override { ++protocolOpened; }
  void Schedule(int ms, std::function<void()> f) override { pending.push_back({ms, std::move(f)}); }
  void Beep() override { ++beeps; }
  void CloseWindow() override { closed = true; }
  void MinimizeWindow() override { minimized = true; }
  void RunPending() {
    while (!pending.empty()) {
      auto f = std::move(pending.front().second);
      pending.pop_front();
      f();
    }
  }
  MainScreen last;
  std::vector<CorrectAnswerRequest> answers;
  std::vector<int> marks;
  std::deque<std::pair<int, std::function<void()>>> pending;
  int protocolOpened = 0;
  int beeps = 0;
  bool closed = false;
  bool minimized = false;
};

}  // namespace zv::test
