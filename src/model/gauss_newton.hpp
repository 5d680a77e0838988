// SPDX-License-Identifier: MIT
#pragma once
// The last digits of a ground model's minimum: Gauss-Newton steps from a
// point already near it, over the parameters inside their domain, each
// step solved by QR and halved until chi^2 falls and the bounds hold.  The
// models' searches find the basin; this makes the minimum exact to the
// precision chi^2 allows.
#include <span>
#include <vector>

#include "located/measurement.hpp"
#include "model/ground.hpp"

namespace gndfit {

struct ParameterBounds {
  double lower = 0.0;
  double upper = 0.0;
};

// Polishes `parameters` in place, changing only those marked in `free`;
// returns the chi-square at the result.
double polish_minimum(const GroundModel& model, std::span<double> parameters,
                      std::span<const bool> free, std::span<const ParameterBounds> bounds,
                      std::span<const LocatedMeasurement> measurements);

}  // namespace gndfit
