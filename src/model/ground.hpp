// SPDX-License-Identifier: MIT
#pragma once
// The ground's physics in plain IEEE double, in one place: the physical
// constants, a ground's values at a frequency, its skin depth, and the
// small interface every ground model gives (its parameters by name, its
// values at a frequency and their Jacobian).  The joint fit, the probe
// conversions and the outputs use it.
//
// The console's fit (model/ground_model.cpp) keeps constants of its own:
// they are the ones its extended arithmetic was defined with, and its
// table must stay as it is to the bit.
#include <numbers>
#include <span>
#include <string_view>

namespace gndfit {

// eps0 is CODATA 2018's value, as the joint fit's and the probes' outputs
// were computed with it; the console's own differs in its last digits.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kVacuumPermittivity = 8.8541878128e-12;  // eps0, F/m
inline constexpr double kSpeedOfLight = 299792458.0;             // c, m/s

// A frequency in MHz in Hz.
inline double frequency_hz(double frequency_mhz) { return frequency_mhz * 1e6; }

// omega in rad/s of a frequency in MHz, as 2 pi f_MHz 1e6 in that order.
inline double angular_frequency(double frequency_mhz) { return 2.0 * kPi * frequency_mhz * 1e6; }

// A ground at one frequency.
struct GroundValues {
  double permittivity = 0.0;     // relative
  double conductivity_ms = 0.0;  // mS/m
};

// Skin depth in metres of ground with these values at a frequency.
double skin_depth_m(double frequency_mhz, const GroundValues& ground);

// A model's high-frequency relative permittivity below vacuum's 1: the
// model may still reproduce the measurements, but is not physical away
// from them.
inline bool below_vacuum(double relative_permittivity) { return relative_permittivity < 1.0; }

// The derivatives of a ground's values by each parameter of its model.
struct GroundJacobianRow {
  double permittivity = 0.0;     // d(relative permittivity) / d(parameter)
  double conductivity_ms = 0.0;  // d(conductivity in mS/m) / d(parameter)
};

// One parameter of a ground model: its JSON name (with its unit), the
// name of its standard deviation (the name without its unit, then _sd),
// its name in words and its unit as a report writes them.
struct ModelParameter {
  std::string_view name;
  std::string_view sd_name;
  std::string_view label;
  std::string_view unit;
};

// What a ground model gives: its name, its parameters (in the order of the
// values passed in), its values at a frequency and the Jacobian there (one
// row per parameter, written into `rows`).
class GroundModel {
 public:
  virtual ~GroundModel() = default;
  virtual std::string_view name() const = 0;
  virtual std::span<const ModelParameter> parameters() const = 0;
  virtual GroundValues values_at(std::span<const double> parameters,
                                 double frequency_mhz) const = 0;
  virtual void jacobian_at(std::span<const double> parameters, double frequency_mhz,
                           std::span<GroundJacobianRow> rows) const = 0;
};

}  // namespace gndfit
