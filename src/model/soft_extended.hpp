// SPDX-License-Identifier: MIT
#pragma once
// The x87 80-bit extended format in software, for CPUs whose long double is
// something else (IEEE quad on ARM64 Linux and WebAssembly, plain double on
// Apple silicon and with MSVC).
//
// The value is kept in the x87's own encoding: a sign and 15-bit biased
// exponent, and a 64-bit significand whose integer bit is explicit.  Every
// operation gives what the x87 gives with precision control at 64 bits and
// rounding to nearest even, computed with integer arithmetic (and, where the
// result is then checked or exact, the hardware's double: a square root's
// estimate, a sum known to be exact):
//   - one rounding per operation, subnormal results included;
//   - an invalid operation (0/0, inf*0, inf-inf, square root of a negative)
//     gives the negative quiet "indefinite" NaN;
//   - a NaN operand is quieted and passed on; of two NaNs the one with the
//     larger significand wins, a quiet one over a signalling one, and the
//     positive one when only the signs differ;
//   - conversions to single and double round once, to their subnormals and
//     infinities as the hardware's stores do.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

#include "number/ieee_format.hpp"
#include "number/wide.hpp"

namespace gndfit {

// The format's fields.
namespace soft_extended_detail {
constexpr int kBias = 16383;
constexpr int kMinExponent = 1 - kBias;  // of the smallest normal
constexpr std::uint16_t kSignBit = 0x8000;
constexpr std::uint16_t kMaxBiased = 0x7FFF;
constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
}  // namespace soft_extended_detail

class SoftExtended {
 public:
  constexpr SoftExtended() = default;  // +0
  constexpr SoftExtended(double v)
      : SoftExtended(from_double(v)) {}  // NOLINT: exact, as for long double
  constexpr SoftExtended(float v) : SoftExtended(from_float(v)) {}        // NOLINT
  constexpr SoftExtended(int v) : SoftExtended(from_integer(v)) {}        // NOLINT
  constexpr SoftExtended(long long v) : SoftExtended(from_integer(v)) {}  // NOLINT

  static constexpr SoftExtended from_bits(std::uint16_t sign_exponent, std::uint64_t significand) {
    SoftExtended x;
    x.se_ = sign_exponent;
    x.sig_ = significand;
    return x;
  }
  constexpr std::uint16_t sign_exponent() const { return se_; }
  constexpr std::uint64_t significand() const { return sig_; }

  inline explicit operator double() const;
  inline explicit operator float() const;

  friend inline SoftExtended operator+(SoftExtended a, SoftExtended b);
  friend inline SoftExtended operator-(SoftExtended a, SoftExtended b);
  friend inline SoftExtended operator*(SoftExtended a, SoftExtended b);
  friend inline SoftExtended operator/(SoftExtended a, SoftExtended b);
  friend constexpr SoftExtended operator-(SoftExtended a) {
    return from_bits(static_cast<std::uint16_t>(a.se_ ^ kSignBit), a.sig_);
  }
  SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
  SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
  SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
  SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

  // IEEE comparisons: a NaN is unordered with everything, -0 equals +0.
  friend bool operator==(SoftExtended a, SoftExtended b);
  friend bool operator<(SoftExtended a, SoftExtended b);
  friend bool operator<=(SoftExtended a, SoftExtended b);
  friend bool operator>(SoftExtended a, SoftExtended b) { return b < a; }
  friend bool operator>=(SoftExtended a, SoftExtended b) { return b <= a; }

 private:
  // The format's fields, under short names.
  static constexpr int kBias = soft_extended_detail::kBias;
  static constexpr std::uint16_t kSignBit = soft_extended_detail::kSignBit;
  static constexpr std::uint16_t kMaxBiased = soft_extended_detail::kMaxBiased;
  static constexpr std::uint64_t kTopBit = soft_extended_detail::kTopBit;
  static constexpr std::uint64_t kQuietBit = soft_extended_detail::kQuietBit;

