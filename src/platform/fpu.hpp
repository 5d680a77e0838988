// SPDX-License-Identifier: MIT
#pragma once
// The x87 control word: 64-bit significands and rounding to nearest are what
// the program's arithmetic is defined in, whatever the host left behind.
// CPUs without an x87 compute the extended format in software, which has
// no modes to select: there these do nothing and report the mode selected.
#include <cstdint>

namespace gndfit {

#if defined(__i386__) || defined(__x86_64__)
inline constexpr bool kHasX87 = true;
#else
inline constexpr bool kHasX87 = false;
#endif

// Selects 64-bit precision and round-to-nearest, keeping the exception masks.
void select_extended_precision();
// True when the control word selects 64-bit precision and round-to-nearest.
bool extended_precision_selected();
// The x87 control word itself, read and loaded as it is (0 and nothing
// without an x87).
std::uint16_t fpu_control_word();
void load_fpu_control_word(std::uint16_t word);

}  // namespace gndfit
