// SPDX-License-Identifier: MIT
#pragma once
// A joint fit as JSON (gndfit --joint --json, and inside the C APIs'):
//   {"model": {"base_conductivity_s_per_m", "base_permittivity" (relative),
//              "base_conductivity_sd", "base_permittivity_sd", "correlation"},
//    "chi_square", "degrees_of_freedom", "weighted",
//    "measurements": [{"line", "frequency_mhz", "permittivity", "permittivity_sd",
//                      "conductivity_ms_per_m", "conductivity_sd_ms_per_m",
//                      "model_permittivity", "model_conductivity_ms_per_m"}],
//    "bands": [{"frequency_mhz", "permittivity", "permittivity_sd",
//               "conductivity_ms_per_m", "conductivity_sd_ms_per_m", "skin_depth_m"}],
//    "warnings": [{"code", "text"}]}
// Numbers in shortest round-trip form; null where there is none (the
// standard deviations and correlation of a single measurement, a
// measurement's standard uncertainties when the lines give none).  A
// measurement's "line" is counted within its own file.
#include <span>
#include <string>

#include "app/common/json_text.hpp"
#include "app/joint/joint_solution.hpp"

namespace gndfit {

std::string joint_json(const JointSolution& solution);

// The members of joint_json's object, into an object the caller has opened
// (the C APIs put their "format" first).
void write_joint_members(JsonWriter& json, const JointSolution& solution);

// The standard deviations of the model's two parameters and their
// correlation, where the fit has them.
struct ModelDeviations {
  bool present = false;
  double base_conductivity = 0.0;
  double base_permittivity = 0.0;
  bool correlated = false;
  double correlation = 0.0;
};

// "model": {...} as above, for the joint fit and the single measurement's.
void write_model_object(JsonWriter& json, double base_conductivity_s_per_m,
                        double base_permittivity, const ModelDeviations& sd);

// "warnings": [{"code", "text"}].
void write_warnings(JsonWriter& json, std::span<const JointWarning> warnings);

// When there is no fit: "errors": [{"line", "reason"}], line null for an
// error of the whole input.
void write_errors(JsonWriter& json, std::span<const Failure> errors);

}  // namespace gndfit
