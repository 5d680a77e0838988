#include "model/soft_extended.hpp"

#include <utility>

#include "model/wide.hpp"

namespace gndfit {
namespace {

constexpr int kBias = 16383;
constexpr int kMinExponent = 1 - kBias;  // of the smallest normal
constexpr std::uint16_t kSignBit = 0x8000;
constexpr std::uint16_t kMaxBiased = 0x7FFF;
constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
// Below-the-significand bits that stand for "more than a half", "less than a
// half but not zero", "exactly a half": the lowest bit is sticky.
constexpr std::uint64_t kAboveHalf = kTopBit | 1;
constexpr std::uint64_t kBelowHalf = 1;

std::uint16_t sign_of(bool negative) { return negative ? kSignBit : 0; }

bool is_negative(SoftExtended x) { return (x.sign_exponent() & kSignBit) != 0; }
int biased_of(SoftExtended x) { return x.sign_exponent() & kMaxBiased; }
bool is_nan(SoftExtended x) {
  return biased_of(x) == kMaxBiased && (x.significand() << 1) != 0;
}
bool is_infinite(SoftExtended x) {
  return biased_of(x) == kMaxBiased && (x.significand() << 1) == 0;
}
bool is_zero(SoftExtended x) { return biased_of(x) == 0 && x.significand() == 0; }

SoftExtended zero(bool negative) { return SoftExtended::from_bits(sign_of(negative), 0); }
SoftExtended infinity(bool negative) {
  return SoftExtended::from_bits(sign_of(negative) | kMaxBiased, kTopBit);
}
SoftExtended indefinite() { return SoftExtended::from_bits(kSignBit | kMaxBiased, kTopBit | kQuietBit); }
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

// A finite non-zero value as significand 2^(exponent - 63), the
// significand's top bit set (subnormals normalised).
struct Unpacked {
  bool negative;
  int exponent;
  std::uint64_t significand;
};

Unpacked unpack(SoftExtended x) {
  const int biased = biased_of(x);
  if (biased != 0) return {is_negative(x), biased - kBias, x.significand()};
  const int shift = std::countl_zero(x.significand());
  return {is_negative(x), kMinExponent - shift, x.significand() << shift};
}

// (high:low) shifted right by n >= 1, the bits shifted out kept as a
// sticky lowest bit.
void shift_right_sticky(std::uint64_t& high, std::uint64_t& low, int n) {
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
    return SoftExtended::from_bits(static_cast<std::uint16_t>(sign_of(negative) | biased), significand);
  }
  if (exponent > kBias) return infinity(negative);
  return SoftExtended::from_bits(static_cast<std::uint16_t>(sign_of(negative) | (exponent + kBias)),
                                 significand);
}

// Both operands normal: the common case, which needs no special-value
// checks and no normalising.
bool both_normal(SoftExtended a, SoftExtended b) {
  return static_cast<unsigned>(biased_of(a) - 1) < kMaxBiased - 1 &&
         static_cast<unsigned>(biased_of(b) - 1) < kMaxBiased - 1;
}

Unpacked unpack_normal(SoftExtended x) { return {is_negative(x), biased_of(x) - kBias, x.significand()}; }

// round_and_pack, taking the short way when the result is normal.
inline SoftExtended round_and_pack_fast(bool negative, int exponent, std::uint64_t significand,
                                        std::uint64_t below) {
  if (exponent < kMinExponent || exponent >= kBias) {
    return round_and_pack(negative, exponent, significand, below);
  }
  if (below > kTopBit || (below == kTopBit && (significand & 1) != 0)) {
    if (++significand == 0) {
      significand = kTopBit;
      ++exponent;
    }
  }
  return SoftExtended::from_bits(static_cast<std::uint16_t>(sign_of(negative) | (exponent + kBias)),
                                 significand);
}

// |a| >= |b| for finite values, by their encodings.
bool magnitude_not_less(SoftExtended a, SoftExtended b) {
  if (biased_of(a) != biased_of(b)) return biased_of(a) > biased_of(b);
  return a.significand() >= b.significand();
}

// a + b for finite non-zero operands given unpacked, |x| >= |y|.
SoftExtended add_unpacked(const Unpacked& x, const Unpacked& y) {
  std::uint64_t high = y.significand;
  std::uint64_t low = 0;
  if (x.exponent != y.exponent) shift_right_sticky(high, low, x.exponent - y.exponent);
  int exponent = x.exponent;
  if (x.negative == y.negative) {
    std::uint64_t sum = x.significand + high;
    if (sum < high) {  // carried out of the top bit
      low = (low >> 1) | (sum << 63) | (low & 1);
      sum = (sum >> 1) | kTopBit;
      ++exponent;
    }
    return round_and_pack_fast(x.negative, exponent, sum, low);
  }
  // The bits shifted out of b are a sticky bit below 64 guard bits, so the
  // borrow they cause never reaches the rounding decision wrongly.
  std::uint64_t difference_low = std::uint64_t{0} - low;
  std::uint64_t difference = x.significand - high - (low != 0 ? 1 : 0);
  if (difference == 0 && difference_low == 0) return zero(false);
  const int shift = difference != 0 ? std::countl_zero(difference)
                                    : 64 + std::countl_zero(difference_low);
  if (shift >= 64) {
    difference = difference_low << (shift - 64);
    difference_low = 0;
  } else if (shift > 0) {
    difference = (difference << shift) | (difference_low >> (64 - shift));
    difference_low <<= shift;
  }
  return round_and_pack_fast(x.negative, exponent - shift, difference, difference_low);
}

// a + b where b already carries the sign the operation gives it.
SoftExtended add_signed(SoftExtended a, SoftExtended b) {
  if (both_normal(a, b)) {
    if (!magnitude_not_less(a, b)) std::swap(a, b);
    return add_unpacked(unpack_normal(a), unpack_normal(b));
  }
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

// Karatsuba square root with remainder (Zimmermann): the root of a 4-limb
// number from the root of its top two limbs and one division.
struct RootRemainder {
  std::uint64_t root;
  std::uint64_t remainder;
};

// For x >= 2^30: floor(sqrt(x)) and the rest, bit by bit, without
// branches (which way each bit goes is data, not pattern).
RootRemainder square_root_32(std::uint32_t x) {
  std::uint64_t root = 0;
  std::uint64_t rest = x;
  for (std::uint64_t bit = std::uint64_t{1} << 30; bit != 0; bit >>= 2) {
    const std::uint64_t trial = root + bit;
    const std::uint64_t take = std::uint64_t{0} - (rest >= trial ? 1 : 0);
    rest -= trial & take;
    root = (root >> 1) + (bit & take);
  }
  return {root, rest};
}

// For x >= 2^62, limbs of 16 bits.
RootRemainder square_root_64(std::uint64_t x) {
  const RootRemainder top = square_root_32(static_cast<std::uint32_t>(x >> 32));
  const std::uint64_t numerator = (top.remainder << 16) | ((x >> 16) & 0xFFFF);
  const std::uint64_t divisor = 2 * top.root;
  std::uint64_t q = numerator / divisor;
  std::uint64_t root = (top.root << 16) + q;
  const std::uint64_t plus = ((numerator % divisor) << 16) | (x & 0xFFFF);
  const std::uint64_t minus = q * q;
  if (plus >= minus) return {root, plus - minus};
  return {root - 1, plus + 2 * root - 1 - minus};
}

// For n >= 2^126, limbs of 32 bits; the remainder is up to 2 root, 65 bits.
// The step's division (r 2^32 + a1) / (2 s) is done as
// (r 2^31 + a1 / 2) / s, the same quotient, whose numerator fits 64 bits
// because r <= 2 s < 2^33.
struct WideRoot {
  std::uint64_t root;
  Wide remainder;
};

WideRoot square_root_128(Wide n) {
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

}  // namespace

namespace {

SoftExtended multiply_unpacked(bool negative, const Unpacked& x, const Unpacked& y) {
  const Wide product = multiply_wide(x.significand, y.significand);
  std::uint64_t high = high_half(product);
  std::uint64_t low = low_half(product);
  int exponent = x.exponent + y.exponent;
  if ((high & kTopBit) != 0) {
    ++exponent;
  } else {
    high = (high << 1) | (low >> 63);
    low <<= 1;
  }
  return round_and_pack_fast(negative, exponent, high, low);
}

SoftExtended divide_unpacked(bool negative, const Unpacked& x, const Unpacked& y) {
  // A 64-bit quotient with its top bit set, and where the rest lies.
  const bool shifted = x.significand >= y.significand;
  const Wide numerator = shifted ? make_wide(x.significand >> 1, x.significand << 63)
                                 : make_wide(x.significand, 0);
  const WideQuotient qr = divide_wide(numerator, y.significand);
  const std::uint64_t other = y.significand - qr.remainder;  // the rest measured from above
  const std::uint64_t below = qr.remainder == 0          ? 0
                              : qr.remainder > other    ? kAboveHalf
                              : qr.remainder == other   ? kTopBit
                                                        : kBelowHalf;
  return round_and_pack_fast(negative, x.exponent - y.exponent - (shifted ? 0 : 1), qr.quotient,
                             below);
}

}  // namespace

SoftExtended operator+(SoftExtended a, SoftExtended b) { return add_signed(a, b); }

SoftExtended operator-(SoftExtended a, SoftExtended b) {
  // A NaN operand passes on with its own sign, so b is not negated then.
  if (is_nan(b)) return propagate_nan(a, b);
  return add_signed(a, -b);
}

SoftExtended operator*(SoftExtended a, SoftExtended b) {
  const bool negative = is_negative(a) != is_negative(b);
  if (both_normal(a, b)) return multiply_unpacked(negative, unpack_normal(a), unpack_normal(b));
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  if (is_infinite(a) || is_infinite(b)) {
    return is_zero(a) || is_zero(b) ? indefinite() : infinity(negative);
  }
  if (is_zero(a) || is_zero(b)) return zero(negative);
  return multiply_unpacked(negative, unpack(a), unpack(b));
}

SoftExtended operator/(SoftExtended a, SoftExtended b) {
  const bool negative = is_negative(a) != is_negative(b);
  if (both_normal(a, b)) return divide_unpacked(negative, unpack_normal(a), unpack_normal(b));
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  if (is_infinite(a)) return is_infinite(b) ? indefinite() : infinity(negative);
  if (is_infinite(b)) return zero(negative);
  if (is_zero(b)) return is_zero(a) ? indefinite() : infinity(negative);
  if (is_zero(a)) return zero(negative);
  return divide_unpacked(negative, unpack(a), unpack(b));
}
SoftExtended sqrt(SoftExtended v) {
  if (is_nan(v)) return quieted(v);
  if (is_zero(v)) return v;
  if (is_negative(v)) return indefinite();
  if (is_infinite(v)) return v;
  const Unpacked x = unpack(v);
  // v = significand 2^k: make the power even, the radicand in [2^126, 2^128).
  const int k = x.exponent - 63;
  const bool odd = (k & 1) != 0;
  const Wide radicand = odd ? make_wide(x.significand >> 1, x.significand << 63)
                            : make_wide(x.significand, 0);
  const WideRoot r = square_root_128(radicand);
  // An exact half is impossible: the root is above the half point exactly
  // when the remainder exceeds the root.
  const std::uint64_t below = r.remainder == 0        ? 0
                              : r.remainder > Wide{r.root} ? kAboveHalf
                                                           : kBelowHalf;
  const int exponent = (odd ? (k - 63) : (k - 64)) / 2 + 63;
  return round_and_pack_fast(false, exponent, r.root, below);
}

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
  const int biased = biased_of(x);
  if (biased >= kBias + min_exponent && biased <= kBias + max_exponent - 1) {
    // Normal in the format, and below its largest exponent so that even a
    // carry out of the significand stays finite: the short way.
    const int drop = 64 - precision;
    const std::uint64_t kept = x.significand() >> drop;
    const std::uint64_t rest = x.significand() & ((std::uint64_t{1} << drop) - 1);
    const std::uint64_t half = std::uint64_t{1} << (drop - 1);
    const std::uint64_t up = (rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0;
    // The carry of a rounding up runs from the fraction into the exponent.
    const Bits exponent_field = static_cast<Bits>(biased - kBias + max_exponent - 1) << fraction_bits;
    return sign | static_cast<Bits>(exponent_field + static_cast<Bits>(kept + up));
  }
  const Unpacked u = unpack(x);
  int exponent = u.exponent;
  const int drop = 64 - precision + (exponent < min_exponent ? min_exponent - exponent : 0);
  if (drop > 64) return sign;  // below half the smallest subnormal
  const std::uint64_t kept = drop == 64 ? 0 : u.significand >> drop;
  const std::uint64_t rest = drop == 64 ? u.significand : u.significand & ((std::uint64_t{1} << drop) - 1);
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

SoftExtended::operator double() const {
  return std::bit_cast<double>(round_to_format<std::uint64_t>(*this, 53, -1022, 1023));
}

SoftExtended::operator float() const {
  return std::bit_cast<float>(round_to_format<std::uint32_t>(*this, 24, -126, 127));
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
