// SPDX-License-Identifier: MIT
#include "model/soft_extended.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "number/wide.hpp"

namespace gndfit {
namespace soft_extended_detail {
namespace {

SoftExtended infinity(bool negative) {
  return SoftExtended::from_bits(sign_of(negative) | kMaxBiased, kTopBit);
}
SoftExtended indefinite() {
  return SoftExtended::from_bits(kSignBit | kMaxBiased, kTopBit | kQuietBit);
}
SoftExtended quieted(SoftExtended x) {
  return SoftExtended::from_bits(x.sign_exponent(), x.significand() | kQuietBit);
}

// The NaN an operation with at least one NaN operand gives.
SoftExtended propagate_nan(SoftExtended a, SoftExtended b) {
  if (!is_nan(a)) return quieted(b);
  if (!is_nan(b)) return quieted(a);
  const bool a_quiet = (a.significand() & kQuietBit) != 0;
  const bool b_quiet = (b.significand() & kQuietBit) != 0;
  if (a_quiet != b_quiet) return quieted(a_quiet ? a : b);
  if (a.significand() != b.significand()) {
    return quieted(a.significand() > b.significand() ? a : b);
  }
  return quieted(is_negative(a) ? b : a);
}

// Any finite non-zero value unpacked, subnormals normalised.
Unpacked unpack(SoftExtended x) {
  const int biased = biased_of(x);
  if (biased != 0) return {is_negative(x), biased - kBias, x.significand()};
  const int shift = std::countl_zero(x.significand());
  return {is_negative(x), kMinExponent - shift, x.significand() << shift};
}

}  // namespace

// The exact value (significand + below / 2^64) 2^(exponent - 63), with the
// significand's top bit set, rounded once to nearest even: to a subnormal
// below the normal range, to infinity above it.
SoftExtended round_and_pack(bool negative, int exponent, std::uint64_t significand,
                            std::uint64_t below) {
  const bool subnormal = exponent < kMinExponent;
  if (subnormal) {
    shift_right_sticky(significand, below, kMinExponent - exponent);
    exponent = kMinExponent;
  }
  if (below > kTopBit || (below == kTopBit && (significand & 1) != 0)) {
    if (++significand == 0) {
      significand = kTopBit;
      ++exponent;
    }
  }
  if (subnormal) {
    // Rounding up to 2^63 reaches the smallest normal.
    const int biased = (significand & kTopBit) != 0 ? 1 : 0;
    return SoftExtended::from_bits(static_cast<std::uint16_t>(sign_of(negative) | biased),
                                   significand);
  }
  if (exponent > kBias) return infinity(negative);
  return SoftExtended::from_bits(static_cast<std::uint16_t>(sign_of(negative) | (exponent + kBias)),
                                 significand);
}

SoftExtended add_special(SoftExtended a, SoftExtended b) {
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  const bool a_negative = is_negative(a);
  const bool b_negative = is_negative(b);
  if (is_infinite(a)) return is_infinite(b) && a_negative != b_negative ? indefinite() : a;
  if (is_infinite(b)) return b;
  if (is_zero(a)) return is_zero(b) ? zero(a_negative && b_negative) : b;
  if (is_zero(b)) return a;
  if (!magnitude_not_less(a, b)) std::swap(a, b);
  return add_unpacked(unpack(a), unpack(b));
}

SoftExtended multiply_special(SoftExtended a, SoftExtended b) {
  const bool negative = is_negative(a) != is_negative(b);
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  if (is_infinite(a) || is_infinite(b)) {
    return is_zero(a) || is_zero(b) ? indefinite() : infinity(negative);
  }
  if (is_zero(a) || is_zero(b)) return zero(negative);
  return multiply_unpacked(negative, unpack(a), unpack(b));
}

SoftExtended divide_special(SoftExtended a, SoftExtended b) {
  const bool negative = is_negative(a) != is_negative(b);
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  if (is_infinite(a)) return is_infinite(b) ? indefinite() : infinity(negative);
  if (is_infinite(b)) return zero(negative);
  if (is_zero(b)) return is_zero(a) ? indefinite() : infinity(negative);
  if (is_zero(a)) return zero(negative);
  return divide_unpacked(negative, unpack(a), unpack(b));
}

}  // namespace soft_extended_detail

SoftExtended sqrt(SoftExtended v) {
  using namespace soft_extended_detail;
  if (is_nan(v)) return quieted(v);
  if (is_zero(v)) return v;
  if (is_negative(v)) return indefinite();
  if (is_infinite(v)) return v;
  const RootParts r = square_root_parts(unpack(v));
  const std::uint64_t below = r.exact ? 0 : r.above_half ? kAboveHalf : kBelowHalf;
  return round_and_pack_fast(false, r.exponent, r.significand, below);
}

namespace soft_extended_detail {
namespace {

// x rounded once to a binary format with `precision` significand bits
// (hidden bit included) and exponents from min_exponent to max_exponent,
// as the format's raw bits.
template <typename Bits>
Bits round_to_format(SoftExtended x, int precision, int min_exponent, int max_exponent) {
  const int fraction_bits = precision - 1;
  const Bits sign = is_negative(x) ? Bits{1} << (sizeof(Bits) * 8 - 1) : 0;
  const Bits all_ones = static_cast<Bits>(2 * max_exponent + 1) << fraction_bits;
  if (is_nan(x)) {
    const Bits payload = static_cast<Bits>((x.significand() << 1) >> (64 - fraction_bits));
    return sign | all_ones | payload | (Bits{1} << (fraction_bits - 1));
  }
  if (is_infinite(x)) return sign | all_ones;
  if (is_zero(x)) return sign;
  const Unpacked u = unpack(x);
  int exponent = u.exponent;
  const int drop = 64 - precision + (exponent < min_exponent ? min_exponent - exponent : 0);
  if (drop > 64) return sign;  // below half the smallest subnormal
  const std::uint64_t kept = drop == 64 ? 0 : u.significand >> drop;
  const std::uint64_t rest =
      drop == 64 ? u.significand : u.significand & ((std::uint64_t{1} << drop) - 1);
  const std::uint64_t half = std::uint64_t{1} << (drop - 1);
  std::uint64_t rounded = kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
  if (exponent < min_exponent) {
    // A subnormal; rounding up into the hidden bit gives the smallest normal.
    return sign | static_cast<Bits>(rounded);
  }
  if (rounded >> precision != 0) {
    rounded >>= 1;
    ++exponent;
  }
  if (exponent > max_exponent) return sign | all_ones;
  const Bits fraction = static_cast<Bits>(rounded) & ((Bits{1} << fraction_bits) - 1);
  return sign | (static_cast<Bits>(exponent + max_exponent) << fraction_bits) | fraction;
}

}  // namespace

double to_double_special(SoftExtended x) {
  return bit_cast_of<double>(round_to_format<std::uint64_t>(x, 53, -1022, 1023));
}

float to_single_special(SoftExtended x) {
  return bit_cast_of<float>(round_to_format<std::uint32_t>(x, 24, -126, 127));
}

template <typename T>
double sum_in_full(T a, T b) {
  return static_cast<double>(SoftExtended(a) + SoftExtended(b));
}
template <typename T>
double difference_in_full(T a, T b) {
  return static_cast<double>(SoftExtended(a) - SoftExtended(b));
}
template double sum_in_full(double, double);
template double sum_in_full(float, float);
template double difference_in_full(double, double);
template double difference_in_full(float, float);

double pair_combination_in_full(float a, float b, double best, double middle, double worst) {
  const SoftExtended pair = SoftExtended(middle) + SoftExtended(best);
  return static_cast<double>(SoftExtended(b) * pair + SoftExtended(a) * SoftExtended(worst));
}

namespace {

// -1, 0 or 1 as a is below, equal to or above b; both ordered.
int compare_ordered(SoftExtended a, SoftExtended b) {
  if (is_zero(a) && is_zero(b)) return 0;
  if (is_negative(a) != is_negative(b)) return is_negative(a) ? -1 : 1;
  const int magnitude = a.sign_exponent() == b.sign_exponent() && a.significand() == b.significand()
                            ? 0
                            : (magnitude_not_less(a, b) ? 1 : -1);
  return is_negative(a) ? -magnitude : magnitude;
}

}  // namespace
}  // namespace soft_extended_detail

using namespace soft_extended_detail;

bool operator==(SoftExtended a, SoftExtended b) {
  return !is_nan(a) && !is_nan(b) && compare_ordered(a, b) == 0;
}
bool operator<(SoftExtended a, SoftExtended b) {
  return !is_nan(a) && !is_nan(b) && compare_ordered(a, b) < 0;
}
bool operator<=(SoftExtended a, SoftExtended b) {
  return !is_nan(a) && !is_nan(b) && compare_ordered(a, b) <= 0;
}

}  // namespace gndfit
