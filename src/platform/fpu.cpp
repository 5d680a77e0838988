// SPDX-License-Identifier: MIT
#include "platform/fpu.hpp"

#include <cstdint>

namespace gndfit {
namespace {
constexpr std::uint16_t kPrecisionAndRounding = 0x0F00;  // PC bits 8-9, RC bits 10-11
constexpr std::uint16_t kExtendedNearest = 0x0300;       // PC = 64-bit, RC = nearest
}  // namespace

#if defined(__i386__) || defined(__x86_64__)
std::uint16_t fpu_control_word() {
  std::uint16_t cw = 0;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

void load_fpu_control_word(std::uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }
#else
std::uint16_t fpu_control_word() { return kExtendedNearest; }
void load_fpu_control_word(std::uint16_t) {}
#endif

void select_extended_precision() {
  load_fpu_control_word(
      static_cast<std::uint16_t>((fpu_control_word() & ~kPrecisionAndRounding) | kExtendedNearest));
}

bool extended_precision_selected() {
  return (fpu_control_word() & kPrecisionAndRounding) == kExtendedNearest;
}

}  // namespace gndfit
