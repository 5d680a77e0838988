// SPDX-License-Identifier: MIT
#pragma once
// One measurement of the ground with where it came from: what the
// measurement readers, the probe conversions and the joint fit take and
// the outputs write.  (The console's own Measurement, model/fit_state.hpp,
// keeps the single-precision fields its exact arithmetic stores.)
#include "located/location.hpp"

namespace gndfit {

struct LocatedMeasurement {
  double frequency_mhz = 0.0;
  double permittivity = 0.0;     // relative
  double conductivity_ms = 0.0;  // mS/m
  // Standard uncertainties, the permittivity's as a pure number and the
  // conductivity's in mS/m; 1 for both where the input gives none.
  double permittivity_u = 1.0;
  double conductivity_u = 1.0;
  Location where{};
};

}  // namespace gndfit
