// SPDX-License-Identifier: MIT
#include "number/decimal_number.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "number/ieee_format.hpp"
#include "number/wide.hpp"

namespace gndfit {

namespace {

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> p{};
  p[0] = 1;
  for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10;
  return p;
}();

constexpr std::uint64_t kRoom = 0x3333333333333333u;  // largest n with 5n in 64 bits

constexpr int kLastPowerOfFive = 27;  // 5^27 is the largest in 64 bits
constexpr std::array<std::uint64_t, kLastPowerOfFive + 1> kPowersOfFive = [] {
  std::array<std::uint64_t, kLastPowerOfFive + 1> p{};
  p[0] = 1;
  for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 5;
  return p;
}();

// The steps below take n up by 5 when 5n fits and otherwise halve it, so
// once it has first been halved n stays within (kRoom/2, 5 kRoom], and just
// after the j-th halving within (kRoom/2, 5 kRoom/2], a range of ratio 5
// that holds n0 5^a / 2^j for exactly one a.  While the halvings drop only
// zero bits nothing is rounded, so the state after the last such halving
// is known at once: a quintuplings and j = (trailing zeros of n0) halvings.
void skip_exact_steps(std::uint64_t& n, int& steps, int& e) {
  if (n == 0) return;
  // j halvings as far as the zero bits and the steps allow: a fit within
  // the steps is found after a try or two, each shortening j by the excess.
  for (int j = std::min(std::countr_zero(n), steps); j > 0;) {
    const Wide low = Wide{kRoom} << (j - 1);       // n0 5^a must exceed this
    const Wide high = Wide{kRoom} * 5 << (j - 1);  // and not exceed this
    int a = std::max(0, (bit_length(low) - bit_length(Wide{n})) * 1000 / 2322 - 1);
    while (a <= kLastPowerOfFive && Wide{n} * kPowersOfFive[static_cast<std::size_t>(a)] <= low)
      ++a;
    if (a > kLastPowerOfFive) return;
    if (a + j > steps) {
      j -= a + j - steps;
      continue;
    }
    const Wide scaled = Wide{n} * kPowersOfFive[static_cast<std::size_t>(a)];
    if (scaled > high) return;  // cannot happen; the slow path stays exact
    n = static_cast<std::uint64_t>(scaled >> j);
    e -= a;
    steps -= a + j;
    return;
  }
}

// n 2^-steps as decimal digits: each step either takes n up by 5 (one more
// decimal place, exact) when there is room, or halves it, rounding half to
// even.  e counts the decimal places.
void halve_and_quintuple(std::uint64_t& n, int steps, int& e) {
  skip_exact_steps(n, steps, e);
  // Written without branches: which way a step goes is data, not pattern.
  for (; steps > 0; --steps) {
    const bool room = n <= kRoom;
    const std::uint64_t half = (n >> 1) + (n & (n >> 1) & 1);  // rounded half to even
    n = room ? n * 5 : half;
    e -= room ? 1 : 0;
  }
}

}  // namespace

std::uint64_t power_of_ten(int k) { return kPowersOfTen[static_cast<std::size_t>(k)]; }

int decimal_digit_count(std::uint64_t n) {
  if (n == 0) return 1;
  // 1233 / 4096 is just under log10(2): t is the count or one less.
  const int t = (64 - std::countl_zero(n)) * 1233 >> 12;
  return n >= power_of_ten(t) ? t + 1 : t;
}

std::uint64_t drop_digits_half_up(std::uint64_t n, int k) {
  if (k <= 0) return n;
  if (k > 19) return 0;
  const std::uint64_t divisor = power_of_ten(k);
  const std::uint64_t half = k == 19 ? 5'000'000'000'000'000'000u : (divisor + 1) / 2;
  const std::uint64_t quotient = n / divisor;
  return n - quotient * divisor >= half ? quotient + 1 : quotient;
}

DecimalNumber to_decimal(double value, bool is_single) {
  DecimalNumber d;
  d.is_single = is_single;
  const BinaryDouble b = decode_double(value);
  d.negative = b.negative;
  if (!b.finite) {
    d.kind = b.fraction == 0                 ? DecimalNumber::Kind::infinite
             : b.bits == 0xFFF8000000000000u ? DecimalNumber::Kind::indefinite
                                             : DecimalNumber::Kind::not_a_number;
    return d;
  }
  if (b.significand == 0) return d;

  std::uint64_t n = b.significand;
  int q = b.exponent;
  int e = 0;
  if (q < 0) {
    halve_and_quintuple(n, -q, e);
    q = 0;
  }
  for (; q > 0; --q) {
    if (n >> 63) {
      n = (n - 3) / 5 + 1;  // n / 5 rounded to nearest
      ++e;
    } else {
      n <<= 1;
    }
  }
  const int surplus = decimal_digit_count(n) - 16;
  if (surplus > 0) {
    n = drop_digits_half_up(n, surplus);
    e += surplus;
  }
  d.digits = n;
  d.exponent = e;
  return d;
}

}  // namespace gndfit
