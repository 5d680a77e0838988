// SPDX-License-Identifier: MIT
#include "sweep/portable_math.hpp"

#include <cmath>
#include <limits>

namespace gndfit::portable {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// ln 2 in two parts, the first with its low bits zero so that k times it
// is exact for the k that exp meets.
constexpr double kLn2High = 0.6931471803691238;
constexpr double kLn2Low = 1.9082149292705877e-10;
constexpr double kInverseLn2 = 1.4426950408889634;
constexpr double kLn10 = 2.302585092994046;

// pi/2 in three parts, the first two of 33 bits, for the same reason.
constexpr double kHalfPi1 = 1.5707963267341256;
constexpr double kHalfPi2 = 6.077100506303966e-11;
constexpr double kHalfPi3 = 2.0222662487959506e-21;
constexpr double kTwoOverPi = 0.6366197723675814;

// Taylor series by Horner's rule, the smallest terms first.
double exp_near_zero(double r) {  // |r| <= ln2 / 2
  double sum = 1.0;
  for (int n = 13; n >= 1; --n) sum = 1.0 + sum * r / n;
  return sum;
}

double sin_near_zero(double r) {  // |r| <= pi / 4
  const double r2 = r * r;
  double sum = 1.0;
  for (int n = 17; n >= 3; n -= 2) sum = 1.0 - sum * r2 / (n * (n - 1));
  return r * sum;
}

double cos_near_zero(double r) {  // |r| <= pi / 4
  const double r2 = r * r;
  double sum = 1.0;
  for (int n = 18; n >= 2; n -= 2) sum = 1.0 - sum * r2 / (n * (n - 1));
  return sum;
}

double sinh_near_zero(double x) {  // |x| < 1, where exp would cancel
  const double x2 = x * x;
  double sum = 1.0;
  for (int n = 19; n >= 3; n -= 2) sum = 1.0 + sum * x2 / (n * (n - 1));
  return x * sum;
}

// x = r + k pi/2 with |r| <= pi/4 (about); the quadrant k mod 4.
struct Reduced {
  double r;
  int quadrant;
};

Reduced reduce(double x) {
  const double k = std::floor(x * kTwoOverPi + 0.5);
  const double r = ((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
  const double quarter = k - 4.0 * std::floor(k / 4.0);
  return {r, static_cast<int>(quarter)};
}

}  // namespace

double exp(double x) {
  if (std::isnan(x)) return x;
  if (x > 709.78) return kInfinity;
  if (x < -745.2) return 0.0;
  const double k = std::floor(x * kInverseLn2 + 0.5);
  const double r = (x - k * kLn2High) - k * kLn2Low;
  return std::ldexp(exp_near_zero(r), static_cast<int>(k));
}

double sin(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  const Reduced a = reduce(x);
  switch (a.quadrant) {
    case 0: return sin_near_zero(a.r);
    case 1: return cos_near_zero(a.r);
    case 2: return -sin_near_zero(a.r);
    default: return -cos_near_zero(a.r);
  }
}

double cos(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  const Reduced a = reduce(x);
  switch (a.quadrant) {
    case 0: return cos_near_zero(a.r);
    case 1: return -sin_near_zero(a.r);
    case 2: return -cos_near_zero(a.r);
    default: return sin_near_zero(a.r);
  }
}

double sinh(double x) {
  if (std::fabs(x) < 1.0) return sinh_near_zero(x);
  const double e = exp(std::fabs(x));
  const double value = 0.5 * e - 0.5 / e;
  return x < 0.0 ? -value : value;
}

double cosh(double x) {
  const double e = exp(std::fabs(x));
  return 0.5 * e + 0.5 / e;
}

double from_decibels(double decibels) { return exp(decibels / 20.0 * kLn10); }

std::complex<double> polar(double magnitude, double radians) {
  return {magnitude * cos(radians), magnitude * sin(radians)};
}

// Scaled by the larger part, so that squares neither overflow nor
// underflow.
double abs(std::complex<double> z) {
  const double a = std::fabs(z.real()), b = std::fabs(z.imag());
  const double big = a > b ? a : b;
  const double small = a > b ? b : a;
  if (big == 0.0 || std::isinf(big)) return big;
  if (std::isnan(small)) return small;
  const double ratio = small / big;
  return big * std::sqrt(1.0 + ratio * ratio);
}

std::complex<double> sqrt(std::complex<double> z) {
  const double a = z.real(), b = z.imag();
  if (a == 0.0 && b == 0.0) return {0.0, b};
  const double t = std::sqrt((abs(z) + std::fabs(a)) / 2.0);
  if (a >= 0.0) return {t, b / (2.0 * t)};
  return {std::fabs(b) / (2.0 * t), std::copysign(t, b)};
}

std::complex<double> sin(std::complex<double> z) {
  const double a = z.real(), b = z.imag();
  return {sin(a) * cosh(b), cos(a) * sinh(b)};
}

std::complex<double> cos(std::complex<double> z) {
  const double a = z.real(), b = z.imag();
  return {cos(a) * cosh(b), -(sin(a) * sinh(b))};
}

}  // namespace gndfit::portable
