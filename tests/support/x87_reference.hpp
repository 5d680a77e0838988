// SPDX-License-Identifier: MIT
#pragma once
// The x87 itself as the reference for the software extended type: its
// values moved bit for bit between the two encodings, and its own square
// root.  Where there is no x87, kHaveX87 is false and tests skip.
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/soft_extended.hpp"

namespace gndfit::x87_reference {

inline std::string hex(std::uint16_t se, std::uint64_t sig) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", se, static_cast<unsigned long long>(sig));
  return text;
}

inline std::string hex(SoftExtended x) { return hex(x.sign_exponent(), x.significand()); }

#if defined(__x86_64__) || defined(__i386__)
static_assert(LDBL_MANT_DIG == 64);
constexpr bool kHaveX87 = true;

using Hard = long double;

inline Hard to_hard(SoftExtended x) {
  Hard h = 0;
  std::memset(&h, 0, sizeof h);
  const std::uint64_t sig = x.significand();
  const std::uint16_t se = x.sign_exponent();
  std::memcpy(&h, &sig, 8);
  std::memcpy(reinterpret_cast<char*>(&h) + 8, &se, 2);
  return h;
}

inline SoftExtended to_soft(Hard h) {
  std::uint64_t sig = 0;
  std::uint16_t se = 0;
  std::memcpy(&sig, &h, 8);
  std::memcpy(&se, reinterpret_cast<const char*>(&h) + 8, 2);
  return SoftExtended::from_bits(se, sig);
}
#else
constexpr bool kHaveX87 = false;
#endif

#if defined(__x86_64__) || defined(__i386__)
inline long double hard_sqrt(long double v) {
  long double r;
  asm("fsqrt" : "=t"(r) : "0"(v));
  return r;
}
#endif

}  // namespace gndfit::x87_reference

#define SKIP_WITHOUT_X87()                \
  if (!::gndfit::x87_reference::kHaveX87) \
  GTEST_SKIP() << "no x87 on this CPU to compare the software type with"
