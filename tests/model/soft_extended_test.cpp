// SPDX-License-Identifier: MIT
// The software extended type against the x87 itself, bit for bit: seeded
// random operands of every kind through each operation and conversion.
// Where there is no x87 to compare with, the tests say so and skip.
#include "model/soft_extended.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>

#include "support/x87_reference.hpp"

#ifndef GNDFIT_DIFFERENTIAL_PAIRS
#define GNDFIT_DIFFERENTIAL_PAIRS 1000000
#endif

namespace gndfit {
namespace {

using namespace x87_reference;

constexpr long kPairs = GNDFIT_DIFFERENTIAL_PAIRS;

// Operands drawn by kind, all in the encodings the x87 itself produces (no
// pseudo-denormals, unnormals or pseudo-NaNs, which no operation makes):
// each kind aims at a different path of the
// arithmetic (alignment, cancellation, rounding carries, subnormals,
// overflow, specials).
class OperandSource {
 public:
  explicit OperandSource(std::uint64_t seed) : rng_(seed) {}

  SoftExtended any() {
    switch (rng_() % 16) {
      case 0:
        return special();
      case 1:
        return subnormal();
      case 2:
        return with_exponent(32766 - static_cast<int>(rng_() % 80));  // huge
      case 3:
        return with_exponent(1 + static_cast<int>(rng_() % 80));  // tiny
      case 4:
        return with_exponent(16383 + static_cast<int>(rng_() % 64) - 32);  // near 1
      case 5:
        return few_bits();
      case 6:
        return SoftExtended(random_double());
      case 7:
        return SoftExtended(random_float());
      default:
        return with_exponent(1 + static_cast<int>(rng_() % 32766));
    }
  }

  // A second operand related to the first: close to it (cancellation),
  // far from it (alignment and sticky bits), or independent.
  SoftExtended partner(SoftExtended a) {
    const std::uint16_t se = a.sign_exponent();
    const int biased = se & 0x7FFF;
    switch (rng_() % 6) {
      case 0: {  // the same exponent, low bits changed: cancels
        const std::uint64_t sig = a.significand() ^ (rng_() >> (rng_() % 64));
        return SoftExtended::from_bits(se ^ sign_flip(), biased != 0 ? sig | 1ull << 63 : sig >> 1);
      }
      case 1: {  // one exponent apart
        const int e = std::clamp(biased + (rng_() % 2 ? 1 : -1), 1, 32766);
        return SoftExtended::from_bits(static_cast<std::uint16_t>(e | (rng_() % 2 ? 0x8000 : 0)),
                                       (1ull << 63) | (rng_() >> 1));
      }
      case 2: {  // far apart, around the guard bits
        const int d = 60 + static_cast<int>(rng_() % 75);
        const int e = std::clamp(biased - d, 1, 32766);
        return SoftExtended::from_bits(static_cast<std::uint16_t>(e | (rng_() % 2 ? 0x8000 : 0)),
                                       (1ull << 63) | (rng_() >> (rng_() % 64)));
      }
      default:
        return any();
    }
  }

  double random_double() {
    const std::uint64_t bits = rng_();
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }
  float random_float() {
    const auto bits = static_cast<std::uint32_t>(rng_());
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }

  // Values near the edges of double and single: their subnormals,
  // overflow, and halfway cases of the conversions.
  SoftExtended near_double_or_single() {
    static constexpr int kEdges[] = {16383 - 1022, 16383 - 1074, 16383 + 1023,
                                     16383 - 126,  16383 - 149,  16383 + 127};
    const int edge = kEdges[rng_() % 6] + static_cast<int>(rng_() % 70) - 35;
    SoftExtended x = with_exponent(edge);
    if (rng_() % 3 == 0) {  // a halfway pattern below the kept bits
      const int cut = 1 + static_cast<int>(rng_() % 62);
      const std::uint64_t sig = (x.significand() >> cut << cut) | (1ull << (cut - 1));
      x = SoftExtended::from_bits(x.sign_exponent(), sig);
    }
    return x;
  }

 private:
  std::uint16_t sign_flip() { return rng_() % 2 ? 0x8000 : 0; }
  std::uint16_t sign() { return rng_() % 2 ? 0x8000 : 0; }

