// SPDX-License-Identifier: MIT
#pragma once
// Complex division written out (Smith's method, scaled by the larger part
// of the divisor), so that a quotient has the same bits on every CPU: the
// compiler's own complex division calls a run-time routine which some
// platforms build with fused multiply-adds, and the converted points and
// the fits made of them would differ in their last digits.
#include <cmath>
#include <complex>

namespace gndfit {

inline std::complex<double> quotient(std::complex<double> n, std::complex<double> d) {
  const double a = n.real(), b = n.imag(), c = d.real(), e = d.imag();
  if (std::fabs(c) >= std::fabs(e)) {
    const double r = e / c;
    const double den = c + e * r;
    return {(a + b * r) / den, (b - a * r) / den};
  }
  const double r = c / e;
  const double den = c * r + e;
  return {(a * r + b) / den, (b * r - a) / den};
}

}  // namespace gndfit
