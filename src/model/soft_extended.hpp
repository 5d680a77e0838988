#pragma once
// The x87 80-bit extended format in software, for CPUs whose long double is
// something else (IEEE quad on ARM64 Linux and WebAssembly, plain double on
// Apple silicon and with MSVC).
//
// The value is kept in the x87's own encoding: a sign and 15-bit biased
// exponent, and a 64-bit significand whose integer bit is explicit.  Every
// operation gives what the x87 gives with precision control at 64 bits and
// rounding to nearest even, computed with integer arithmetic only:
//   - one rounding per operation, subnormal results included;
//   - an invalid operation (0/0, inf*0, inf-inf, square root of a negative)
//     gives the negative quiet "indefinite" NaN;
//   - a NaN operand is quieted and passed on; of two NaNs the one with the
//     larger significand wins, a quiet one over a signalling one, and the
//     positive one when only the signs differ;
//   - conversions to single and double round once, to their subnormals and
//     infinities as the hardware's stores do.
#include <bit>
#include <cstdint>

namespace gndfit {

class SoftExtended {
 public:
  constexpr SoftExtended() = default;  // +0
  constexpr SoftExtended(double v) : SoftExtended(from_double(v)) {}  // NOLINT: exact, as for long double
  constexpr SoftExtended(float v) : SoftExtended(from_float(v)) {}    // NOLINT
  constexpr SoftExtended(int v) : SoftExtended(from_integer(v)) {}    // NOLINT
  constexpr SoftExtended(long long v) : SoftExtended(from_integer(v)) {}  // NOLINT

  static constexpr SoftExtended from_bits(std::uint16_t sign_exponent, std::uint64_t significand) {
    SoftExtended x;
    x.se_ = sign_exponent;
    x.sig_ = significand;
    return x;
  }
  constexpr std::uint16_t sign_exponent() const { return se_; }
  constexpr std::uint64_t significand() const { return sig_; }

  explicit operator double() const;
  explicit operator float() const;

  friend SoftExtended operator+(SoftExtended a, SoftExtended b);
  friend SoftExtended operator-(SoftExtended a, SoftExtended b);
  friend SoftExtended operator*(SoftExtended a, SoftExtended b);
  friend SoftExtended operator/(SoftExtended a, SoftExtended b);
  friend constexpr SoftExtended operator-(SoftExtended a) {
    return from_bits(static_cast<std::uint16_t>(a.se_ ^ 0x8000u), a.sig_);
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
  static constexpr int kBias = 16383;
  static constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

  // A binary format's fields turned into ours: `fraction_bits` stored
  // fraction bits, exponent bias `bias`, all-ones exponent `max_biased`.
  static constexpr SoftExtended from_fields(bool negative, int biased, std::uint64_t fraction,
                                            int fraction_bits, int bias, int max_biased) {
    const std::uint16_t sign = negative ? 0x8000u : 0u;
    if (biased == max_biased) {  // infinity, or NaN (quieted, as a load does)
      const std::uint64_t payload = fraction << (63 - fraction_bits);
      return from_bits(sign | 0x7FFFu,
                       kIntegerBit | payload | (fraction != 0 ? kQuietBit : 0));
    }
    if (biased == 0 && fraction == 0) return from_bits(sign, 0);
    if (biased == 0) {  // subnormal: becomes a normal extended
      const int shift = std::countl_zero(fraction);
      const int exponent = 1 - bias - (shift - (63 - fraction_bits));
      return from_bits(static_cast<std::uint16_t>(sign | (exponent + kBias)), fraction << shift);
    }
    return from_bits(static_cast<std::uint16_t>(sign | (biased - bias + kBias)),
                     kIntegerBit | (fraction << (63 - fraction_bits)));
  }
  static constexpr SoftExtended from_double(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    return from_fields((bits >> 63) != 0, static_cast<int>((bits >> 52) & 0x7FF),
                       bits & ((std::uint64_t{1} << 52) - 1), 52, 1023, 0x7FF);
  }
  static constexpr SoftExtended from_float(float v) {
    const auto bits = std::bit_cast<std::uint32_t>(v);
    return from_fields((bits >> 31) != 0, static_cast<int>((bits >> 23) & 0xFF),
                       bits & ((std::uint32_t{1} << 23) - 1), 23, 127, 0xFF);
  }
  static constexpr SoftExtended from_integer(long long v) {
    if (v == 0) return {};
    const std::uint64_t magnitude =
        v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    const int shift = std::countl_zero(magnitude);
    return from_bits(static_cast<std::uint16_t>((v < 0 ? 0x8000u : 0u) | (63 - shift + kBias)),
                     magnitude << shift);
  }

  std::uint64_t sig_ = 0;
  std::uint16_t se_ = 0;
};

SoftExtended sqrt(SoftExtended v);

}  // namespace gndfit
