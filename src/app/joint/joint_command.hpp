// SPDX-License-Identifier: MIT
#pragma once
// gndfit --joint: the measurements of every input read, checked and fitted
// as one, then written as the report, JSON, CSV or NEC cards.  Any faulty
// line, or no fit, is an error on standard error and nothing is written.
#include "app/common/command_line.hpp"
#include "app/joint/joint_input.hpp"

namespace gndfit {

// The exit status: 0, 1 for faulty input or no fit, 2 for a file that
// cannot be opened.
int run_joint(const CommandLine& line);
// The fit of measurements already read, written as `line` asks: 0, or 1
// when they have no fit or the output cannot be written.
int fit_and_write_joint(const CommandLine& line, const JointInput& input);

}  // namespace gndfit
