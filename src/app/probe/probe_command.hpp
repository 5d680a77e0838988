// SPDX-License-Identifier: MIT
#pragma once
// gndfit --probe SPEC: analyser sweeps converted to ground points, written
// as CSV or, with --joint, fitted as one model.
#include "app/common/command_line.hpp"

namespace gndfit {

// 0; 1 when a sweep cannot be read or converted, or the output failed; 2
// when a file cannot be opened.
int run_probe(const CommandLine& line);

}  // namespace gndfit