  // An IEEE single or double turned into ours: the fields decoded once
  // (number/ieee_format.hpp), then placed in our wider fields.
  template <typename T>
  static constexpr SoftExtended from_binary(T v) {
    using Format = IeeeFormat<T>;
    constexpr int kFractionBits = Format::kFractionBits;
    const IeeeFields f = ieee_fields(v);
    const std::uint16_t sign = f.negative ? kSignBit : 0;
    if (f.biased == Format::kMaxBiased) {  // infinity, or NaN (quieted, as a load does)
      const std::uint64_t payload = f.fraction << (63 - kFractionBits);
      return from_bits(sign | kMaxBiased, kTopBit | payload | (f.fraction != 0 ? kQuietBit : 0));
    }
    if (f.biased == 0 && f.fraction == 0) return from_bits(sign, 0);
    if (f.biased == 0) {  // subnormal: becomes a normal extended
      const int shift = std::countl_zero(f.fraction);
      const int exponent = 1 - Format::kBias - (shift - (63 - kFractionBits));
      return from_bits(static_cast<std::uint16_t>(sign | (exponent + kBias)), f.fraction << shift);
    }
    return from_bits(static_cast<std::uint16_t>(sign | (f.biased - Format::kBias + kBias)),
                     kTopBit | (f.fraction << (63 - kFractionBits)));
  }
  static constexpr SoftExtended from_double(double v) { return from_binary(v); }
  static constexpr SoftExtended from_float(float v) { return from_binary(v); }
  static constexpr SoftExtended from_integer(long long v) {
    if (v == 0) return {};
    const std::uint64_t magnitude =
        v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    const int shift = std::countl_zero(magnitude);
    return from_bits(static_cast<std::uint16_t>((v < 0 ? kSignBit : 0) | (63 - shift + kBias)),
                     magnitude << shift);
  }

