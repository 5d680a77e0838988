// SPDX-License-Identifier: MIT
#pragma once
// Shortest round-trip text: the fewest significant digits that read back to
// the same value at its own precision, for machine-readable outputs.
//
// The text is printf's %g form at that many digits (the nearest decimal of
// that length, ties to even), or the same value's digits without the
// exponent where that is no longer (10 rather than 1e+01).
#include <cstddef>
#include <string>

namespace gndfit {

std::string shortest(double value);
std::string shortest(float value);

// The same text appended to `out`, without a string of its own: a line
// built in one reused string allocates nothing once it has the room.
void append_shortest(std::string& out, double value);
void append_shortest(std::string& out, float value);

}  // namespace gndfit
