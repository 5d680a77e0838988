// SPDX-License-Identifier: MIT
#include "model/chi_square.hpp"

#include <cmath>

namespace gndfit {
namespace {

// The regularised lower incomplete gamma function P(a, x): its series
// below x = a + 1, one minus the continued fraction of the upper one above
// (both converge quickly there).
double lower_gamma_regularised(double a, double x) {
  if (x <= 0.0) return 0.0;
  const double log_prefix = a * std::log(x) - x - std::lgamma(a);
  if (x < a + 1.0) {
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < 100000 && std::fabs(term) > std::fabs(sum) * 1e-17; ++n) {
      term *= x / (a + n);
      sum += term;
    }
    return sum * std::exp(log_prefix);
  }
  // Lentz's method for the continued fraction of Q(a, x).
  constexpr double kTiny = 1e-300;
  double b = x + 1.0 - a;
  double c = 1.0 / kTiny;
  double d = 1.0 / b;
  double h = d;
  for (int n = 1; n < 100000; ++n) {
    const double an = -n * (n - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double step = d * c;
    h *= step;
    if (std::fabs(step - 1.0) < 1e-17) break;
  }
  return 1.0 - std::exp(log_prefix) * h;
}

}  // namespace

double chi_square_cdf(double x, int degrees) {
  return lower_gamma_regularised(0.5 * degrees, 0.5 * x);
}

double chi_square_quantile(double probability, int degrees) {
  // Bracket the quantile from the mean, widening until it holds the
  // answer, then bisect to the last bit.
  double low = degrees;
  double high = degrees;
  while (low > 1e-300 && chi_square_cdf(low, degrees) > probability) low *= 0.5;
  while (chi_square_cdf(high, degrees) < probability) high *= 2.0;
  if (low == high) low = 0.0;
  for (int i = 0; i < 200; ++i) {
    const double middle = 0.5 * (low + high);
    if (middle <= low || middle >= high) break;
    (chi_square_cdf(middle, degrees) < probability ? low : high) = middle;
  }
  return 0.5 * (low + high);
}

}  // namespace gndfit
