// SPDX-License-Identifier: MIT
#pragma once
// gndfit --nec LIST: NEC-2 ground cards for one measurement.
#include "app/common/command_line.hpp"

namespace gndfit {

// 0; 1 when the input holds no measurement or more than one, a line was
// skipped, or an input or the output failed; 2 when a file cannot be opened.
int run_nec(const CommandLine& line);

}  // namespace gndfit
