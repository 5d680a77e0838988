// SPDX-License-Identifier: MIT
#pragma once
#include "model/fit_state.hpp"

namespace gndfit {

// Evaluates the model at state.point and state.eval_frequency_hz, stores the
// constants in state.model (rounded to single) and returns the squared
// distance of those constants from state.measured.
double evaluate_model(FitState& state);

// Skin depth in feet at state.eval_frequency_hz of ground with the given
// relative permittivity and conductivity in mS/m.
float skin_depth_ft(const FitState& state, float permittivity, float conductivity_ms);

}  // namespace gndfit
