// SPDX-License-Identifier: MIT
#pragma once
// A plain decimal number read from text to the nearest double or single,
// the same on every platform (the C library's reader, MinGW's own on
// Windows, whose system strtod does not round correctly), for the readers
// that must not depend on the platform layer.
#include <string_view>

namespace gndfit {

// The whole of `text` as one finite number in decimal form (digits, one
// point, an exponent; no "inf", "nan" or hexadecimal); false otherwise.
bool read_decimal(std::string_view text, double& value);
// The same to the nearest single, in one rounding (not through a double).
bool read_decimal(std::string_view text, float& value);

}  // namespace gndfit
