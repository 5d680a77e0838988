// SPDX-License-Identifier: MIT
#include "model/measurement_start.hpp"

#include "model/extended.hpp"

namespace gndfit {
namespace {
constexpr double kHzPerMHz = 1000000.0;
constexpr double kStartConductivityFactor = 0.0002;
constexpr double kStartPermittivityFactor = 4.427093906400193e-12;  // eps0 / 2
}  // namespace

void start_measurement(FitState& state, const Measurement& measured) {
  state.measured = measured;
  state.eval_frequency_hz = store_double(extended{kHzPerMHz} * extended{measured.frequency_mhz});
  state.point.base_conductivity =
      store_double(extended{measured.conductivity_ms} * extended{kStartConductivityFactor});
  state.point.base_permittivity =
      store_double(extended{measured.permittivity} * extended{kStartPermittivityFactor});
}

void set_eval_frequency_mhz(FitState& state, float frequency_mhz) {
  state.eval_frequency_hz = store_double(extended{frequency_mhz} * extended{kHzPerMHz});
}

}  // namespace gndfit
