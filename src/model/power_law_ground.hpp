// SPDX-License-Identifier: MIT
#pragma once
// A free power law for the ground's complex conductivity, in plain IEEE
// double.  With f in Hz, f1 = 1 MHz and conductivities in mS/m:
//   sigma(f) = s0 + a (f / f1)^g
//   eps_r(f) = e_inf + tan(pi g / 2) 1e-3 a (f / f1)^g / (2 pi f eps0)
// The dispersive part a (f / f1)^g (1 + j tan(pi g / 2)) is the one term
// whose real and imaginary parts keep a constant ratio at every frequency,
// as causality (Kramers-Kronig) asks of a power law.  The parameters:
// s0 >= 0 and a >= 0 (mS/m), 0 < g < 1, e_inf > 0.  Both other models are
// special cases: messier with g = 1/2, and alipio-visacro with g = 0.54,
// e_inf = 12 and a tied to s0.
#include "model/ground.hpp"

namespace gndfit {

struct PowerLawParameters {
  double low_frequency_conductivity_ms = 0.0;  // s0
  double dispersive_conductivity_ms = 0.0;     // a
  double exponent = 0.0;                       // g
  double high_frequency_permittivity = 0.0;    // e_inf
};

GroundValues power_law_values(const PowerLawParameters& model, double frequency_mhz);

// 1e-3 / (2 pi f eps0) at a frequency: the relative permittivity of a
// conductivity of 1 mS/m in quadrature.
double permittivity_per_quadrature_ms(double frequency_mhz);

class PowerLawGround final : public GroundModel {
 public:
  std::string_view name() const override { return "power-law"; }
  std::span<const ModelParameter> parameters() const override;
  GroundValues values_at(std::span<const double> parameters, double frequency_mhz) const override;
  void jacobian_at(std::span<const double> parameters, double frequency_mhz,
                   std::span<GroundJacobianRow> rows) const override;
};

}  // namespace gndfit
