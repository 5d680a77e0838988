// SPDX-License-Identifier: MIT
#pragma once
// Which points of a line probe's sweep can be trusted.  Every measured
// impedance also fits other grounds, with the line 0.5, 1, 1.5 ...
// wavelengths longer in them: the equation theta tan(theta) = A has a
// root near each multiple of pi.  The physical one is the branch that is
// continuous from low frequency, where the line is electrically short.
// It is taken up at the lowest point with exactly one solution among the
// admitted grounds, and followed upwards only while each step is certain
// to stay on it; every other point is left out.
#include <complex>
#include <vector>

#include "sweep/line_probe.hpp"
#include "sweep/sweep_point.hpp"

namespace gndfit {

// The grounds a solution may be: relative permittivity 1 to 100 and
// conductivity 0 to 200 mS/m.
inline constexpr double kLeastAdmittedPermittivity = 1.0;
inline constexpr double kMostAdmittedPermittivity = 100.0;
inline constexpr double kMostAdmittedConductivity = 0.2;  // S/m

enum class LinePointFate {
  printed,       // on the branch
  no_ground,     // below the branch's start: no admitted solution
  ambiguous,     // below the branch's start: more than one, or not told
  not_followed,  // above a point where the branch could not be followed
};

struct LineBranchPoint {
  LinePointFate fate = LinePointFate::ambiguous;
  std::complex<double> permittivity;  // eps*, when printed
  bool beyond_quarter_wave = false;   // printed, with Re(theta) > pi / 2
};

// One entry per point of `points` (in increasing frequency).
std::vector<LineBranchPoint> follow_line_branch(const LineProbe& probe,
                                                const std::vector<SweepPoint>& points);

// How many solutions eps* within the admitted grounds (widened a little,
// so that a root on their border is counted) `admittance` has at this
// frequency; -1 when that cannot be told.
int admitted_line_solutions(const LineProbe& probe, double frequency_mhz,
                            std::complex<double> admittance);

}  // namespace gndfit
