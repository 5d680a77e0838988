// SPDX-License-Identifier: MIT
#include "model/power_law_ground.hpp"

#include <array>
#include <cmath>

namespace gndfit {
namespace {

PowerLawParameters parameters_of(std::span<const double> p) { return {p[0], p[1], p[2], p[3]}; }

}  // namespace

double permittivity_per_quadrature_ms(double frequency_mhz) {
  return 1e-3 / (2.0 * kPi * frequency_hz(frequency_mhz) * kVacuumPermittivity);
}

GroundValues power_law_values(const PowerLawParameters& m, double frequency_mhz) {
  // f / f1 with f1 = 1 MHz is the frequency in MHz.
  const double dispersive = m.dispersive_conductivity_ms * std::pow(frequency_mhz, m.exponent);
  const double quadrature = std::tan(kPi * m.exponent / 2.0) * dispersive;
  return {
      m.high_frequency_permittivity + quadrature * permittivity_per_quadrature_ms(frequency_mhz),
      m.low_frequency_conductivity_ms + dispersive};
}

std::span<const ModelParameter> PowerLawGround::parameters() const {
  static constexpr std::array<ModelParameter, 4> kParameters{
      ModelParameter{"low_frequency_conductivity_ms_per_m", "low_frequency_conductivity_sd",
                     "low-frequency conductivity", "mS/m"},
      ModelParameter{"dispersive_conductivity_ms_per_m", "dispersive_conductivity_sd",
                     "dispersive conductivity", "mS/m"},
      ModelParameter{"exponent", "exponent_sd", "exponent", ""},
      ModelParameter{"high_frequency_permittivity", "high_frequency_permittivity_sd",
                     "high-frequency permittivity", ""}};
  return kParameters;
}

GroundValues PowerLawGround::values_at(std::span<const double> parameters,
                                       double frequency_mhz) const {
  return power_law_values(parameters_of(parameters), frequency_mhz);
}

void PowerLawGround::jacobian_at(std::span<const double> parameters, double frequency_mhz,
                                 std::span<GroundJacobianRow> rows) const {
  const PowerLawParameters m = parameters_of(parameters);
  const double power = std::pow(frequency_mhz, m.exponent);  // (f / f1)^g
  const double log_f = std::log(frequency_mhz);
  const double half_angle = kPi * m.exponent / 2.0;
  const double tangent = std::tan(half_angle);
  const double secant_squared = 1.0 + tangent * tangent;  // d tan(u) / du
  const double d = permittivity_per_quadrature_ms(frequency_mhz);
  const double a = m.dispersive_conductivity_ms;
  rows[0] = {0.0, 1.0};
  rows[1] = {tangent * d * power, power};
  rows[2] = {a * d * power * (tangent * log_f + secant_squared * kPi / 2.0), a * power * log_f};
  rows[3] = {1.0, 0.0};
}

}  // namespace gndfit
