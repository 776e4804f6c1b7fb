#pragma once
// What start-up and the main window's creation need of the progress display: a caption and
// one step at a time. TProgressForm implements it; tests record the calls.

#include <QString>

namespace zv {

class ProgressSteps {
 public:
  virtual ~ProgressSteps() = default;
  virtual void SetCaption(const QString& caption) = 0;
  // Advances the bar by one step and lets pending window messages run.
  virtual void Step() = 0;
};

}  // namespace zv
