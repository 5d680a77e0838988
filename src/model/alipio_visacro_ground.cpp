// SPDX-License-Identifier: MIT
#include "model/alipio_visacro_ground.hpp"

#include <array>
#include <cmath>

#include "model/power_law_ground.hpp"

namespace gndfit {

double alipio_visacro_dispersive_ms(double s0) {
  return s0 * (kAlipioVisacroScale * std::pow(s0, kAlipioVisacroScalePower));
}

GroundValues alipio_visacro_values(double s0, double frequency_mhz) {
  return power_law_values(
      {s0, alipio_visacro_dispersive_ms(s0), kAlipioVisacroExponent, kAlipioVisacroPermittivity},
      frequency_mhz);
}

std::span<const ModelParameter> AlipioVisacroGround::parameters() const {
  static constexpr std::array<ModelParameter, 1> kParameters{
      ModelParameter{"low_frequency_conductivity_ms_per_m", "low_frequency_conductivity_sd",
                     "low-frequency conductivity", "mS/m"}};
  return kParameters;
}

GroundValues AlipioVisacroGround::values_at(std::span<const double> parameters,
                                            double frequency_mhz) const {
  return alipio_visacro_values(parameters[0], frequency_mhz);
}

void AlipioVisacroGround::jacobian_at(std::span<const double> parameters, double frequency_mhz,
                                      std::span<GroundJacobianRow> rows) const {
  // d(s0 h)/d s0 = (1 - 0.73) s0 h / s0; the dispersive part scales with it.
  const double s0 = parameters[0];
  const double slope = (1.0 + kAlipioVisacroScalePower) * alipio_visacro_dispersive_ms(s0) / s0;
  const double power = std::pow(frequency_mhz, kAlipioVisacroExponent);
  const double tangent = std::tan(kPi * kAlipioVisacroExponent / 2.0);
  rows[0] = {tangent * slope * power * permittivity_per_quadrature_ms(frequency_mhz),
             1.0 + slope * power};
}

}  // namespace gndfit