  SoftExtended with_exponent(int biased) {
    return SoftExtended::from_bits(static_cast<std::uint16_t>(biased | sign()),
                                   (1ull << 63) | (rng_() >> 1));
  }
  SoftExtended few_bits() {  // exact results and ties are common
    const std::uint64_t sig = (1ull << 63) | ((rng_() & 0xFF) << (rng_() % 56));
    return SoftExtended::from_bits(static_cast<std::uint16_t>((16383 + rng_() % 8) | sign()), sig);
  }
  SoftExtended subnormal() { return SoftExtended::from_bits(sign(), rng_() >> (1 + rng_() % 63)); }
  SoftExtended special() {
    const std::uint16_t top = static_cast<std::uint16_t>(0x7FFF | sign());
    switch (rng_() % 5) {
      case 0:
        return SoftExtended::from_bits(sign(), 0);  // zero
      case 1:
        return SoftExtended::from_bits(top, 1ull << 63);  // infinity
      case 2:
        return SoftExtended::from_bits(top,
                                       (3ull << 62) | (rng_() >> (2 + rng_() % 62)));  // quiet NaN
      case 3:
        return SoftExtended::from_bits(top, (1ull << 63) | 1 | (rng_() >> 2));  // signalling NaN
      default:
        return SoftExtended::from_bits(top, 3ull << 62);  // indefinite
    }
  }

  std::mt19937_64 rng_;
};

#if defined(__x86_64__) || defined(__i386__)
template <typename HardOp, typename SoftOp>
void expect_same_for_pairs(std::uint64_t seed, HardOp hard_op, SoftOp soft_op) {
  OperandSource source(seed);
  long differences = 0;
  for (long i = 0; i < kPairs; ++i) {
    const SoftExtended a = source.any();
    const SoftExtended b = i % 2 ? source.partner(a) : source.any();
    const SoftExtended want = to_soft(hard_op(to_hard(a), to_hard(b)));
    const SoftExtended got = soft_op(a, b);
    if (want.sign_exponent() != got.sign_exponent() || want.significand() != got.significand()) {
      if (++differences <= 5) {
        ADD_FAILURE() << hex(a) << " op " << hex(b) << ": x87 " << hex(want) << ", software "
                      << hex(got);
      }
    }
  }
  EXPECT_EQ(differences, 0) << "of " << kPairs << " pairs";
}
#else
template <typename HardOp, typename SoftOp>
void expect_same_for_pairs(std::uint64_t, HardOp, SoftOp) {}
#endif

TEST(SoftExtendedAgainstX87, Add) {
  SKIP_WITHOUT_X87();
  expect_same_for_pairs(
      1, [](auto a, auto b) { return a + b; }, [](auto a, auto b) { return a + b; });
}
TEST(SoftExtendedAgainstX87, Subtract) {
  SKIP_WITHOUT_X87();
  expect_same_for_pairs(
      2, [](auto a, auto b) { return a - b; }, [](auto a, auto b) { return a - b; });
}
TEST(SoftExtendedAgainstX87, Multiply) {
  SKIP_WITHOUT_X87();
  expect_same_for_pairs(
      3, [](auto a, auto b) { return a * b; }, [](auto a, auto b) { return a * b; });
}
TEST(SoftExtendedAgainstX87, Divide) {
  SKIP_WITHOUT_X87();
  expect_same_for_pairs(
      4, [](auto a, auto b) { return a / b; }, [](auto a, auto b) { return a / b; });
}

TEST(SoftExtendedAgainstX87, SquareRoot) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  expect_same_for_pairs(
      5, [](auto a, auto) { return hard_sqrt(a); }, [](auto a, auto) { return sqrt(a); });
#endif
}

// Radicands whose top 64 bits are a perfect square or next to one, where
// the double's estimate of their root is most often one off, and the
// largest significands, whose estimate rounds up to 2^32; both parities of
// the exponent, since an odd one shifts the radicand by a bit.
TEST(SoftExtendedAgainstX87, SquareRootNearPerfectSquares) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  std::mt19937_64 rng(12);
  long differences = 0;
  auto check = [&](std::uint64_t top) {
    // top >= 2^63 is a whole significand under an even power; below it,
    // the significand's top 63 bits under an odd one.
    const bool even = top >> 63 != 0;
    const std::uint64_t sig = even ? top : (top << 1) | (rng() & 1);
    const int biased = 16383 + 63 + (even ? 0 : 1) + 2 * (static_cast<int>(rng() % 64) - 32);
    const SoftExtended x = SoftExtended::from_bits(static_cast<std::uint16_t>(biased), sig);
    const SoftExtended want = to_soft(hard_sqrt(to_hard(x)));
    const SoftExtended got = sqrt(x);
    if (want.sign_exponent() != got.sign_exponent() || want.significand() != got.significand()) {
      if (++differences <= 5)
        ADD_FAILURE() << hex(x) << ": x87 " << hex(want) << ", software " << hex(got);
    }
  };
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t k = (std::uint64_t{1} << 31) + (rng() >> 33);  // 2^31 <= k < 2^32
    for (const std::uint64_t top : {k * k, k * k - 1, k * k + 1, k * k + 2 * k}) {
      if (top >> 62 != 0) check(top);
    }
  }
  for (std::uint64_t below = 0; below < 1000; ++below) check(~below);
  EXPECT_EQ(differences, 0);
