// SPDX-License-Identifier: MIT
// The unpacked software type against the x87, bit for bit, on positive
// normal operands over exponents far wider than the model's chains reach:
// random significands, few-bit ones (exact results and ties), all-ones ones
// (a rounding carry out of the top bit), and for sums every alignment
// distance, through each operation and the store to single.
#include "model/positive_extended.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "support/x87_reference.hpp"

#ifndef GNDFIT_DIFFERENTIAL_PAIRS
#define GNDFIT_DIFFERENTIAL_PAIRS 1000000
#endif

namespace gndfit {
namespace {

using namespace x87_reference;

class PositiveSource {
 public:
  explicit PositiveSource(std::uint64_t seed) : rng_(seed) {}

  SoftExtended any() { return near(16383 + static_cast<int>(rng_() % 10001) - 5000); }

  // With its exponent up to 130 places from the given one.
  SoftExtended near(int biased) {
    std::uint64_t sig = (std::uint64_t{1} << 63) | (rng_() >> 1);
    switch (rng_() % 4) {
      case 0:  // few bits: exact results, and ties below the last kept bit
        sig = (std::uint64_t{1} << 63) | ((rng_() & 0xFF) << (rng_() % 56));
        break;
      case 1:  // all ones, or nearly
        sig = ~std::uint64_t{0} << (rng_() % 3);
        break;
      default:
        break;
    }
    const int e = biased + (rng_() % 2 ? static_cast<int>(rng_() % 131) - 65 : 0);
    return SoftExtended::from_bits(static_cast<std::uint16_t>(e), sig);
  }

 private:
  std::mt19937_64 rng_;
};

template <typename HardOp, typename PositiveOp>
void expect_as_x87(std::uint64_t seed, HardOp hard_op, PositiveOp positive_op) {
#if defined(__x86_64__) || defined(__i386__)
  PositiveSource source(seed);
  long differences = 0;
  for (long i = 0; i < GNDFIT_DIFFERENTIAL_PAIRS / 4; ++i) {
    const SoftExtended a = source.any();
    const SoftExtended b = i % 2 ? source.near(a.sign_exponent()) : source.any();
    const SoftExtended want = to_soft(hard_op(to_hard(a), to_hard(b)));
    const SoftExtended got =
        positive_op(PositiveExtended::unpacked(a), PositiveExtended::unpacked(b)).packed();
    if ((want.sign_exponent() != got.sign_exponent() || want.significand() != got.significand()) &&
        ++differences <= 5) {
      ADD_FAILURE() << hex(a) << " op " << hex(b) << ": x87 " << hex(want) << ", unpacked "
                    << hex(got);
    }
  }
  EXPECT_EQ(differences, 0);
#else
  (void)seed, (void)hard_op, (void)positive_op;
#endif
}

TEST(PositiveExtendedAgainstX87, EachOperation) {
  SKIP_WITHOUT_X87();
  expect_as_x87(
      21, [](auto a, auto b) { return a + b; }, [](auto a, auto b) { return a + b; });
  expect_as_x87(
      22, [](auto a, auto b) { return a * b; }, [](auto a, auto b) { return a * b; });
  expect_as_x87(
      23, [](auto a, auto b) { return a / b; }, [](auto a, auto b) { return a / b; });
#if defined(__x86_64__) || defined(__i386__)
  expect_as_x87(
      24, [](auto a, auto) { return hard_sqrt(a); }, [](auto a, auto) { return square_root(a); });
#endif
}

// Doubles in, the way the model's chains start, and stores to single over
// the single's whole range and beyond it (its subnormals and overflow).
TEST(PositiveExtendedAgainstX87, FromDoublesAndToSingle) {
  SKIP_WITHOUT_X87();
#if defined(__x86_64__) || defined(__i386__)
  std::mt19937_64 rng(25);
  PositiveSource source(26);
  for (long i = 0; i < GNDFIT_DIFFERENTIAL_PAIRS / 8; ++i) {
    const double d = std::ldexp(1.0 + static_cast<double>(rng() >> 12) * 0x1p-52,
                                static_cast<int>(rng() % 2046) - 1022);
    ASSERT_TRUE(PositiveExtended::holds(d));
    ASSERT_EQ(hex(PositiveExtended(d).packed()), hex(to_soft(static_cast<Hard>(d)))) << d;
    const SoftExtended x = source.near(16383 + static_cast<int>(rng() % 320) - 160);
    const float want = static_cast<float>(to_hard(x));
    const float got = store_single(PositiveExtended::unpacked(x));
    ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << hex(x);
  }
  for (const double d : {0.0, -1.0, 4.9406564584124654e-324, double{HUGE_VAL}, double{NAN}}) {
    EXPECT_FALSE(PositiveExtended::holds(d)) << d;
  }
#endif
}

}  // namespace
}  // namespace gndfit
