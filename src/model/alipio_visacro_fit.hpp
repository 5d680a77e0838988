// SPDX-License-Identifier: MIT
#pragma once
// The alipio-visacro model's least-squares fit: its one parameter, the
// low-frequency conductivity s0, over the positive reals.
#include <span>

#include "located/measurement.hpp"
#include "model/model_fit.hpp"

namespace gndfit {

// The global minimum of chi^2 over s0: scanned on a logarithmic grid from
// kAlipioVisacroLowest to kAlipioVisacroHighest mS/m (every soil and sea
// water lie well inside), each local minimum of the scan refined; a
// minimum at either end of the grid is an edge of the domain.
inline constexpr double kAlipioVisacroLowest = 1e-6;  // mS/m
inline constexpr double kAlipioVisacroHighest = 1e6;  // mS/m

ModelFit fit_alipio_visacro(std::span<const LocatedMeasurement> measurements, bool weighted);

}  // namespace gndfit
