// SPDX-License-Identifier: MIT
#pragma once
// The power-law model's least-squares fit over its domain s0 >= 0, a >= 0,
// e_inf >= 0 and kPowerLawLowestExponent <= g <= kPowerLawHighestExponent.
//
// For a fixed exponent g the model is linear in (s0, a, e_inf), so chi^2's
// minimum over them with their bounds is a small convex problem solved
// exactly (every set of parameters held at 0 tried, the lowest feasible
// kept).  What remains is chi^2 as a function of g alone, scanned every
// 0.01 and refined at each local minimum of the scan; the best is then
// polished by Gauss-Newton over all the parameters inside their domain.
// The scan covers the whole domain, so the minimum found is the global
// one (to within the scan's resolution of g), whatever the start.
#include <span>

#include "located/measurement.hpp"
#include "model/model_fit.hpp"

namespace gndfit {

// The exponent's domain is 0 < g < 1; at its ends the law degenerates (a
// constant at g = 0, an infinite tan(pi g / 2) at g = 1), so the search
// stops short of them, and a minimum there is given at that bound.
inline constexpr double kPowerLawLowestExponent = 0.01;
inline constexpr double kPowerLawHighestExponent = 0.99;
inline constexpr std::size_t kPowerLawMinimumMeasurements = 3;

ModelFit fit_power_law(std::span<const LocatedMeasurement> measurements, bool weighted);

}  // namespace gndfit
