// SPDX-License-Identifier: MIT
#include "number/decimal_number.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace gndfit {
namespace {

// The conversion as it is defined, one binary step at a time: quintuple
// when there is room, else halve rounding half to even; then keep 16
// digits rounding half up.  The fast conversion must give the same digits
// for every value.
DecimalNumber step_by_step(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  DecimalNumber d;
  d.negative = (bits >> 63) != 0;
  if (biased == 0 && fraction == 0) return d;
  std::uint64_t n = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  int q = (biased == 0 ? 1 : biased) - 1075, e = 0;
  for (; q < 0; ++q) {
    if (n <= 0x3333333333333333u) {
      n *= 5;
      --e;
    } else {
      const bool dropped = n & 1;
      n >>= 1;
      if (dropped && (n & 1)) ++n;
    }
  }
  for (; q > 0; --q) {
    if (n >> 63) {
      n = (n - 3) / 5 + 1;
      ++e;
    } else {
      n <<= 1;
    }
  }
  int count = 1;
  for (std::uint64_t m = n; m >= 10; m /= 10) ++count;
  if (count > 16) {
    std::uint64_t divisor = 1;
    for (int i = 0; i < count - 16; ++i) divisor *= 10;
    const std::uint64_t rem = n % divisor;
    n = n / divisor + (rem >= (divisor + 1) / 2 ? 1 : 0);
    e += count - 16;
  }
  d.digits = n;
  d.exponent = e;
  return d;
}

void expect_same_digits(double v) {
  if (!std::isfinite(v)) return;
  const DecimalNumber fast = to_decimal(v, false);
  const DecimalNumber slow = step_by_step(v);
  ASSERT_EQ(fast.digits, slow.digits) << v;
  ASSERT_EQ(fast.exponent, slow.exponent) << v;
  ASSERT_EQ(fast.negative, slow.negative) << v;
}

TEST(DecimalNumber, MatchesTheStepByStepConversionForRandomDoublesOfEveryExponent) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 300000; ++i) {
    std::uint64_t bits = rng();
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0x7FF) continue;
    if (i % 3 == 0) bits &= ~((std::uint64_t{1} << (rng() % 53)) - 1);  // trailing zeros
    double v;
    std::memcpy(&v, &bits, sizeof v);
    expect_same_digits(v);
  }
}

TEST(DecimalNumber, MatchesTheStepByStepConversionForSinglesOfEveryExponent) {
  std::mt19937 rng(12);
  for (int i = 0; i < 300000; ++i) {
    std::uint32_t bits = static_cast<std::uint32_t>(rng());
    if (((bits >> 23) & 0xFF) == 0xFF) continue;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    expect_same_digits(static_cast<double>(f));
  }
}

TEST(DecimalNumber, MatchesTheStepByStepConversionAtDigitAndPowerBoundaries) {
  for (double v : {1.0, 0.1, 0.5, 9.5, 99.95, 0.0995, 0.995, 1e15, 9007199254740993.0, 1e-300,
                   5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 3.0517578125e-05}) {
    expect_same_digits(v);
    expect_same_digits(std::nextafter(v, 0.0));
    expect_same_digits(std::nextafter(v, 2.0 * v + 1.0));
  }
}

TEST(DecimalNumber, DigitCountsAndHalfUpDrops) {
  EXPECT_EQ(decimal_digit_count(0), 1);
  EXPECT_EQ(decimal_digit_count(9), 1);
  EXPECT_EQ(decimal_digit_count(10), 2);
  EXPECT_EQ(decimal_digit_count(9999999999999999999u), 19);
  EXPECT_EQ(decimal_digit_count(10000000000000000000u), 20);
  EXPECT_EQ(decimal_digit_count(18446744073709551615u), 20);
  EXPECT_EQ(drop_digits_half_up(1234550, 2), 12346u);
  EXPECT_EQ(drop_digits_half_up(1234549, 2), 12345u);
  EXPECT_EQ(drop_digits_half_up(18446744073709551615u, 19), 2u);
  EXPECT_EQ(drop_digits_half_up(4999999999999999999u, 19), 0u);
  EXPECT_EQ(drop_digits_half_up(5, 20), 0u);
}

}  // namespace
}  // namespace gndfit
