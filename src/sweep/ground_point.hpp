// SPDX-License-Identifier: MIT
#pragma once
// A converted point of a probe sweep in the units of gndfit's
// measurements: the joint fit takes a list of these as its measurements.
#include <complex>

#include "located/measurement.hpp"
#include "model/ground.hpp"

namespace gndfit {

// eps* = eps_r - j sigma / (omega eps0) to permittivity and conductivity,
// without uncertainties; the caller says where it came from.
inline LocatedMeasurement ground_point(double frequency_mhz,
                                       std::complex<double> complex_permittivity) {
  const double omega = angular_frequency(frequency_mhz);
  LocatedMeasurement p;
  p.frequency_mhz = frequency_mhz;
  p.permittivity = complex_permittivity.real();
  p.conductivity_ms = -complex_permittivity.imag() * omega * kVacuumPermittivity * 1000.0;
  return p;
}

}  // namespace gndfit
