// SPDX-License-Identifier: MIT
// The probe conversions' own elementary functions: within 2 ulp of a table
// of exact values (each the double nearest the value computed to 70
// digits with Python's decimal module, apart from this code), on every
// platform; within 2 ulp of glibc's, an independent implementation
// correctly rounded or nearly so, over the ranges a probe gives; and right
// at the places where such functions go wrong (reduction across quadrants,
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

TEST(PortableMath, RealFunctionsWithinTwoUlpOfExactValues) {
  const struct {
    double x, sin, cos;
  } circular[] = {
      {1e-05, 9.999999999833334e-06, 0.99999999995},
      {0.1, 0.09983341664682815, 0.9950041652780258},
      {0.5, 0.479425538604203, 0.8775825618903728},
      {0.7853981633974483, 0.7071067811865475, 0.7071067811865476},
      {1.0, 0.8414709848078965, 0.5403023058681398},
      {1.5707963267948966, 1.0, 6.123233995736766e-17},
      {2.0, 0.9092974268256817, -0.4161468365471424},
      {3.141592653589793, 1.2246467991473532e-16, -1.0},
      {4.0, -0.7568024953079282, -0.6536436208636119},
      {6.283185307179586, -2.4492935982947064e-16, 1.0},
      {10.0, -0.5440211108893698, -0.8390715290764524},
      {33.3, 0.9513287387867827, -0.3081779206211071},
      {100.0, -0.5063656411097588, 0.8623188722876839},
      {1000.5, 0.9952739571052135, 0.09710690144438526},
      {-0.3, -0.29552020666133955, 0.955336489125606},
      {-2.5, -0.5984721441039565, -0.8011436155469337},
      {-7.0, -0.6569865987187891, 0.7539022543433046},
      {12345.678, -0.7040813137533816, 0.7101193587160628},
  };
  for (const auto& c : circular) {
    EXPECT_LE(ulps(portable::sin(c.x), c.sin), 2.0) << "sin " << c.x;
    EXPECT_LE(ulps(portable::cos(c.x), c.cos), 2.0) << "cos " << c.x;
  }
  const struct {
    double x, exp, sinh, cosh;
  } hyperbolic[] = {
      {-700.0, 9.85967654375977e-305, -5.0711602736750225e+303, 5.0711602736750225e+303},
      {-20.0, 2.061153622438558e-09, -242582597.70489514, 242582597.70489514},
      {-1.0, 0.36787944117144233, -1.1752011936438014, 1.5430806348152437},
      {-1e-08, 0.9999999900000001, -1e-08, 1.0},
      {0.5, 1.6487212707001282, 0.5210953054937474, 1.1276259652063807},
      {1.0, 2.718281828459045, 1.1752011936438014, 1.5430806348152437},
      {2.302585092994046, 10.000000000000002, 4.950000000000001, 5.050000000000001},
      {10.0, 22026.465794806718, 11013.232874703393, 11013.232920103323},
      {88.7, 3.325986980250579e+38, 1.6629934901252895e+38, 1.6629934901252895e+38},
      {700.0, 1.0142320547350045e+304, 5.0711602736750225e+303, 5.0711602736750225e+303},
  };
  for (const auto& h : hyperbolic) {
    EXPECT_LE(ulps(portable::exp(h.x), h.exp), 2.0) << "exp " << h.x;
    EXPECT_LE(ulps(portable::sinh(h.x), h.sinh), 2.0) << "sinh " << h.x;
    EXPECT_LE(ulps(portable::cosh(h.x), h.cosh), 2.0) << "cosh " << h.x;
  }
}

// Other C libraries are not held to this: MinGW's sin and cos are many
// ulp out near multiples of pi, where the x87 reduces the argument.
#if defined(__GLIBC__)
TEST(PortableMath, RealFunctionsWithinTwoUlpOfGlibc) {
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
#endif

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
