#include "platform/RandomSource.h"

#include <chrono>

namespace zv {

ClockSeededRandom::ClockSeededRandom()
    : m_engine(static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

int ClockSeededRandom::Uniform(int n) {
  if (n <= 1) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
}

}  // namespace zv
