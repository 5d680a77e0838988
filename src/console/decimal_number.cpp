#include "console/decimal_number.hpp"

#include <cstring>

namespace gndfit {

std::uint64_t power_of_ten(int k) {
  std::uint64_t result = 1, base = 10;
  for (; k > 0; k >>= 1) {  // repeated squaring
    if (k & 1) result *= base;
    base *= base;
  }
  return result;
}

int decimal_digit_count(std::uint64_t n) {
  int count = 1;
  while (n >= 10) {
    n /= 10;
    ++count;
  }
  return count;
}

std::uint64_t drop_digits_half_up(std::uint64_t n, int k) {
  if (k <= 0) return n;
  if (k > 19) return 0;
  const std::uint64_t divisor = power_of_ten(k);
  const std::uint64_t half = k == 19 ? 5'000'000'000'000'000'000u : (divisor + 1) / 2;
  const std::uint64_t quotient = n / divisor;
  return n % divisor >= half ? quotient + 1 : quotient;
}

DecimalNumber to_decimal(double value, bool is_single) {
  DecimalNumber d;
  d.is_single = is_single;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  d.negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) {
    d.kind = fraction == 0                        ? DecimalNumber::Kind::infinite
             : bits == 0xFFF8000000000000u ? DecimalNumber::Kind::indefinite
                                                  : DecimalNumber::Kind::not_a_number;
    return d;
  }
  if (biased == 0 && fraction == 0) return d;

  std::uint64_t n = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  int q = (biased == 0 ? 1 : biased) - 1075;
  int e = 0;
  for (; q < 0; ++q) {
    if (n <= 0x3333333333333333u) {
      n *= 5;
      --e;
    } else {
      const bool dropped = n & 1;
      n >>= 1;
      if (dropped && (n & 1)) ++n;
    }
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