  std::uint64_t sig_ = 0;
  std::uint16_t se_ = 0;
};

SoftExtended sqrt(SoftExtended v);

// The arithmetic's common case, inline: normal operands and a normal
// result.  Everything else (zeros, subnormals, infinities, NaNs, overflow)
// goes to the out-of-line functions of soft_extended.cpp.
namespace soft_extended_detail {

// Below-the-significand bits that stand for "more than a half", "less than a
// half but not zero", "exactly a half": the lowest bit is sticky.
constexpr std::uint64_t kAboveHalf = kTopBit | 1;
constexpr std::uint64_t kBelowHalf = 1;

inline std::uint16_t sign_of(bool negative) { return negative ? kSignBit : 0; }

inline bool is_negative(SoftExtended x) { return (x.sign_exponent() & kSignBit) != 0; }
inline int biased_of(SoftExtended x) { return x.sign_exponent() & kMaxBiased; }
inline bool is_nan(SoftExtended x) {
  return biased_of(x) == kMaxBiased && (x.significand() << 1) != 0;
}
inline bool is_infinite(SoftExtended x) {
  return biased_of(x) == kMaxBiased && (x.significand() << 1) == 0;
}
inline bool is_zero(SoftExtended x) { return biased_of(x) == 0 && x.significand() == 0; }
inline SoftExtended zero(bool negative) { return SoftExtended::from_bits(sign_of(negative), 0); }

// A finite non-zero value as significand 2^(exponent - 63), the
// significand's top bit set (subnormals normalised).
struct Unpacked {
  bool negative;
  int exponent;
  std::uint64_t significand;
};

// (high:low) shifted right by n >= 1, the bits shifted out kept as a
// sticky lowest bit.
inline void shift_right_sticky(std::uint64_t& high, std::uint64_t& low, int n) {
  if (n >= 128) {
    low = (high | low) != 0 ? 1 : 0;
    high = 0;
  } else if (n >= 64) {
    const int m = n - 64;
    const std::uint64_t lost = (m == 0 ? 0 : high << (64 - m)) | low;
    low = (m == 0 ? high : high >> m) | (lost != 0 ? 1 : 0);
    high = 0;
  } else {
    const std::uint64_t lost = low << (64 - n);
    low = (high << (64 - n)) | (low >> n) | (lost != 0 ? 1 : 0);
    high >>= n;
  }
}

// The exact value (significand + below / 2^64) 2^(exponent - 63), with the
// significand's top bit set, rounded once to nearest even: to a subnormal
// below the normal range, to infinity above it.
SoftExtended round_and_pack(bool negative, int exponent, std::uint64_t significand,
                            std::uint64_t below);

// Both operands normal: the common case, which needs no special-value
// checks and no normalising.
inline bool both_normal(SoftExtended a, SoftExtended b) {
  return static_cast<unsigned>(biased_of(a) - 1) < kMaxBiased - 1 &&
         static_cast<unsigned>(biased_of(b) - 1) < kMaxBiased - 1;
}

inline Unpacked unpack_normal(SoftExtended x) {
  return {is_negative(x), biased_of(x) - kBias, x.significand()};
}

// round_and_pack, taking the short way when the result is normal.
inline SoftExtended round_and_pack_fast(bool negative, int exponent, std::uint64_t significand,
                                        std::uint64_t below) {
  if (exponent < kMinExponent || exponent >= kBias) {
    return round_and_pack(negative, exponent, significand, below);
  }
  // Up when above the half, or at it with the last bit odd: a comparison,
  // not a branch, since the bits below are as likely either way.
  significand += below > kTopBit - (significand & 1) ? 1 : 0;
  if (significand == 0) {  // carried out of the top bit
    significand = kTopBit;
    ++exponent;
  }
  return SoftExtended::from_bits(static_cast<std::uint16_t>(sign_of(negative) | (exponent + kBias)),
                                 significand);
}

// 1 when |a| < |b|, else 0, for finite values, by their encodings; as
// arithmetic on the comparisons, which a compiler keeps free of branches.
inline std::uint64_t magnitude_below(SoftExtended a, SoftExtended b) {
  const auto exponent_below = static_cast<std::uint64_t>(biased_of(a) < biased_of(b));
  const auto exponent_equal = static_cast<std::uint64_t>(biased_of(a) == biased_of(b));
  const auto significand_below = static_cast<std::uint64_t>(a.significand() < b.significand());
  return exponent_below | (exponent_equal & significand_below);
}

// |a| >= |b| for finite values, by their encodings.
inline bool magnitude_not_less(SoftExtended a, SoftExtended b) {
  return biased_of(a) > biased_of(b) ||
         (biased_of(a) == biased_of(b) && a.significand() >= b.significand());
}

// A significand moved `distance` places right, below a larger one's: its
// top 64 bits and a guard word, where the bits shifted out of the guard
// word are kept as a sticky lowest bit.
struct AlignedAddend {
  std::uint64_t high;
  std::uint64_t low;
};
inline AlignedAddend aligned_addend(std::uint64_t significand, int distance) {
  std::uint64_t high = significand;
  std::uint64_t low = 0;
  if (distance < 64) {
    // No bits are lost yet: the low bits move whole into the guard word
    // (significand << 64 - distance, written so that distance 0 gives none).
    low = (high << 1) << (63 - distance);
    high >>= distance;
  } else {
    shift_right_sticky(high, low, distance);
  }
  return {high, low};
}

// larger + the aligned addend, of the same sign: the sum's top 64 bits (top
// bit set), its guard word, and 1 when it carried out of the top bit (the
// exponent then one more).  A carry shifts the sum right by one, its lowest
// bit into the guard word and the guard word's lowest kept as sticky;
// without a branch, since a carry is as likely as none.
struct CarriedSum {
  std::uint64_t high;
  std::uint64_t low;
  int carry;
};
inline CarriedSum carried_sum(std::uint64_t larger, AlignedAddend addend) {
  std::uint64_t sum = larger + addend.high;
  const std::uint64_t carry = sum < addend.high ? 1 : 0;
  const std::uint64_t low = (addend.low >> carry) | ((sum & carry) << 63) | (addend.low & carry);
  sum = (sum >> carry) | (carry << 63);
  return {sum, low, static_cast<int>(carry)};
}

// a + b for finite non-zero operands given unpacked, |x| >= |y|.
inline SoftExtended add_unpacked(const Unpacked& x, const Unpacked& y) {
  const AlignedAddend aligned = aligned_addend(y.significand, x.exponent - y.exponent);
  const std::uint64_t high = aligned.high;
  const std::uint64_t low = aligned.low;
  const int exponent = x.exponent;
  if (x.negative == y.negative) {
    const CarriedSum sum = carried_sum(x.significand, aligned);
    return round_and_pack_fast(x.negative, exponent + sum.carry, sum.high, sum.low);
  }
  // The bits shifted out of b are a sticky bit below 64 guard bits, so the
  // borrow they cause never reaches the rounding decision wrongly.
  std::uint64_t difference_low = std::uint64_t{0} - low;
  std::uint64_t difference = x.significand - high - (low != 0 ? 1 : 0);
  if (difference == 0) {  // cancelled to the guard word, or to zero
    if (difference_low == 0) return zero(false);
    const int shift = std::countl_zero(difference_low);
    return round_and_pack_fast(x.negative, exponent - 64 - shift, difference_low << shift, 0);
  }
  const int shift = std::countl_zero(difference);
  difference = (difference << shift) | ((difference_low >> 1) >> (63 - shift));
  difference_low <<= shift;
  return round_and_pack_fast(x.negative, exponent - shift, difference, difference_low);
}

// The product of two significands with their top bits set, as the top 64
// bits (top bit set) and the 64 below them, and `above_two`: 1 when the
// product of the values in [1, 2) reached [2, 4), which adds one to the
// exponent.  Below 2 it is shifted left by one, without a branch (either
// is as likely).
struct NormalisedProduct {
  std::uint64_t high;
  std::uint64_t low;
  int above_two;
};
inline NormalisedProduct normalised_product(std::uint64_t a, std::uint64_t b) {
  const Wide product = multiply_wide(a, b);
  std::uint64_t high = high_half(product);
  std::uint64_t low = low_half(product);
  const std::uint64_t top = high >> 63;
  const int shift = static_cast<int>(1 - top);
  high = (high << shift) | ((low >> 63) & (1 - top));
  low <<= shift;
  return {high, low, static_cast<int>(top)};
}

inline SoftExtended multiply_unpacked(bool negative, const Unpacked& x, const Unpacked& y) {
  const NormalisedProduct p = normalised_product(x.significand, y.significand);
  return round_and_pack_fast(negative, x.exponent + y.exponent + p.above_two, p.high, p.low);
}

inline SoftExtended divide_unpacked(bool negative, const Unpacked& x, const Unpacked& y) {
  // A 64-bit quotient with its top bit set, and where the rest lies.
  // Branch-free: either case is as likely.
  const std::uint64_t shifted = x.significand >= y.significand ? 1 : 0;
  const Wide numerator = make_wide(x.significand >> shifted, (x.significand & shifted) << 63);
  const WideQuotient qr = divide_wide(numerator, y.significand);
  // The rest as guard bits: the top one for "at least a half", the sticky
  // one for "not exactly zero or a half".
  const std::uint64_t other = y.significand - qr.remainder;  // the rest measured from above
  const std::uint64_t below =
      (qr.remainder >= other ? kTopBit : 0) | (qr.remainder != 0 && qr.remainder != other ? 1 : 0);
  return round_and_pack_fast(negative, x.exponent - y.exponent - 1 + static_cast<int>(shifted),
                             qr.quotient, below);
}

// The square root of a positive finite value given unpacked: the root's
// significand (top bit set) and exponent, and where the rest lies.  An
// exact half is impossible, so the rest is zero, below the half or above
// it.
struct RootParts {
  int exponent;
  std::uint64_t significand;
  bool exact;
  bool above_half;
};

// Karatsuba square root with remainder (Zimmermann): the root of a 4-limb
// number from the root of its top two limbs and one division.
struct RootRemainder {
  std::uint64_t root;
  std::uint64_t remainder;
};

// For x >= 2^62: floor(sqrt(x)) and the rest.  The hardware's double
// square root of x (x rounded to 53 bits on the way, a relative error of
// 2^-53, and the root's own rounding, 2^-53 more) is within 2^-20 of the
// true root, so its integer part is at most one away; the exact remainder
// says which way.  (By that bound it is never one low: x's rounding takes
// at most 2^-22 off a whole root, under half the root's last place; the
// step up stays as the bound's guard.)  This takes the place of a table
// and two dependent integer divisions.
inline RootRemainder square_root_64(std::uint64_t x) {
  // x may exceed 2^63: converted as half of it (signed), then doubled.
  const double estimate = std::sqrt(static_cast<double>(static_cast<std::int64_t>(x >> 1)) * 2.0);
  const auto whole = static_cast<std::uint64_t>(static_cast<std::int64_t>(estimate));
  std::uint64_t root = std::min(whole, std::uint64_t{0xFFFFFFFF});
  if (root * root > x) {
    --root;
  } else if (x - root * root > 2 * root) {
    ++root;
  }
  return {root, x - root * root};
}

// For n >= 2^126, limbs of 32 bits; the remainder is up to 2 root, 65 bits.
// The step's division (r 2^32 + a1) / (2 s) is done as
// (r 2^31 + a1 / 2) / s, the same quotient, whose numerator fits 64 bits
// because r <= 2 s < 2^33.
struct WideRoot {
  std::uint64_t root;
  Wide remainder;
};

inline WideRoot square_root_128(Wide n) {
  const RootRemainder top = square_root_64(high_half(n));
  const std::uint64_t a1 = low_half(n) >> 32;
  const std::uint64_t halved = (top.remainder << 31) + (a1 >> 1);
  const std::uint64_t q = halved / top.root;
  const Wide u = (Wide{halved - q * top.root} << 1) | (a1 & 1);
  const Wide root = (Wide{top.root} << 32) + q;
  const Wide plus = (u << 32) | (low_half(n) & 0xFFFFFFFFu);
  const Wide minus = multiply_wide(q, q);
  if (plus >= minus) return {low_half(root), plus - minus};
  return {low_half(root - 1), plus + (root << 1) - 1 - minus};
}

inline RootParts square_root_parts(const Unpacked& x) {
  // x = significand 2^k: make the power even, the radicand in [2^126, 2^128).
  const int k = x.exponent - 63;
  const bool odd = (k & 1) != 0;
  const Wide radicand =
      odd ? make_wide(x.significand >> 1, x.significand << 63) : make_wide(x.significand, 0);
  const WideRoot r = square_root_128(radicand);
  // The root is above the half point exactly when the remainder exceeds it.
  return {(odd ? (k - 63) : (k - 64)) / 2 + 63, r.root, r.remainder == 0,
          r.remainder > Wide{r.root}};
}

SoftExtended add_special(SoftExtended a, SoftExtended b);
SoftExtended multiply_special(SoftExtended a, SoftExtended b);
SoftExtended divide_special(SoftExtended a, SoftExtended b);
double to_double_special(SoftExtended x);
float to_single_special(SoftExtended x);

// A value normal in the target format (and below its largest exponent, so
// that a carry out of the significand stays finite) rounded to it: the
// format's raw bits.  `precision` counts the hidden bit.
template <typename Bits>
Bits round_normal_to_format(SoftExtended x, int precision, int max_exponent) {
  const int fraction_bits = precision - 1;
  const Bits sign = is_negative(x) ? Bits{1} << (sizeof(Bits) * 8 - 1) : 0;
  const int drop = 64 - precision;
  const std::uint64_t kept = x.significand() >> drop;
  const std::uint64_t rest = x.significand() & ((std::uint64_t{1} << drop) - 1);
  const std::uint64_t half = std::uint64_t{1} << (drop - 1);
  const std::uint64_t up = (rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0;
  // The hidden bit and a carry of the rounding run on into the exponent.
  const Bits exponent_field = static_cast<Bits>(biased_of(x) - kBias + max_exponent - 1)
                              << fraction_bits;
  return sign | static_cast<Bits>(exponent_field + static_cast<Bits>(kept + up));
}

}  // namespace soft_extended_detail

inline SoftExtended operator+(SoftExtended a, SoftExtended b) {
  using namespace soft_extended_detail;
  if (!both_normal(a, b)) return add_special(a, b);
  // The larger magnitude first, chosen field by field rather than by a
  // branch, since either order is as likely.
  const std::uint64_t swap = magnitude_below(a, b);
  const std::uint64_t mask = std::uint64_t{0} - swap;
  const std::uint64_t se_flip = (a.sign_exponent() ^ b.sign_exponent()) & mask;
  const std::uint64_t sig_flip = (a.significand() ^ b.significand()) & mask;
  const SoftExtended larger = SoftExtended::from_bits(
      static_cast<std::uint16_t>(a.sign_exponent() ^ se_flip), a.significand() ^ sig_flip);
  const SoftExtended smaller = SoftExtended::from_bits(
      static_cast<std::uint16_t>(b.sign_exponent() ^ se_flip), b.significand() ^ sig_flip);
  return add_unpacked(unpack_normal(larger), unpack_normal(smaller));
}

inline SoftExtended operator-(SoftExtended a, SoftExtended b) {
  using namespace soft_extended_detail;
  // A NaN operand passes on with its own sign, so b is negated only when
  // it is not a NaN.
  if (!is_nan(b)) return a + -b;
  return add_special(a, b);
}

inline SoftExtended operator*(SoftExtended a, SoftExtended b) {
  using namespace soft_extended_detail;
  if (!both_normal(a, b)) return multiply_special(a, b);
  return multiply_unpacked(is_negative(a) != is_negative(b), unpack_normal(a), unpack_normal(b));
}

inline SoftExtended operator/(SoftExtended a, SoftExtended b) {
  using namespace soft_extended_detail;
  if (!both_normal(a, b)) return divide_special(a, b);
  return divide_unpacked(is_negative(a) != is_negative(b), unpack_normal(a), unpack_normal(b));
}

inline SoftExtended::operator double() const {
  using namespace soft_extended_detail;
  const int biased = biased_of(*this);
  if (biased >= kBias - 1022 && biased <= kBias + 1022) {
    return bit_cast_of<double>(round_normal_to_format<std::uint64_t>(*this, 53, 1023));
  }
  return to_double_special(*this);
}

inline SoftExtended::operator float() const {
  using namespace soft_extended_detail;
  const int biased = biased_of(*this);
  if (biased >= kBias - 126 && biased <= kBias + 126) {
    return bit_cast_of<float>(round_normal_to_format<std::uint32_t>(*this, 24, 127));
  }
  return to_single_special(*this);
}

// a + b and a - b for two singles or two doubles, formed in this type and
// stored as a double: the shape of the model's sums of stored values.
// When both are finite and their exponents close enough that the exact
// result fits 64 bits, the extended result is exact, and its store is the
// exact result rounded once to nearest even: what the hardware's double
// operation gives (and its exact zeros have the same signs).  Otherwise
// (far apart, infinities, NaNs) the type itself.
namespace soft_extended_detail {
// a + b and a - b by the type's own operations, out of line so that the
// short ways below stay small enough to inline (soft_extended.cpp makes
// them for singles and doubles).
template <typename T>
double sum_in_full(T a, T b);
template <typename T>
double difference_in_full(T a, T b);

template <typename T>
bool exact_in_extended(T a, T b) {
  using Format = IeeeFormat<T>;
  const int a_biased = ieee_fields(a).biased;
  const int b_biased = ieee_fields(b).biased;
  // A subnormal's last bit has the weight of the smallest normal's.
  const int distance = std::max(a_biased, 1) - std::max(b_biased, 1);
  constexpr int kMostDistance = 63 - (Format::kFractionBits + 1);
  return a_biased != Format::kMaxBiased && b_biased != Format::kMaxBiased &&
         distance <= kMostDistance && distance >= -kMostDistance;
}
}  // namespace soft_extended_detail

template <typename T>
double soft_sum_stored_as_double(T a, T b) {
  if (soft_extended_detail::exact_in_extended(a, b)) {
    return static_cast<double>(a) + static_cast<double>(b);
  }
  return soft_extended_detail::sum_in_full(a, b);
}

template <typename T>
double soft_difference_stored_as_double(T a, T b) {
  if (soft_extended_detail::exact_in_extended(a, b)) {
    return static_cast<double>(a) - static_cast<double>(b);
  }
  return soft_extended_detail::difference_in_full(a, b);
}

// b (middle + best) + a worst formed in this type and stored as a double,
// for doubles and coefficients that are powers of two: the simplex's trial
// coordinate.  When the doubles are normal and well inside their range, the
// coefficients between 2^-8 and 2^8, and the scaled operands' last bits at
// most 8 places apart, every intermediate is exact: as integers times the
// lowest last bit's weight, middle + best is below 2^62 and the whole below
// 2^63 (three terms under 2^61 each).  The store is then the exact value
// rounded once, which is the conversion of that signed 64-bit integer to
// double, scaled by a power of two that leaves it normal.  Otherwise the
// type itself, in the same order of operations.
namespace soft_extended_detail {
// The double (normal, its exponent between 64 and 1984 biased) as
// significand 2^exponent, the exponent that of its last bit after a
// scaling by 2^scale.
struct ScaledTerm {
  bool negative;
  std::uint64_t significand;
  int exponent;
};
inline bool scaled_term_of(double x, int scale, bool flip, ScaledTerm& term) {
  using Format = IeeeFormat<double>;
  const IeeeFields f = ieee_fields(x);
  term = {f.negative != flip, f.fraction | (std::uint64_t{1} << Format::kFractionBits),
          f.biased - Format::kBias - Format::kFractionBits + scale};
  return static_cast<unsigned>(f.biased - 64) <= 1984u - 64u;
}
// The power of two a coefficient is, between 2^-8 and 2^8; false otherwise.
inline bool power_of_two_scale(float c, int& scale) {
  const IeeeFields f = ieee_fields(c);
  scale = f.biased - IeeeFormat<float>::kBias;
  return f.fraction == 0 && scale >= -8 && scale <= 8;
}
// The combination by the type's own operations (soft_extended.cpp: out of
// line, so that the short way stays small enough to inline).
double pair_combination_in_full(float a, float b, double best, double middle, double worst);
inline std::int64_t aligned(const ScaledTerm& term, int lowest) {
  const auto magnitude = static_cast<std::int64_t>(term.significand << (term.exponent - lowest));
  return term.negative ? -magnitude : magnitude;
}
}  // namespace soft_extended_detail

inline double soft_pair_combination_stored_as_double(float a, float b, double best, double middle,
                                                     double worst) {
  using namespace soft_extended_detail;
  int scale_a = 0, scale_b = 0;
  ScaledTerm t_best{}, t_middle{}, t_worst{};
  const bool a_power = power_of_two_scale(a, scale_a);
  const bool b_power = power_of_two_scale(b, scale_b);
  if (a_power && b_power && scaled_term_of(best, scale_b, b < 0, t_best) &&
      scaled_term_of(middle, scale_b, b < 0, t_middle) &&
      scaled_term_of(worst, scale_a, a < 0, t_worst)) {
    const int lowest = std::min({t_best.exponent, t_middle.exponent, t_worst.exponent});
    const int highest = std::max({t_best.exponent, t_middle.exponent, t_worst.exponent});
    if (highest - lowest <= 8) {
      const std::int64_t sum =
          aligned(t_best, lowest) + aligned(t_middle, lowest) + aligned(t_worst, lowest);
      using Format = IeeeFormat<double>;
      const double weight = bit_cast_of<double>(static_cast<std::uint64_t>(lowest + Format::kBias)
                                                << Format::kFractionBits);
      return static_cast<double>(sum) * weight;
    }
  }
  return soft_extended_detail::pair_combination_in_full(a, b, best, middle, worst);
}

}  // namespace gndfit
