#pragma once
// A random source that answers from a script, so a test decides every word and bit picked.
// Once the script runs out it falls back to a seeded generator (tests that only need
// "some" randomness after the scripted part).

#include "platform/RandomSource.h"

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>

namespace zv::test {

class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<int> script) : m_script(script) {}
  void Push(int value) { m_script.push_back(value); }
  void Push(std::initializer_list<int> values) { m_script.insert(m_script.end(), values); }
  int Uniform(int n) override {
    ++m_calls;
    if (m_script.empty()) return m_fallback.Uniform(n);
    const int v = m_script.front();
    m_script.pop_front();
    EXPECT_LT(v, n) << "scripted value out of range";
    return v;
  }
  int Calls() const { return m_calls; }
  bool Exhausted() const { return m_script.empty(); }

 private:
  std::deque<int> m_script;
  ClockSeededRandom m_fallback{12345};
  int m_calls = 0;
};

}  // namespace zv::test
