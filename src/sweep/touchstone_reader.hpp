// SPDX-License-Identifier: MIT
#pragma once
// A one-port Touchstone file, version 1 (.s1p: an option line and rows of
// frequency and one parameter) or version 2.0 (keywords in brackets around
// the same rows), read to admittances.
//   Option line `# <unit> <parameter> <format> R <n>`: words in any order
//   and case; what it leaves out is GHz, S, MA and R 50.  Version 1
//   normalises Z and Y by R (z/R, y*R); version 2.0 does not.  `!` starts
//   a comment anywhere on a line.  Frequencies must increase.
#include <string_view>

#include "sweep/sweep_point.hpp"

namespace gndfit {

SweepRead read_touchstone(std::string_view text);

}  // namespace gndfit
