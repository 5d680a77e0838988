// SPDX-License-Identifier: MIT
#pragma once
// A joint fit for people: the two parameters with +-1 sd, chi-square and
// its degrees of freedom, each measurement with the model's values there
// and the residuals, the warnings, and the model at each frequency with
// +-1 sd and the skin depth.
#include <string>

#include "app/joint/joint_solution.hpp"

namespace gndfit {

std::string joint_report(const JointSolution& solution);

}  // namespace gndfit
