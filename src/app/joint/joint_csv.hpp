// SPDX-License-Identifier: MIT
#pragma once
// A joint fit's model at each frequency, for scripts: CSV (one line a
// frequency, the standard deviations empty where there are none) and
// NEC-2 cards (a ground card with the model's values, the frequency,
// execute).
#include <ostream>

#include "app/joint/joint_solution.hpp"

namespace gndfit {

void write_joint_csv(std::ostream& out, const JointSolution& solution);
void write_joint_nec_cards(std::ostream& out, const JointSolution& solution);

}  // namespace gndfit
