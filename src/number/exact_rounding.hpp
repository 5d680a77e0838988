// SPDX-License-Identifier: MIT
#pragma once
// A fixed field's digits straight from the binary value, which spares the
// decimal conversion when it is sure to give the same digits.
#include <cstdint>

namespace gndfit {

// |value| 10^decimals rounded half up, worked out exactly from the binary
// value.  The decimal form keeps 16 digits, off from the value by less than
// 6e-16 of it, and is then rounded the same way; so both give the same
// result unless the exact value lies that close to a half, and below 10^15
// the decimal form is always rounded at the field's last place.  False
// where it cannot be sure.
bool round_scaled_exactly(double value, int decimals, std::uint64_t& rounded);

}  // namespace gndfit
