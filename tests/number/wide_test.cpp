// SPDX-License-Identifier: MIT
// The portable 128-bit integers against the compiler's own, on random
// operands of every size: both paths of `Wide` are exercised on one CPU.
#include "number/wide.hpp"

#include <gtest/gtest.h>

#include <random>

namespace gndfit {
namespace {

#if defined(__SIZEOF_INT128__)
std::uint64_t random_bits(std::mt19937_64& rng) { return rng() >> (rng() % 64); }

bool same(PortableWide p, NativeWide n) { return p.high() == high_half(n) && p.low() == low_half(n); }

TEST(Wide, PortableArithmeticMatchesTheNativeType) {
  std::mt19937_64 rng(128);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t ah = random_bits(rng), al = random_bits(rng);
    const std::uint64_t bh = random_bits(rng), bl = random_bits(rng);
    const PortableWide pa(ah, al), pb(bh, bl);
    const NativeWide na = make_wide<NativeWide>(ah, al), nb = make_wide<NativeWide>(bh, bl);
    const int shift = static_cast<int>(rng() % 128);
    ASSERT_TRUE(same(pa + pb, na + nb));
    ASSERT_TRUE(same(pa - pb, na - nb));
    ASSERT_TRUE(same(pa * pb, na * nb));
    ASSERT_TRUE(same(pa << shift, na << shift)) << shift;
    ASSERT_TRUE(same(pa >> shift, na >> shift)) << shift;
    ASSERT_TRUE(same(pa & pb, na & nb));
    ASSERT_TRUE(same(pa | pb, na | nb));
    ASSERT_EQ(pa < pb, na < nb);
    ASSERT_EQ(pa == pb, na == nb);
    ASSERT_EQ(bit_length(pa), bit_length(na));
    ASSERT_TRUE(same(multiply_wide<PortableWide>(al, bl), multiply_wide<NativeWide>(al, bl)));
  }
}

TEST(Wide, PortableDivisionMatchesTheNativeType) {
  std::mt19937_64 rng(64);
  for (int i = 0; i < 200000; ++i) {
    std::uint64_t d = random_bits(rng);
    if (d == 0) d = 1;
    // Quotients that fit 64 bits: the high half below the divisor,
    // often just below it, where the digit estimates need correcting.
    const std::uint64_t high = i % 4 == 0 ? d - 1 : random_bits(rng) % d;
    const std::uint64_t low = random_bits(rng);
    const WideQuotient p = divide_wide(PortableWide(high, low), d);
    const WideQuotient n = divide_wide(make_wide<NativeWide>(high, low), d);
    ASSERT_EQ(p.quotient, n.quotient) << high << ":" << low << " / " << d;
    ASSERT_EQ(p.remainder, n.remainder) << high << ":" << low << " / " << d;
  }
}
#else
TEST(Wide, PortableArithmeticMatchesTheNativeType) {
  GTEST_SKIP() << "this compiler has no unsigned __int128 to compare with";
}
#endif

}  // namespace
}  // namespace gndfit
