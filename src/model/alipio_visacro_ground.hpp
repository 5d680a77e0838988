// SPDX-License-Identifier: MIT
#pragma once
// The frequency-dependent soil model of Alipio and Visacro (2014), in the
// form CIGRE's brochure TB 781 recommends, in plain IEEE double: one
// parameter, s0, the low-frequency conductivity in mS/m.  With f in Hz and
// f1 = 1 MHz:
//   sigma(f) = s0 + s0 h (f / f1)^g
//   eps_r(f) = e_inf + tan(pi g / 2) 1e-3 s0 h (f / f1)^g / (2 pi f eps0)
// with h = 1.26 s0^-0.73, g = 0.54 and e_inf = 12: the power law of
// model/power_law_ground with those three tied to s0.
#include "model/ground.hpp"

namespace gndfit {

inline constexpr double kAlipioVisacroExponent = 0.54;      // g
inline constexpr double kAlipioVisacroPermittivity = 12.0;  // e_inf
inline constexpr double kAlipioVisacroScale = 1.26;         // h = 1.26 s0^-0.73
inline constexpr double kAlipioVisacroScalePower = -0.73;

// s0 h = 1.26 s0^0.27, the dispersive conductivity in mS/m.
double alipio_visacro_dispersive_ms(double low_frequency_conductivity_ms);

GroundValues alipio_visacro_values(double low_frequency_conductivity_ms, double frequency_mhz);

class AlipioVisacroGround final : public GroundModel {
 public:
  std::string_view name() const override { return "alipio-visacro"; }
  std::span<const ModelParameter> parameters() const override;
  GroundValues values_at(std::span<const double> parameters, double frequency_mhz) const override;
  void jacobian_at(std::span<const double> parameters, double frequency_mhz,
                   std::span<GroundJacobianRow> rows) const override;
};

}  // namespace gndfit