#endif
}

TEST(SoftExtendedAgainstX87, ComparisonsIncludingUnordered) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  OperandSource source(6);
  for (long i = 0; i < kPairs / 4; ++i) {
    const SoftExtended a = source.any();
    const SoftExtended b = i % 3 == 0 ? a : source.partner(a);
    const Hard x = to_hard(a), y = to_hard(b);
    ASSERT_EQ(a == b, x == y) << hex(a) << " " << hex(b);
    ASSERT_EQ(a < b, x < y) << hex(a) << " " << hex(b);
    ASSERT_EQ(a <= b, x <= y) << hex(a) << " " << hex(b);
    ASSERT_EQ(a > b, x > y) << hex(a) << " " << hex(b);
    ASSERT_EQ(a >= b, x >= y) << hex(a) << " " << hex(b);
  }
#endif
}

TEST(SoftExtendedAgainstX87, StoresToDoubleAndSingle) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  OperandSource source(7);
  long differences = 0;
  for (long i = 0; i < kPairs; ++i) {
    const SoftExtended x = i % 2 ? source.near_double_or_single() : source.any();
    const double hd = static_cast<double>(to_hard(x));
    const double sd = static_cast<double>(x);
    const float hf = static_cast<float>(to_hard(x));
    const float sf = static_cast<float>(x);
    if (std::memcmp(&hd, &sd, 8) != 0 || std::memcmp(&hf, &sf, 4) != 0) {
      if (++differences <= 5) {
        ADD_FAILURE() << hex(x) << ": x87 " << hd << " " << hf << ", software " << sd << " " << sf;
      }
    }
  }
  EXPECT_EQ(differences, 0);
#endif
}

TEST(SoftExtendedAgainstX87, LoadsFromDoubleSingleAndIntegers) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  OperandSource source(8);
  std::mt19937_64 rng(9);
  for (long i = 0; i < kPairs / 4; ++i) {
    const double d = source.random_double();
    const float f = source.random_float();
    const auto n = static_cast<long long>(rng() >> (rng() % 64)) * (rng() % 2 ? 1 : -1);
    ASSERT_EQ(hex(SoftExtended(d)), hex(to_soft(d))) << d;
    ASSERT_EQ(hex(SoftExtended(f)), hex(to_soft(f))) << f;
    ASSERT_EQ(hex(SoftExtended(n)), hex(to_soft(static_cast<Hard>(n)))) << n;
  }
  constexpr long long kMin = -0x7FFFFFFFFFFFFFFF - 1;
  EXPECT_EQ(hex(SoftExtended(kMin)), hex(to_soft(static_cast<Hard>(kMin))));
#endif
}

