// SPDX-License-Identifier: MIT
#pragma once
// Unsigned 128-bit integers, the one place that knows how they are made.
//
// GCC and Clang have unsigned __int128; MSVC has none.  PortableWide does
// the same arithmetic on two 64-bit halves, so that every user of `Wide`
// builds everywhere.  Both are always compiled where the native type exists
// (tests compare them); GNDFIT_PORTABLE_WIDE makes `Wide` the portable one
// there too.  Shifts take counts from 0 to 127, as the native type does.
#include <bit>
#include <compare>
#include <cstdint>

namespace gndfit {

class PortableWide {
 public:
  constexpr PortableWide() = default;
  constexpr PortableWide(std::uint64_t low) : lo_(low) {}  // NOLINT: widening, as for integers
  constexpr PortableWide(std::uint64_t high, std::uint64_t low) : hi_(high), lo_(low) {}

  constexpr std::uint64_t high() const { return hi_; }
  constexpr std::uint64_t low() const { return lo_; }
  explicit constexpr operator std::uint64_t() const { return lo_; }

  friend constexpr PortableWide operator+(PortableWide a, PortableWide b) {
    const std::uint64_t lo = a.lo_ + b.lo_;
    return {a.hi_ + b.hi_ + (lo < a.lo_ ? 1u : 0u), lo};
  }
  friend constexpr PortableWide operator-(PortableWide a, PortableWide b) {
    return {a.hi_ - b.hi_ - (a.lo_ < b.lo_ ? 1u : 0u), a.lo_ - b.lo_};
  }
  friend constexpr PortableWide operator*(PortableWide a, PortableWide b) {
    const PortableWide low = multiply(a.lo_, b.lo_);
    return {low.hi_ + a.hi_ * b.lo_ + a.lo_ * b.hi_, low.lo_};
  }
  friend constexpr PortableWide operator<<(PortableWide a, int n) {
    if (n == 0) return a;
    if (n >= 64) return {a.lo_ << (n - 64), 0};
    return {(a.hi_ << n) | (a.lo_ >> (64 - n)), a.lo_ << n};
  }
  friend constexpr PortableWide operator>>(PortableWide a, int n) {
    if (n == 0) return a;
    if (n >= 64) return {0, a.hi_ >> (n - 64)};
    return {a.hi_ >> n, (a.lo_ >> n) | (a.hi_ << (64 - n))};
  }
  friend constexpr PortableWide operator&(PortableWide a, PortableWide b) {
    return {a.hi_ & b.hi_, a.lo_ & b.lo_};
  }
  friend constexpr PortableWide operator|(PortableWide a, PortableWide b) {
    return {a.hi_ | b.hi_, a.lo_ | b.lo_};
  }
  friend constexpr bool operator==(PortableWide a, PortableWide b) = default;
  friend constexpr std::strong_ordering operator<=>(PortableWide a, PortableWide b) {
    return a.hi_ != b.hi_ ? a.hi_ <=> b.hi_ : a.lo_ <=> b.lo_;
  }

  // The full product of two 64-bit numbers, from 32-bit halves.
  static constexpr PortableWide multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32;
    const std::uint64_t b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu)};
  }

 private:
  std::uint64_t hi_ = 0;
  std::uint64_t lo_ = 0;
};

#if defined(__SIZEOF_INT128__)
__extension__ using NativeWide = unsigned __int128;
#endif

#if defined(__SIZEOF_INT128__) && !defined(GNDFIT_PORTABLE_WIDE)
using Wide = NativeWide;
#else
using Wide = PortableWide;
#endif

constexpr std::uint64_t high_half(PortableWide w) { return w.high(); }
constexpr std::uint64_t low_half(PortableWide w) { return w.low(); }
constexpr PortableWide wide_from_halves(PortableWide*, std::uint64_t high, std::uint64_t low) {
  return {high, low};
}
constexpr PortableWide wide_product(PortableWide*, std::uint64_t a, std::uint64_t b) {
  return PortableWide::multiply(a, b);
}
#if defined(__SIZEOF_INT128__)
constexpr std::uint64_t high_half(NativeWide w) { return static_cast<std::uint64_t>(w >> 64); }
constexpr std::uint64_t low_half(NativeWide w) { return static_cast<std::uint64_t>(w); }
constexpr NativeWide wide_from_halves(NativeWide*, std::uint64_t high, std::uint64_t low) {
  return (NativeWide{high} << 64) | low;
}
constexpr NativeWide wide_product(NativeWide*, std::uint64_t a, std::uint64_t b) {
  return NativeWide{a} * b;
}
#endif

// Builds a W (Wide, NativeWide or PortableWide) from its halves.
template <typename W = Wide>
constexpr W make_wide(std::uint64_t high, std::uint64_t low) {
  return wide_from_halves(static_cast<W*>(nullptr), high, low);
}

// The full 128-bit product of two 64-bit numbers.
template <typename W = Wide>
constexpr W multiply_wide(std::uint64_t a, std::uint64_t b) {
  return wide_product(static_cast<W*>(nullptr), a, b);
}

// Number of significant bits (0 for zero).
template <typename W>
constexpr int bit_length(W w) {
  const std::uint64_t high = high_half(w);
  return high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(low_half(w));
}

// n / d and n % d for a quotient that fits 64 bits (high half of n below d).
// The portable path is long division in two 32-bit digits, after scaling d
// so that its top bit is set (each digit's estimate is then at most two
// too large).
struct WideQuotient {
  std::uint64_t quotient;
  std::uint64_t remainder;
};

constexpr WideQuotient divide_portable(PortableWide n, std::uint64_t d) {
  const int s = std::countl_zero(d);
  const PortableWide scaled = n << s;
  const std::uint64_t v = d << s;
  const std::uint64_t v1 = v >> 32, v0 = v & 0xFFFFFFFFu;
  std::uint64_t top = scaled.high();
  std::uint64_t rest = scaled.low();
  std::uint64_t q[2] = {0, 0};
  for (int digit = 1; digit >= 0; --digit) {
    const std::uint64_t next = (rest >> 32) & 0xFFFFFFFFu;
    rest <<= 32;
    std::uint64_t qhat = top / v1;
    std::uint64_t rhat = top % v1;
    while (qhat > 0xFFFFFFFFu || qhat * v0 > ((rhat << 32) | next)) {
      --qhat;
      rhat += v1;
      if (rhat > 0xFFFFFFFFu) break;
    }
    top = ((top << 32) | next) - qhat * v;
    q[digit] = qhat;
  }
  return {(q[1] << 32) | q[0], top >> s};
}

constexpr WideQuotient divide_wide(PortableWide n, std::uint64_t d) { return divide_portable(n, d); }
#if defined(__SIZEOF_INT128__)
constexpr WideQuotient divide_wide(NativeWide n, std::uint64_t d) {
  return {static_cast<std::uint64_t>(n / d), static_cast<std::uint64_t>(n % d)};
}
#endif

}  // namespace gndfit
