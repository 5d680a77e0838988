// SPDX-License-Identifier: MIT
#pragma once
// The model's values at a list of band frequencies for the fit in `fit`:
// what the rows of the table show, computed as they compute it (the skin
// depth relative to the depth at the measured frequency).
#include <span>
#include <vector>

#include "model/fit_state.hpp"

namespace gndfit {

struct BandValues {
  float band_mhz = 0.0f;
  GroundConstants model;
  float relative_skin_depth = 0.0f;
};

// Fits `m` from where `fit` stands and evaluates the model at the
// measured frequency, as each pass of the program does.
void fit_measurement(FitState& fit, const Measurement& m);

// `fit` holds a finished fit evaluated at the measured frequency; it is
// left evaluated at the last band, as the table leaves it.
void compute_band_values(FitState& fit, std::span<const float> bands, std::span<BandValues> out);

// Both: the model's values at `frequencies` for the measurement `m`.
std::vector<BandValues> fit_and_evaluate(FitState& fit, const Measurement& m,
                                         std::span<const float> frequencies);

}  // namespace gndfit
