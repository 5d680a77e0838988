// SPDX-License-Identifier: MIT
#pragma once
// gndfit's ground model, in plain IEEE double.  With f in Hz, x the base
// conductivity (S/m, the low-frequency limit) and e the base relative
// permittivity (the high-frequency limit):
//   conductivity(f)          = x (1 + sqrt(4 pi f eps0 e / x))
//   relative permittivity(f) = e (1 + sqrt(x / (pi f eps0 e)))
// The console's fit (model/ground_model) is the same model in its own
// extended arithmetic; this is the joint fit's and the outputs'.
#include "model/ground.hpp"

namespace gndfit {

struct MessierParameters {
  double base_conductivity = 0.0;  // x, S/m
  double base_permittivity = 0.0;  // e, relative
};

// The model's values at a frequency.
GroundValues messier_values(const MessierParameters& model, double frequency_mhz);

// The one pair (x, e) that reproduces a single measurement exactly.
MessierParameters messier_exact(double frequency_mhz, double permittivity, double conductivity_ms);

// sqrt(4 pi f eps0) at a frequency: with a = sqrt(x) and b = sqrt(e) the
// values are b^2 + (2 / c) a b and 1000 a^2 + 1000 c a b.
double messier_coefficient(double frequency_mhz);

// d(permittivity)/d(x, e) and d(conductivity_mS)/d(x, e) at a frequency.
struct MessierGradients {
  double permittivity_x, permittivity_e, conductivity_x, conductivity_e;
};
MessierGradients messier_gradients(const MessierParameters& model, double frequency_mhz);

// The same behind the interface every model gives; its parameters, in
// order, are x (base_conductivity_s_per_m) and e (base_permittivity).
class MessierGround final : public GroundModel {
 public:
  std::string_view name() const override { return "messier"; }
  std::span<const ModelParameter> parameters() const override;
  GroundValues values_at(std::span<const double> parameters, double frequency_mhz) const override;
  void jacobian_at(std::span<const double> parameters, double frequency_mhz,
                   std::span<GroundJacobianRow> rows) const override;
};

}  // namespace gndfit
