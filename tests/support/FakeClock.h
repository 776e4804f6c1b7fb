#pragma once
// An exam clock the test moves by hand: the tick count starts at 1000 ms and the wall time is
// 9 December 2026, 10:00:00 plus the ticks.

#include "exam/ExamFlow.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstdint>

namespace zv::test {

class FakeClock : public ExamClock {
 public:
  std::uint32_t TickCount() override { return tick; }
  QDateTime Now() override { return QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0)).addMSecs(tick); }
  std::uint32_t tick = 1000;
};

}  // namespace zv::test
