// SPDX-License-Identifier: MIT
#pragma once
// The minimum of a function of one variable on an interval that brackets
// it, by golden-section search: each step keeps the part of [a, b] that
// holds the lower of two inner points, shrinking it by 1/phi = 0.618.
// Slower than parabolic steps but never thrown by a flat or kinked
// profile, which the models' profiles can be where a bound becomes active.
#include <cmath>

namespace gndfit {

template <typename Function>
double golden_section_minimum(Function f, double a, double b, double tolerance) {
  constexpr double kInverse = 0.6180339887498949;  // 1 / phi
  double c = b - kInverse * (b - a);
  double d = a + kInverse * (b - a);
  double fc = f(c);
  double fd = f(d);
  while (std::fabs(b - a) > tolerance) {
    if (fc <= fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - kInverse * (b - a);
      fc = f(c);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + kInverse * (b - a);
      fd = f(d);
    }
  }
  return fc <= fd ? c : d;
}

}  // namespace gndfit
