#pragma once
// Polls `done` every 50 ms until it holds or `ms` milliseconds have passed; for a test that
// waits on another process (its files, its hive), with no event loop of its own to run.

#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace zv::test {

inline bool WaitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QThread::msleep(50);
  }
  return true;
}

}  // namespace zv::test
