#include "exam/Marks.h"

namespace zv {

int ComputeMark(int right, int total) {
  if (total <= 0) return 0;
  // 5r/N + 1/10 = (50r + N) / 10N.
  const long long num = 50LL * right + total;
  const long long den = 10LL * total;
  long long q = num / den;
  const long long twiceRest = 2 * (num - q * den);
  if (twiceRest > den || (twiceRest == den && q % 2 == 1)) ++q;
  return static_cast<int>(q);
}

}  // namespace zv
