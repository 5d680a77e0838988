// SPDX-License-Identifier: MIT
#pragma once
// gndfit --csv: one row of the model's values per measurement line.
#include "app/common/command_line.hpp"

namespace gndfit {

// 0; 1 when a line was skipped or an input or the output failed; 2 when a
// file cannot be opened.
int run_csv(const CommandLine& line);

}  // namespace gndfit
