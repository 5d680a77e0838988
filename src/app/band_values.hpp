#pragma once
// The model's values at a list of band frequencies for the fit in `fit`:
// what the rows of the table show, computed as they compute it (the skin
// depth relative to the depth at the measured frequency).
#include <span>
#include <string>

#include "console/numeric_mask.hpp"

#include "model/fit_state.hpp"

namespace gndfit {

struct BandValues {
  float band_mhz = 0.0f;
  GroundConstants model;
  float relative_skin_depth = 0.0f;
};

// `fit` holds a finished fit evaluated at the measured frequency; it is
// left evaluated at the last band, as the table leaves it.
void compute_band_values(FitState& fit, std::span<const float> bands, std::span<BandValues> out);

// The table's masks: a value of the permittivity and conductivity row,
// through the picture its magnitude chooses; a band frequency; a relative
// skin depth.
void append_auto_mask(NumericMask& mask, std::string& row, float value);
inline constexpr const char* kBandMask = "   ##.#";
inline constexpr const char* kDepthMask = " ###.##";

}  // namespace gndfit
