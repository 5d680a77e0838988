// SPDX-License-Identifier: MIT
#include "model/messier_ground.hpp"

#include <array>
#include <cmath>

namespace gndfit {
namespace {

MessierParameters parameters_of(std::span<const double> parameters) {
  return {parameters[0], parameters[1]};
}

}  // namespace

GroundValues messier_values(const MessierParameters& model, double frequency_mhz) {
  const double f = frequency_hz(frequency_mhz);
  const double x = model.base_conductivity;
  const double e = model.base_permittivity;
  const double conductivity = x * (1.0 + std::sqrt(4.0 * kPi * f * kVacuumPermittivity * e / x));
  const double permittivity = e * (1.0 + std::sqrt(x / (kPi * f * kVacuumPermittivity * e)));
  return {permittivity, conductivity * 1000.0};
}

MessierParameters messier_exact(double frequency_mhz, double permittivity, double conductivity_ms) {
  // sqrt(s*) = u + jv for s* = sigma + j omega eps0 er; a = u - v, written
  // as sigma / (u + v) so that no digits cancel when sigma is small.  The
  // angular frequency is 2 pi (f 1e6), the order the outputs were made in.
  const double omega_eps0 = 2.0 * kPi * frequency_hz(frequency_mhz) * kVacuumPermittivity;
  const double sigma = conductivity_ms / 1000.0;
  const double reactive = omega_eps0 * permittivity;
  const double larger = sigma > reactive ? sigma : reactive;
  const double ps = sigma / larger;
  const double pr = reactive / larger;
  const double magnitude = larger * std::sqrt(ps * ps + pr * pr);
  const double u = std::sqrt(0.5 * (magnitude + sigma));
  const double v = reactive / (2.0 * u);
  const double a = sigma / (u + v);
  return {a * a, 2.0 * v * v / omega_eps0};
}

double messier_coefficient(double frequency_mhz) {
  return std::sqrt(4.0 * kPi * frequency_hz(frequency_mhz) * kVacuumPermittivity);
}

MessierGradients messier_gradients(const MessierParameters& model, double frequency_mhz) {
  const double c = messier_coefficient(frequency_mhz);
  const double a = std::sqrt(model.base_conductivity);
  const double b = std::sqrt(model.base_permittivity);
  return {b / (c * a), 1.0 + a / (c * b), 1000.0 + 500.0 * c * b / a, 500.0 * c * a / b};
}

std::span<const ModelParameter> MessierGround::parameters() const {
  static constexpr std::array<ModelParameter, 2> kParameters{
      ModelParameter{"base_conductivity_s_per_m", "base_conductivity_sd", "base conductivity",
                     "S/m"},
      ModelParameter{"base_permittivity", "base_permittivity_sd", "base permittivity", ""}};
  return kParameters;
}

GroundValues MessierGround::values_at(std::span<const double> parameters,
                                      double frequency_mhz) const {
  return messier_values(parameters_of(parameters), frequency_mhz);
}

void MessierGround::jacobian_at(std::span<const double> parameters, double frequency_mhz,
                                std::span<GroundJacobianRow> rows) const {
  const MessierGradients g = messier_gradients(parameters_of(parameters), frequency_mhz);
  rows[0] = {g.permittivity_x, g.conductivity_x};
  rows[1] = {g.permittivity_e, g.conductivity_e};
}

}  // namespace gndfit
