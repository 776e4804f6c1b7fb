#pragma once
// The exam mark: 5 x right / total + 1/10, rounded to the nearest integer with an exact half
// going to the even neighbour. Computed in exact integer arithmetic.

namespace zv {

// total >= 1; right in 0..total. Answers 0..5.
int ComputeMark(int right, int total);

}  // namespace zv
