// SPDX-License-Identifier: MIT
#pragma once
// One ground model for several measurements: the least-squares fit of the
// model's two parameters, with their uncertainties, in plain IEEE double.
//
// The model, with f in Hz, x the base conductivity (S/m) and e the base
// relative permittivity:
//   conductivity(f)          = x (1 + sqrt(4 pi f eps0 e / x))
//   relative permittivity(f) = e (1 + sqrt(x / (pi f eps0 e)))
// The fit minimises
//   chi^2 = sum ((permittivity(f) - er) / u_er)^2 + ((conductivity_mS(f) - s) / u_s)^2
// over x > 0, e > 0, with u = 1 for measurements without uncertainties.
#include <span>

namespace gndfit {

inline constexpr double kJointPi = 3.141592653589793;
inline constexpr double kJointVacuumPermittivity = 8.8541878128e-12;  // F/m
inline constexpr double kJointSpeedOfLight = 299792458.0;             // m/s

struct JointMeasurement {
  double frequency_mhz = 0.0;
  double permittivity = 0.0;     // relative
  double conductivity_ms = 0.0;  // mS/m
  // Standard uncertainties, the permittivity's as a pure number and the
  // conductivity's in mS/m; 1 for both where the input gives none.
  double permittivity_u = 1.0;
  double conductivity_u = 1.0;
};

struct JointModel {
  double base_conductivity = 0.0;  // x, S/m
  double base_permittivity = 0.0;  // e, relative
};

struct GroundValues {
  double permittivity = 0.0;     // relative
  double conductivity_ms = 0.0;  // mS/m
};

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
  JointModel model;
  double chi_square = 0.0;
  int degrees_of_freedom = 0;  // 2N - 2
  JointCovariance covariance;
};

// The model at a frequency.
GroundValues joint_model_values(const JointModel& model, double frequency_mhz);

// The one model that reproduces a measurement exactly.
JointModel exact_model(const JointMeasurement& m);

// The global least-squares fit.  `weighted`: the measurements carry their
// own uncertainties; without, the covariance is scaled by chi^2 / (2N - 2).
JointFit fit_joint(std::span<const JointMeasurement> measurements, bool weighted);

// The model's values at a frequency with their standard deviations by
// linear propagation of the covariance (zero when it has none).
struct BandEstimate {
  GroundValues value;
  double permittivity_sd = 0.0;
  double conductivity_sd_ms = 0.0;
  double correlation = 0.0;  // of the permittivity and conductivity there
};
BandEstimate estimate_at(const JointFit& fit, double frequency_mhz);

// Skin depth in metres of ground with these constants at a frequency.
double skin_depth_m(double frequency_mhz, const GroundValues& ground);

}  // namespace gndfit
