// SPDX-License-Identifier: MIT
#include "model/band_values.hpp"

#include "model/extended.hpp"
#include "model/ground_model.hpp"
#include "model/measurement_start.hpp"
#include "model/simplex_fit.hpp"

namespace gndfit {

void fit_measurement(FitState& fit, const Measurement& m) {
  start_measurement(fit, m);
  fit_model(fit);
  evaluate_model(fit);
}

void compute_band_values(FitState& fit, std::span<const float> bands, std::span<BandValues> out) {
  const float reference = skin_depth_ft(fit, fit.model.permittivity, fit.model.conductivity_ms);
  for (std::size_t i = 0; i < bands.size() && i < out.size(); ++i) {
    set_eval_frequency_mhz(fit, bands[i]);
    evaluate_model(fit);
    const float depth = skin_depth_ft(fit, fit.model.permittivity, fit.model.conductivity_ms);
    out[i] = {bands[i], fit.model, store_single(extended{depth} / extended{reference})};
  }
}

std::vector<BandValues> fit_and_evaluate(FitState& fit, const Measurement& m,
                                         std::span<const float> frequencies) {
  fit_measurement(fit, m);
  std::vector<BandValues> bands(frequencies.size());
  compute_band_values(fit, frequencies, bands);
  return bands;
}

}  // namespace gndfit
