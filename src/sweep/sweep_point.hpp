// SPDX-License-Identifier: MIT
#pragma once
// One point of an analyser's one-port sweep: the frequency and the
// admittance at the probe's terminals, with the line of the file it came
// from.  Admittance rather than impedance, because both probes are
// solved from it and an open circuit (Y = 0) stays finite.
#include <complex>
#include <vector>

#include "located/outcome.hpp"

namespace gndfit {

struct SweepPoint {
  double frequency_mhz = 0.0;       // as the file gives it, in MHz
  std::complex<double> admittance;  // siemens
  long line = 0;                    // 1-based line of the file
  double reference_ohms = 50.0;     // the file's reference resistance (50 when none)
};

// A file's points, or why it is refused: the failure's line is the
// file's, its source left to the caller, who knows the file's name.
using SweepRead = Outcome<std::vector<SweepPoint>>;

}  // namespace gndfit
