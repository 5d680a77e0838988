// SPDX-License-Identifier: MIT
#include "model/ground_model.hpp"

#include <cmath>
#include <type_traits>

#include "model/extended.hpp"

namespace gndfit {
namespace {

// Constants exactly as the model defines them (pi to 15 digits, not the full
// value); a more precise value would change the fit's path in the last bits.
// They are the console's own, not model/ground.hpp's: eps0 here is the
// value the console's table was computed with, 239 units in the last place
// above the double nearest CODATA's value, which the joint fit and the
// probes use; the console's output must stay as it is to the bit.
constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;
constexpr double kFourPi = 12.56637061435916;
constexpr double kVacuumPermittivity = 8.854187812800387e-12;
constexpr double kInverseVacuumPermittivity = 112940906737.29698;
constexpr double kHalfMu0Eps0 = 5.563250280268093e-18;
constexpr double kFeetPerMetre = 3.2808398950131235;
constexpr double kMilliToUnit = 0.001;
constexpr double kUnitToMilli = 1000.0;

// The squared difference of two stored singles: the difference is formed in
// extended precision, stored as double, and squared with one rounding to
// double, as a power function with exponent 2 gives it.
double squared_difference(float model_value, float measured_value) {
  const double diff = difference_stored_as_double(model_value, measured_value);
  return diff * diff;
}

// The model's constants at frequency_hz for a base conductivity in S/m and
// a base permittivity in F/m, every intermediate in E.
template <typename E>
GroundConstants model_constants(double frequency_hz, double conductivity, double permittivity) {
  const E f{frequency_hz};
  const E x{conductivity};
  const E y{permittivity};
  // y f is the start of both chains: formed once, the same bits either way.
  const E yf = y * f;

  E sigma = yf * E{kFourPi};
  sigma = sigma / x;
  sigma = square_root(sigma) + E{1.0};
  sigma = sigma * x * E{kUnitToMilli};

  const E a = y / E{kVacuumPermittivity};
  E eps = yf * E{kPi};
  eps = x / eps;
  eps = square_root(eps) + E{1.0};
  return {store_single(eps * a), store_single(sigma)};
}

}  // namespace

double evaluate_model(FitState& state) {
  const double f = state.eval_frequency_hz;
  const double x = state.point.base_conductivity;
  const double y = state.point.base_permittivity;
  // Positive normal inputs keep every intermediate positive and normal:
  // the shorter type, where there is one, then gives the same bits.
  if constexpr (std::is_same_v<positive_extended, extended>) {
    state.model = model_constants<extended>(f, x, y);
  } else {
    state.model = positive_normal(f) && positive_normal(x) && positive_normal(y)
                      ? model_constants<positive_extended>(f, x, y)
                      : model_constants<extended>(f, x, y);
  }

  const double permittivity_term =
      squared_difference(state.model.permittivity, state.measured.permittivity);
  const double conductivity_term =
      squared_difference(state.model.conductivity_ms, state.measured.conductivity_ms);
  return sum_stored_as_double(permittivity_term, conductivity_term);
}

float skin_depth_ft(const FitState& state, float permittivity, float conductivity_ms) {
  const extended er = permittivity;
  const float w = store_single(extended{kTwoPi} * state.eval_frequency_hz);
  const float c = store_single(extended{conductivity_ms} * extended{kMilliToUnit});
  const float t =
      store_single(extended{c} * extended{kInverseVacuumPermittivity} / (er * extended{w}));
  const extended s = square_root(extended{t} * extended{t} + extended{1.0}) - extended{1.0};
  const extended r = square_root(er * s * extended{kHalfMu0Eps0});
  return store_single(extended{kFeetPerMetre} / (extended{w} * r));
}

}  // namespace gndfit
