// SPDX-License-Identifier: MIT
#pragma once
#include "model/fit_state.hpp"

namespace gndfit {

// Puts a measurement into the fit state: the evaluation frequency in Hz and
// the start point of the fit (a fifth of the measured conductivity in S/m,
// half the measured absolute permittivity).
void start_measurement(FitState& state, const Measurement& measured);

// The band frequency in MHz (a single) as the evaluation frequency in Hz.
void set_eval_frequency_mhz(FitState& state, float frequency_mhz);

}  // namespace gndfit
