// SPDX-License-Identifier: MIT
#pragma once
// The software extended type for chains whose every operand and result is
// a positive normal value, as in the ground model's formula for positive
// normal inputs: the fields are kept unpacked (an exponent and a 64-bit
// significand with its top bit set) from one operation to the next, and no
// operation checks for zeros, infinities, NaNs, signs or the exponent's
// range.  Each gives the bits SoftExtended gives (and the x87 with them):
// the same exact result, rounded once to nearest even.
//
// The caller vouches for the range.  Products, quotients and roots of
// doubles a few operations deep stay far inside the extended exponents
// (+-16382): a chain of k products or quotients of doubles is within
// 2^(+-1100 k).
#include <cstdint>
#include <utility>

#include "model/soft_extended.hpp"
#include "number/ieee_format.hpp"
#include "number/wide.hpp"

namespace gndfit {

class PositiveExtended {
 public:
  // A positive normal double, exactly.
  explicit constexpr PositiveExtended(double v)
      : PositiveExtended(ieee_fields(v).biased - IeeeFormat<double>::kBias,
                         (ieee_fields(v).fraction | (std::uint64_t{1} << 52)) << 11) {}

  // A positive normal value of the packed type, unpacked.
  static PositiveExtended unpacked(SoftExtended v) {
    return {(v.sign_exponent() & soft_extended_detail::kMaxBiased) - soft_extended_detail::kBias,
            v.significand()};
  }

  // The value a positive normal double can be the type of: false for
  // zeros, subnormals, negative values, infinities and NaNs.
  static bool holds(double v) {
    const IeeeFields f = ieee_fields(v);
    return !f.negative && f.biased != 0 && f.biased != IeeeFormat<double>::kMaxBiased;
  }

  SoftExtended packed() const {
    return SoftExtended::from_bits(
        static_cast<std::uint16_t>(exponent_ + soft_extended_detail::kBias), significand_);
  }
  // Rounded once to single, by the general type (the single's range is
  // checked there).
  explicit operator float() const { return static_cast<float>(packed()); }

  friend PositiveExtended operator*(PositiveExtended a, PositiveExtended b) {
    const soft_extended_detail::NormalisedProduct p =
        soft_extended_detail::normalised_product(a.significand_, b.significand_);
    return rounded(a.exponent_ + b.exponent_ + p.above_two, p.high, p.low);
  }

  friend PositiveExtended operator/(PositiveExtended a, PositiveExtended b) {
    // A 64-bit quotient with its top bit set, and where the rest lies.
    const std::uint64_t shifted = a.significand_ >= b.significand_ ? 1 : 0;
    const Wide numerator = make_wide(a.significand_ >> shifted, (a.significand_ & shifted) << 63);
    const WideQuotient qr = divide_wide(numerator, b.significand_);
    // Up when the rest is above half the divisor.  It is never exactly
    // half: that would make the odd part of a's significand a multiple of
    // 2q + 1 > 2^64, which no 64-bit significand is.
    const std::uint64_t up = qr.remainder > b.significand_ - qr.remainder ? 1 : 0;
    return incremented(a.exponent_ - b.exponent_ - 1 + static_cast<int>(shifted), qr.quotient, up);
  }

  friend PositiveExtended operator+(PositiveExtended a, PositiveExtended b) {
    // The larger first; then b's significand aligned below a's.
    if (b.exponent_ > a.exponent_ ||
        (b.exponent_ == a.exponent_ && b.significand_ > a.significand_)) {
      std::swap(a, b);
    }
    using namespace soft_extended_detail;
    const CarriedSum sum =
        carried_sum(a.significand_, aligned_addend(b.significand_, a.exponent_ - b.exponent_));
    return rounded(a.exponent_ + sum.carry, sum.high, sum.low);
  }

  friend PositiveExtended square_root(PositiveExtended v) {
    const soft_extended_detail::RootParts r =
        soft_extended_detail::square_root_parts({false, v.exponent_, v.significand_});
    return incremented(r.exponent, r.significand, r.above_half ? 1 : 0);
  }

 private:
  static constexpr std::uint64_t kTopBit = soft_extended_detail::kTopBit;

  constexpr PositiveExtended(int exponent, std::uint64_t significand)
      : exponent_(exponent), significand_(significand) {}

  // (significand + below / 2^64) 2^(exponent - 63) rounded to nearest
  // even: up when above the half, or at it with the last bit odd; a carry
  // out of the top bit moves to the exponent.
  static PositiveExtended rounded(int exponent, std::uint64_t significand, std::uint64_t below) {
    return incremented(exponent, significand, below > kTopBit - (significand & 1) ? 1 : 0);
  }
  // The significand plus up (0 or 1).  A carry out of the top bit is rare
  // (all ones rounded up), so it is a branch, which keeps the common case's
  // significand off any test.
  static PositiveExtended incremented(int exponent, std::uint64_t significand, std::uint64_t up) {
    significand += up;
    if (significand == 0) [[unlikely]] {
      return {exponent + 1, kTopBit};
    }
    return {exponent, significand};
  }

  int exponent_;               // of the significand's top bit
  std::uint64_t significand_;  // top bit set
};

inline float store_single(PositiveExtended v) { return static_cast<float>(v); }

}  // namespace gndfit
