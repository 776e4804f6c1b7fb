#pragma once
// RandomSource: the uniform integer source every random choice goes through, injected so tests
// can script the draws exactly.

#include <cstdint>
#include <random>

namespace zv {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Uniform integer in 0..n-1; n >= 1.
  virtual int Uniform(int n) = 0;
};

// The program's generator: a Mersenne twister seeded from the clock at start.
class ClockSeededRandom final : public RandomSource {
 public:
  ClockSeededRandom();
  explicit ClockSeededRandom(std::uint64_t seed) : m_engine(seed) {}
  int Uniform(int n) override;

 private:
  std::mt19937_64 m_engine;
};

}  // namespace zv
