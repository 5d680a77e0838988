// SPDX-License-Identifier: MIT
#pragma once
// Shortest round-trip text: the fewest significant digits that read back to
// the same value at its own precision, for machine-readable outputs.
#include <string>

namespace gndfit {

std::string shortest(double value);
std::string shortest(float value);

}  // namespace gndfit
