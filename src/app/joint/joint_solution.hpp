// SPDX-License-Identifier: MIT
#pragma once
// A joint fit ready to be written: the fit, each measurement with the
// model's values there, the model at a list of frequencies, and the
// warnings; or why there is no fit.
#include <span>
#include <string>
#include <vector>

#include "app/joint/joint_input.hpp"
#include "located/outcome.hpp"
#include "model/joint_fit.hpp"

namespace gndfit {

struct JointWarning {
  std::string code;
  std::string text;
};

struct JointBand {
  double frequency_mhz = 0.0;
  BandEstimate estimate;
  double skin_depth_m = 0.0;
};

struct JointSolution {
  JointFit fit;
  bool weighted = false;
  std::vector<LocatedMeasurement> measurements;
  std::vector<GroundValues> model_at_measurements;
  std::vector<JointBand> bands;
  std::vector<JointWarning> warnings;
};

// Fits the measurements of `input` (which must hold no error) and
// evaluates the model at `frequencies_mhz`; a failure of the whole input
// when they have no fit.
Outcome<JointSolution> solve_joint(const JointInput& input, std::span<const double> frequencies_mhz);

// The warning for a model whose base permittivity is below that of vacuum;
// also given for single measurements in --csv.
// (The rule itself is model/ground's below_vacuum.)
JointWarning below_vacuum_warning(double base_permittivity);

// A band frequency given as a single (the band table, --freq) as the
// double of its shortest text: 1.8, not 1.7999999523.
double frequency_as_written(float frequency_mhz);
// Each frequency of `list` as written (for the frequencies a fit is shown
// at: --freq's, or the table's bands).
std::vector<double> frequencies_as_written(std::span<const float> list);

}  // namespace gndfit
