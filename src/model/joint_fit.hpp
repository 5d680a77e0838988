// SPDX-License-Identifier: MIT
#pragma once
// One ground model for several measurements: the least-squares fit of the
// model's two parameters, with their uncertainties, in plain IEEE double.
//
// The model is model/messier_ground's, with x the base conductivity (S/m)
// and e the base relative permittivity.  The fit minimises
//   chi^2 = sum ((permittivity(f) - er) / u_er)^2 + ((conductivity_mS(f) - s) / u_s)^2
// over x > 0, e > 0, with u = 1 for measurements without uncertainties.
#include <span>

#include "located/measurement.hpp"
#include "model/messier_ground.hpp"

namespace gndfit {

// The covariance of (x, e); `present` is false where there is none (one
// measurement).
struct JointCovariance {
  bool present = false;
  double xx = 0.0;
  double xe = 0.0;
  double ee = 0.0;
};

enum class JointOutcome {
  fitted,
  // No minimum inside x > 0, e > 0: chi^2 keeps falling towards an edge.
  towards_zero_permittivity,
  towards_zero_conductivity,
  // Values beyond what double precision can carry through the fit.
  out_of_range,
  no_measurements,
};

struct JointFit {
  JointOutcome outcome = JointOutcome::no_measurements;
  MessierParameters model;
  double chi_square = 0.0;
  int degrees_of_freedom = 0;  // 2N - 2
  JointCovariance covariance;
};

// The global least-squares fit.  `weighted`: the measurements carry their
// own uncertainties; without, the covariance is scaled by chi^2 / (2N - 2).
JointFit fit_joint(std::span<const LocatedMeasurement> measurements, bool weighted);

}  // namespace gndfit