#if defined(__x86_64__) || defined(__i386__)
// b with its exponent `distance` below a's and a significand whose low bits
// are often a tie pattern, so that rounding the exact sum first to 64 bits
// and then to the stored width would differ from rounding it once.
template <typename T>
T partner_at_distance(std::mt19937_64& rng, T a, int distance) {
  using Bits = typename IeeeFormat<T>::Bits;
  constexpr int kFraction = IeeeFormat<T>::kFractionBits;
  const auto bits = bit_cast_of<Bits>(a);
  const int biased = static_cast<int>(bits >> kFraction) & IeeeFormat<T>::kMaxBiased;
  const int b_biased = std::max(biased - distance, 0);
  Bits fraction = static_cast<Bits>(rng()) & ((Bits{1} << kFraction) - 1);
  if (rng() % 2) {  // one bit set at a random place, or none
    fraction = rng() % 4 ? Bits{1} << (rng() % kFraction) : 0;
  }
  const Bits sign = rng() % 2 ? Bits{1} << (8 * sizeof(T) - 1) : 0;
  return bit_cast_of<T>(
      static_cast<Bits>(sign | (static_cast<Bits>(b_biased) << kFraction) | fraction));
}

template <typename T>
void expect_stored_sums_as_x87() {
  std::mt19937_64 rng(sizeof(T));
  OperandSource source(10 + sizeof(T));
  long differences = 0;
  auto check = [&](T a, T b) {
    const double want_sum = static_cast<double>(static_cast<Hard>(a) + static_cast<Hard>(b));
    const double want_difference = static_cast<double>(static_cast<Hard>(a) - static_cast<Hard>(b));
    const double sum = soft_sum_stored_as_double(a, b);
    const double difference = soft_difference_stored_as_double(a, b);
    if (std::memcmp(&want_sum, &sum, 8) != 0 ||
        std::memcmp(&want_difference, &difference, 8) != 0) {
      if (++differences <= 5) {
        ADD_FAILURE() << std::hexfloat << a << " and " << b << ": x87 " << want_sum << " "
                      << want_difference << ", software " << sum << " " << difference;
      }
    }
  };
  // Every exponent distance around the one where the exact result stops
  // fitting 64 bits, from both sides, with halfway patterns; the largest
  // and smallest finite values, subnormals, infinities and NaNs.
  for (int distance = 0; distance <= 70; ++distance) {
    for (int i = 0; i < 20000; ++i) {
      T a = std::is_same_v<T, float> ? static_cast<T>(source.random_float())
                                     : static_cast<T>(source.random_double());
      if (!std::isfinite(a) || i % 8 == 0)
        a = partner_at_distance(rng, T{1}, static_cast<int>(rng() % 3) - 1);
      const T b = partner_at_distance(rng, a, distance);
      check(a, b);
      check(b, a);
    }
  }
  constexpr T kMax = std::numeric_limits<T>::max();
  constexpr T kTiny = std::numeric_limits<T>::denorm_min();
  constexpr T kInf = std::numeric_limits<T>::infinity();
  const T nan = std::numeric_limits<T>::quiet_NaN();
  for (T a : {T{0}, -T{0}, T{1}, kMax, -kMax, kTiny, -kTiny, kInf, -kInf, nan, -nan}) {
    for (T b : {T{0}, -T{0}, T{1}, kMax, -kMax, kTiny, -kTiny, kInf, -kInf, nan, -nan}) check(a, b);
  }
  EXPECT_EQ(differences, 0);
}
#endif

// The stored sums' short way (the hardware's double operation where the
// extended result is exact) against the x87 forming them in extended and
// storing them.
TEST(SoftExtendedAgainstX87, SumsAndDifferencesStoredAsDouble) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  // The case that sets the limit: 1 + (2^-53 + 2^-64) rounds to 1 + 2^-52
  // once, but to 1 + 2^-53 at 64 bits and then to 1 as a double.
  EXPECT_EQ(soft_sum_stored_as_double(1.0, 0x1.002p-53), 1.0);
  // And one just past it: 11 apart, the carry makes the exact sum 65 bits.
  const double a = 0x1.fffcc33a0049fp+0, b = 0x1.3045babfd3fffp-11;
  EXPECT_EQ(soft_sum_stored_as_double(a, b),
            static_cast<double>(static_cast<Hard>(a) + static_cast<Hard>(b)));
  EXPECT_NE(soft_sum_stored_as_double(a, b), a + b);
  expect_stored_sums_as_x87<float>();
  expect_stored_sums_as_x87<double>();
#endif
}

