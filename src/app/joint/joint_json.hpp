// SPDX-License-Identifier: MIT
#pragma once
// A joint fit as JSON (gndfit --joint --json and the C API):
//   {"model": {"base_conductivity_s_per_m", "base_permittivity",
//              "base_conductivity_sd", "base_permittivity_sd", "correlation"},
//    "chi_square", "degrees_of_freedom", "weighted",
//    "measurements": [{"line", "frequency_mhz", "permittivity",
//                      "conductivity_ms_per_m", "model_permittivity",
//                      "model_conductivity_ms_per_m"}],
//    "bands": [{"frequency_mhz", "permittivity", "permittivity_sd",
//               "conductivity_ms_per_m", "conductivity_sd_ms_per_m", "skin_depth_m"}],
//    "warnings": [{"code", "text"}]}
// Numbers in shortest round-trip form; null where there is none (the
// standard deviations and correlation of a single measurement).  A
// measurement's "line" is counted within its own file.
#include <string>
#include <vector>

#include "app/joint/joint_solution.hpp"

namespace gndfit {

std::string joint_json(const JointSolution& solution);

// When there is no fit: {"errors": [{"line", "reason"}]}, line null for an
// error of the whole input.
std::string joint_errors_json(const std::vector<Failure>& errors);

}  // namespace gndfit
