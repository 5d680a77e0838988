// SPDX-License-Identifier: MIT
#pragma once
// A ground model fitted to several measurements, whatever the model: its
// parameters, chi-square and covariance, in plain IEEE double.  Each model
// has its own search for the minimum (model/ground_models); what they
// share is here: the chi-square of today's joint fit,
//   chi^2 = sum ((permittivity(f) - er) / u_er)^2 + ((conductivity_mS(f) - s) / u_s)^2,
// the covariance from the Jacobian at the minimum and the values at a
// frequency with their standard deviations.
#include <cstddef>
#include <span>
#include <vector>

#include "located/measurement.hpp"
#include "model/ground.hpp"
#include "model/joint_fit.hpp"
#include "model/small_least_squares.hpp"

namespace gndfit {

enum class ModelFitStatus {
  fitted,
  // No minimum inside the domain: chi^2 keeps falling towards an edge of
  // one parameter (`edge_parameter`, `edge_above`).
  at_edge,
  // Values beyond what double precision can carry through the fit.
  out_of_range,
  // Fewer measurements than the model needs (`minimum_measurements`).
  too_few_measurements,
  no_measurements,
};

// A fitted parameter: inside its domain, at one of its bounds (given
// there, without a standard deviation), or undetermined (a parameter with
// no effect at the minimum, as a power law's exponent with no dispersive
// part).
enum class ParameterState { inside, at_bound, undetermined };

// A model's values at one frequency with their standard deviations.
struct BandEstimate {
  GroundValues value;
  double permittivity_sd = 0.0;
  double conductivity_sd_ms = 0.0;
  double correlation = 0.0;  // of the permittivity and conductivity there
};

struct ModelFit {
  const GroundModel* model = nullptr;
  ModelFitStatus status = ModelFitStatus::no_measurements;
  std::vector<double> parameters;
  std::vector<ParameterState> states;
  double chi_square = 0.0;
  int degrees_of_freedom = 0;  // 2N - k, k counting every parameter
  // The covariance of the parameters inside their domain (zero in the rows
  // and columns of the others); none where dof <= 0 or the Jacobian's
  // columns are dependent.
  bool covariance_present = false;
  SmallMatrix covariance{};
  std::size_t edge_parameter = 0;
  bool edge_above = false;
  std::size_t minimum_measurements = 1;

  bool has_sd(std::size_t parameter) const {
    return covariance_present && states[parameter] == ParameterState::inside;
  }
};

double chi_square_of(const GroundModel& model, std::span<const double> parameters,
                     std::span<const LocatedMeasurement> measurements);

// The fit's covariance from the weighted Jacobian J at its parameters:
// (J^T J)^-1 over the parameters inside their domain, times chi^2 / dof
// when the measurements carry no uncertainties of their own.
void set_covariance(ModelFit& fit, std::span<const LocatedMeasurement> measurements, bool weighted);

// The model's values at a frequency with their standard deviations by
// linear propagation of the covariance (zero when it has none).
BandEstimate estimate_at(const ModelFit& fit, double frequency_mhz);

}  // namespace gndfit