// The simplex's trial coordinate's short way against the x87 forming
// b (middle + best) + a worst and storing it: the simplex's coefficients
// and others (powers of two out of the short way's range, and not powers
// of two), coordinates at every distance around the short way's limit of 8
// places with tie patterns, and zeros, subnormals, huge values, infinities
// and NaNs, which all take the long way.
TEST(SoftExtendedAgainstX87, PairCombinationStoredAsDouble) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  std::mt19937_64 rng(13);
  OperandSource source(14);
  const float kInfF = std::numeric_limits<float>::infinity();
  const float coefficients[] = {
      -1.0f, 1.0f,   2.0f,    -0.5f,  0.5f,
      0.25f, 256.0f, 0x1p-8f, 512.0f, 0x1p-9f,
      -0.3f, 3.0f,   0.0f,    -kInfF, std::numeric_limits<float>::quiet_NaN()};
  constexpr double kMax = std::numeric_limits<double>::max();
  const double specials[] = {0.0,
                             -0.0,
                             4.9406564584124654e-324,
                             -2.2250738585072014e-308,
                             0x1p-960,
                             0x1p+960,
                             kMax,
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  long differences = 0;
  auto check = [&](float a, float b, double best, double middle, double worst) {
    const Hard pair = static_cast<Hard>(middle) + static_cast<Hard>(best);
    const double want = static_cast<double>(static_cast<Hard>(b) * pair +
                                            static_cast<Hard>(a) * static_cast<Hard>(worst));
    const double got = soft_pair_combination_stored_as_double(a, b, best, middle, worst);
    if (std::memcmp(&want, &got, 8) != 0 && ++differences <= 5) {
      ADD_FAILURE() << std::hexfloat << a << " " << b << " " << best << " " << middle << " "
                    << worst << ": x87 " << want << ", software " << got;
    }
  };
  auto near = [&](double base) {  // up to 12 places above or below base
    const int distance = static_cast<int>(rng() % 13);
    if (rng() % 2) return partner_at_distance(rng, base, distance);
    const double above = partner_at_distance(rng, base, 0);
    return std::ldexp(above, distance);
  };
  for (int i = 0; i < 2000000; ++i) {
    const float a = coefficients[rng() % 15 < 10 ? rng() % 6 : rng() % 15];
    const float b = coefficients[rng() % 15 < 10 ? rng() % 6 : rng() % 15];
    double best = source.random_double();
    if (!std::isfinite(best) || i % 4 == 0)
      best = std::ldexp(1.0, static_cast<int>(rng() % 2100) - 1070);
    double middle = near(best), worst = near(best);
    if (i % 16 == 0) (rng() % 2 ? middle : worst) = specials[rng() % 9];
    if (i % 3 == 0) middle = -best + partner_at_distance(rng, best, 50);  // cancels
    check(a, b, best, middle, worst);
  }
  EXPECT_EQ(differences, 0);
#endif
}

// What the model relies on, checked everywhere, x87 or not.
TEST(SoftExtended, InvalidOperationsGiveTheNegativeIndefiniteNaN) {
  const SoftExtended zero(0.0), inf(1.0 / 0.0), one(1.0);
  const std::string indefinite = "ffff:c000000000000000";
  EXPECT_EQ(hex(zero / zero), indefinite);
  EXPECT_EQ(hex(inf * zero), indefinite);
  EXPECT_EQ(hex(inf - inf), indefinite);
  EXPECT_EQ(hex(sqrt(-one)), indefinite);
  EXPECT_TRUE(std::signbit(static_cast<double>(zero / zero)));
  EXPECT_EQ(hex(sqrt(-zero)), "8000:0000000000000000");
}

TEST(SoftExtended, ConstantsFoldAtCompileTime) {
  constexpr SoftExtended tenth(0.1);
  static_assert(tenth.sign_exponent() == 0x3FFB && tenth.significand() == 0xCCCCCCCCCCCCD000u);
  constexpr SoftExtended denormal(4.9406564584124654e-324);
  static_assert(denormal.sign_exponent() == 16383 - 1074 && denormal.significand() == 1ull << 63);
  EXPECT_EQ(static_cast<double>(tenth * SoftExtended(10)), 1.0);
}

}  // namespace
}  // namespace gndfit
