// SPDX-License-Identifier: MIT
#include "number/exact_rounding.hpp"

#include "number/ieee_format.hpp"
#include "number/wide.hpp"
#include "number/decimal_number.hpp"

namespace gndfit {
namespace {

// `scaled` 2^-shift rounded half up, unless it lies within the decimal
// form's error of a half; in 64 bits when the numbers fit, else in 128.
template <typename UInt>
bool round_at_shift(UInt scaled, int shift, std::uint64_t& rounded) {
  constexpr std::uint64_t kLimit = 1'000'000'000'000'000u;  // 10^15
  const UInt integer = scaled >> shift;
  if (integer >= kLimit) return false;
  const UInt rest = scaled - (integer << shift);
  const UInt half = UInt{1} << (shift - 1);
  // The decimal form's error, 2^-45 of the value, in units of `rest`
  // (2^-shift), rounded up.
  const UInt margin = shift >= 45 ? (integer + 1) << (shift - 45)
                                  : ((integer + 1) + (UInt{1} << (45 - shift)) - 1) >> (45 - shift);
  const UInt distance = rest > half ? rest - half : half - rest;
  if (distance < margin) return false;
  rounded = static_cast<std::uint64_t>(integer) + (rest > half ? 1 : 0);
  return true;
}

}  // namespace

bool round_scaled_exactly(double value, int decimals, std::uint64_t& rounded) {
  constexpr std::uint64_t kLimit = 1'000'000'000'000'000u;  // 10^15
  const BinaryDouble b = decode_double(value);
  if (!b.finite || decimals > 8) return false;
  const int q = b.exponent;
  const Wide scaled = Wide{b.significand} * power_of_ten(decimals);  // below 2^80
  if (q >= 0) {
    if (q > 10 || (scaled << q) >= kLimit) return false;
    rounded = static_cast<std::uint64_t>(scaled << q);
    return true;
  }
  const int shift = -q;
  if (shift >= 127) {
    rounded = 0;  // below 2^-47
    return true;
  }
  if ((scaled >> 63) == 0 && shift <= 63) {
    return round_at_shift(static_cast<std::uint64_t>(scaled), shift, rounded);
  }
  return round_at_shift(scaled, shift, rounded);
}

}  // namespace gndfit
