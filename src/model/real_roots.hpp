// SPDX-License-Identifier: MIT
#pragma once
// The real roots of a polynomial of degree four or less on an interval,
// each isolated between the roots of its derivative and found by bisection
// over the doubles themselves, so to the last bit in at most 64 steps.
#include <array>
#include <cstddef>
#include <cstdint>

namespace gndfit {

// Coefficients from the constant term up.
using Quartic = std::array<double, 5>;

double evaluate_polynomial(const Quartic& p, double t);
Quartic derivative(const Quartic& p);
int degree_of(const Quartic& p);

// An interval [low, high] of adjacent doubles across which the polynomial
// changes sign, or low == high where it is exactly zero.  `rising`: from
// negative to positive.
struct SignChange {
  double low = 0.0;
  double high = 0.0;
  bool rising = false;
};

struct SignChanges {
  std::array<SignChange, 4> items{};
  std::size_t count = 0;
  void add(SignChange change);
};

// The bit pattern of a non-negative double, which orders them.
std::uint64_t double_order(double value);
double from_double_order(std::uint64_t order);

// Bisection over the ordered non-negative doubles between `low` and `high`
// (0 <= low < high) where `negative(low)` differs from `negative(high)`:
// the adjacent pair that still brackets the change.
template <typename IsNegative>
SignChange bisect_doubles(IsNegative negative, double low, double high) {
  const bool low_negative = negative(low);
  std::uint64_t a = double_order(low);
  std::uint64_t b = double_order(high);
  while (b - a > 1) {
    const std::uint64_t middle = a + (b - a) / 2;
    if (negative(from_double_order(middle)) == low_negative) {
      a = middle;
    } else {
      b = middle;
    }
  }
  return {from_double_order(a), from_double_order(b), low_negative};
}

// The roots of `p` in [low, high] (0 <= low <= high), ascending; a
// polynomial that is zero everywhere has none.
SignChanges real_roots(const Quartic& p, double low, double high);

// The sign changes of `value`, a more accurate evaluation of `p` than its
// coefficients give, on the pieces between the turning points of p: the
// coefficients only place the turning points that separate the roots.
template <typename Value>
SignChanges sign_changes(const Quartic& p, double low, double high, Value value) {
  SignChanges roots;
  const int degree = degree_of(p);
  if (degree <= 0) return roots;
  // Between consecutive roots of the derivative (and the ends) the
  // polynomial is monotone: at most one root on each piece.
  std::array<double, 6> ends{};
  std::size_t count = 0;
  ends[count++] = low;
  if (degree >= 2) {
    const SignChanges turns = real_roots(derivative(p), low, high);
    for (std::size_t i = 0; i < turns.count; ++i) ends[count++] = turns.items[i].low;
  }
  ends[count++] = high;
  auto negative = [&value](double t) { return value(t) < 0.0; };
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const double a = ends[i];
    const double b = ends[i + 1];
    const double va = value(a);
    const double vb = value(b);
    if (va == 0.0) {
      roots.add({a, a, vb > 0.0});
    } else if (b > a && vb != 0.0 && (va < 0.0) != (vb < 0.0)) {
      roots.add(bisect_doubles(negative, a, b));
    }
  }
  if (value(high) == 0.0) roots.add({high, high, value(low) < 0.0});
  return roots;
}

}  // namespace gndfit
