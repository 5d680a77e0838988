// SPDX-License-Identifier: MIT
#pragma once
// A joint fit ready to be written: the fitted model, each measurement with
// the model's values there, the model at a list of frequencies, and the
// warnings; with --model compare also every model's fit, AICc and bands;
// or why there is no fit.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/joint/joint_input.hpp"
#include "located/outcome.hpp"
#include "model/ground_models.hpp"
#include "model/model_comparison.hpp"

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

// One model of a comparison: its fit, AICc and weight, its bands, and why
// it has no fit where it has none.
struct ComparedSolution {
  ComparedModel compared;
  std::vector<JointBand> bands;
  std::string failure;
};

struct JointSolution {
  ModelFit fit;  // the model the outputs follow (with compare, the chosen one)
  bool weighted = false;
  std::vector<LocatedMeasurement> measurements;
  std::vector<GroundValues> model_at_measurements;
  std::vector<JointBand> bands;
  std::vector<JointWarning> warnings;
  // With compare: every model in the order of kEveryModel.
  bool compared = false;
  std::vector<ComparedSolution> models;
  std::size_t chosen = 0;  // index into models
};

std::string_view model_name(const ModelFit& fit);

// Fits the measurements of `input` (which must hold no error) with the
// model `choice` asks for and evaluates it at `frequencies_mhz`; a failure
// of the whole input when they have no fit.  Compare needs measurements
// with uncertainties (the caller says so as a usage error first).
Outcome<JointSolution> solve_joint(const JointInput& input, std::span<const double> frequencies_mhz,
                                   ModelChoice choice = {});

// Why compare cannot run on unweighted measurements, for the usage error.
std::string compare_needs_uncertainties();

// The warning for a model whose base permittivity is below that of vacuum;
// also given for single measurements in --csv.
// (The rule itself is model/ground's below_vacuum.)
JointWarning below_vacuum_warning(double base_permittivity);
// The same for another model's high-frequency permittivity, `what` naming it.
JointWarning below_vacuum_warning(double permittivity, std::string_view what);

// A band frequency given as a single (the band table, --freq) as the
// double of its shortest text: 1.8, not 1.7999999523.
double frequency_as_written(float frequency_mhz);
// Each frequency of `list` as written (for the frequencies a fit is shown
// at: --freq's, or the table's bands).
std::vector<double> frequencies_as_written(std::span<const float> list);

}  // namespace gndfit
