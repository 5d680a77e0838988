// SPDX-License-Identifier: MIT
#pragma once
// A joint fit's model as NEC-2 cards, one set per frequency of its bands:
// what --joint --nec writes and the C APIs give the page to save.
#include <string>

#include "app/joint/joint_solution.hpp"

namespace gndfit {

std::string joint_nec_cards(const JointSolution& solution);

}  // namespace gndfit
