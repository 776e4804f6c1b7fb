#pragma once
// ExamStatistics: the statistics kept across runs — the right answers of ordinary exams
// (RCount) since the moment they are counted from (FirstDate, an OLE date). Their one home is
// the trainer's state; the exam counts into it and the settings read and write it.

namespace zv {

struct ExamStatistics {
  int RCount = 0;
  double FirstDate = 0.0;
};

}  // namespace zv
