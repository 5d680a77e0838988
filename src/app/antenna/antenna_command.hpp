// SPDX-License-Identifier: MIT
#pragma once
// gndfit --antenna DECK: the user's NEC-2 deck run by nec2c over the
// fitted ground at each frequency, its feed impedance, gains and the share
// of its power radiated into the sky; with --joint each with its standard
// deviation from the ground's uncertainty.
#include "app/common/command_line.hpp"
#include "app/joint/joint_solution.hpp"

namespace gndfit {

// Over the ground of the input's one measurement (the exact single fit).
int run_antenna(const CommandLine& line);

// Over a joint fit's ground, with its uncertainties.
int run_joint_antenna(const CommandLine& line, const JointSolution& solution);

}  // namespace gndfit
