// SPDX-License-Identifier: MIT
// The probe conversions' own elementary functions against the C library's
// (an independent implementation, correctly rounded or nearly so on
// glibc): within 2 ulp over the ranges a probe gives, and right at the
// places where such functions go wrong (reduction across quadrants,
// exp's range ends, sinh near zero, the complex root's branch cut).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

#include "sweep/portable_math.hpp"

namespace gndfit {
namespace {

// Distance in units in the last place of `want`.
double ulps(double got, double want) {
  if (got == want) return 0.0;
  const double ulp = std::nextafter(std::fabs(want), std::numeric_limits<double>::infinity()) -
                     std::fabs(want);
  return std::fabs(got - want) / ulp;
}

TEST(PortableMath, RealFunctionsWithinTwoUlpOfTheCLibrary) {
  double worst[5] = {};
  for (int i = -20000; i <= 20000; ++i) {
    const double x = i * 0.00731;  // about -146 to 146, every quadrant many times
    worst[0] = std::max(worst[0], ulps(portable::sin(x), std::sin(x)));
    worst[1] = std::max(worst[1], ulps(portable::cos(x), std::cos(x)));
    const double e = i * 0.0351;   // about -702 to 702: near both ends of exp's range
    worst[2] = std::max(worst[2], ulps(portable::exp(e), std::exp(e)));
    const double h = i * 0.00003;  // -0.6 to 0.6 and beyond 1 at the ends of the next
    worst[3] = std::max(worst[3], ulps(portable::sinh(h), std::sinh(h)));
    worst[4] = std::max(worst[4], ulps(portable::cosh(i * 0.001), std::cosh(i * 0.001)));
  }
  EXPECT_LE(worst[0], 2.0) << "sin";
  EXPECT_LE(worst[1], 2.0) << "cos";
  EXPECT_LE(worst[2], 2.0) << "exp";
  EXPECT_LE(worst[3], 2.0) << "sinh";
  EXPECT_LE(worst[4], 2.0) << "cosh";
  for (const double x : {1e-300, 1e-8, 0.999999, 1.0, 1.000001, 5.0, 30.0}) {
    EXPECT_LE(ulps(portable::sinh(x), std::sinh(x)), 2.0) << x;
    EXPECT_LE(ulps(portable::sinh(-x), std::sinh(-x)), 2.0) << -x;
  }
}

TEST(PortableMath, ExactValuesAndRangeEnds) {
  EXPECT_EQ(portable::sin(0.0), 0.0);
  EXPECT_EQ(portable::cos(0.0), 1.0);
  EXPECT_EQ(portable::exp(0.0), 1.0);
  EXPECT_EQ(portable::exp(1e-300), 1.0);
  EXPECT_EQ(portable::exp(800.0), std::numeric_limits<double>::infinity());
  EXPECT_EQ(portable::exp(-800.0), 0.0);
  EXPECT_TRUE(std::isnan(portable::sin(std::numeric_limits<double>::infinity())));
  EXPECT_LE(ulps(portable::from_decibels(-20.0), 0.1), 2.0);
  EXPECT_LE(ulps(portable::from_decibels(6.0), std::pow(10.0, 0.3)), 2.0);
  // A tiny argument keeps its relative precision, not exp's absolute one.
  EXPECT_LE(ulps(portable::sinh(1e-10), 1e-10), 1.0);
}

TEST(PortableMath, ComplexFunctionsAgreeWithTheLibrary) {
  using C = std::complex<double>;
  const auto near = [](C got, C want) {
    const double scale = std::abs(want);
    return std::abs(got - want) <= 4e-16 * scale;
  };
  for (const C z : {C(0.3, 0.2), C(1.5, -0.01), C(-2.0, 3.0), C(12.0, 0.5), C(0.0, -1e-6),
                    C(3.0e-9, 1e-12)}) {
    EXPECT_TRUE(near(portable::sin(z), std::sin(z))) << z;
    EXPECT_TRUE(near(portable::cos(z), std::cos(z))) << z;
    EXPECT_TRUE(near(portable::sqrt(z), std::sqrt(z))) << z << portable::sqrt(z);
    EXPECT_NEAR(portable::abs(z), std::abs(z), 2e-16 * std::abs(z)) << z;
  }
  // The root's branch cut: the sign of a zero imaginary part chooses.
  EXPECT_EQ(portable::sqrt(C(-4.0, 0.0)), C(0.0, 2.0));
  EXPECT_EQ(portable::sqrt(C(-4.0, -0.0)), C(0.0, -2.0));
  EXPECT_EQ(portable::sqrt(C(0.0, 0.0)), C(0.0, 0.0));
  EXPECT_LE(ulps(portable::abs(C(3e200, 4e200)), 5e200), 1.0);  // no overflow in the squares
  EXPECT_LE(ulps(portable::abs(C(3e-200, 4e-200)), 5e-200), 1.0);
}

}  // namespace
}  // namespace gndfit
