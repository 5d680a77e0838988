// SPDX-License-Identifier: MIT
#pragma once
// A converted point of a probe sweep, in the units of gndfit's
// measurements, with the file and line it came from: the joint fit takes
// a list of these as its measurements.
#include <complex>
#include <string>

#include "model/ground.hpp"

namespace gndfit {

struct GroundPoint {
  double frequency_mhz = 0.0;
  double permittivity = 0.0;           // relative
  double conductivity_ms_per_m = 0.0;  // mS/m
  std::string source;                  // the file's name
  long line = 0;
};

// eps* = eps_r - j sigma / (omega eps0) to permittivity and conductivity.
inline GroundPoint ground_point(double frequency_mhz, std::complex<double> complex_permittivity) {
  const double omega = angular_frequency(frequency_mhz);
  GroundPoint p;
  p.frequency_mhz = frequency_mhz;
  p.permittivity = complex_permittivity.real();
  p.conductivity_ms_per_m = -complex_permittivity.imag() * omega * kVacuumPermittivity * 1000.0;
  return p;
}

}  // namespace gndfit
