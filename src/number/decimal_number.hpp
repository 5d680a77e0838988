// SPDX-License-Identifier: MIT
#pragma once
// A floating value as decimal digits, converted with 64-bit integer
// arithmetic only.  The conversion keeps at most 16 significant digits and is
// deliberately not exact: it halves and quintuples the binary significand
// step by step, rounding as it goes.
#include <cstdint>

namespace gndfit {

struct DecimalNumber {
  enum class Kind { finite, infinite, indefinite, not_a_number };
  std::uint64_t digits = 0;   // significant digits, 0 for zero
  std::int32_t exponent = 0;  // value = digits * 10^exponent
  bool negative = false;
  Kind kind = Kind::finite;
  bool is_single = false;
};

DecimalNumber to_decimal(double value, bool is_single);

// 10^k for 0 <= k <= 19.
std::uint64_t power_of_ten(int k);
// Number of decimal digits of n (1 for 0).
int decimal_digit_count(std::uint64_t n);
// n / 10^k rounded half up; k may be 0 to 19 (beyond 19 the result is 0).
std::uint64_t drop_digits_half_up(std::uint64_t n, int k);

}  // namespace gndfit
