// SPDX-License-Identifier: MIT
#include "model/model_fit.hpp"

#include <algorithm>
#include <cmath>

namespace gndfit {

double chi_square_of(const GroundModel& model, std::span<const double> parameters,
                     std::span<const LocatedMeasurement> measurements) {
  double sum = 0.0;
  for (const LocatedMeasurement& j : measurements) {
    const GroundValues v = model.values_at(parameters, j.frequency_mhz);
    const double re = (v.permittivity - j.permittivity) / j.permittivity_u;
    const double rs = (v.conductivity_ms - j.conductivity_ms) / j.conductivity_u;
    sum += re * re + rs * rs;
  }
  return sum;
}

void set_covariance(ModelFit& fit, std::span<const LocatedMeasurement> measurements,
                    bool weighted) {
  fit.covariance_present = false;
  fit.covariance = {};
  if (fit.degrees_of_freedom <= 0) return;
  const std::size_t k = fit.parameters.size();
  std::vector<std::size_t> inside;
  for (std::size_t i = 0; i < k; ++i) {
    if (fit.states[i] == ParameterState::inside) inside.push_back(i);
  }
  if (inside.empty()) return;
  SmallLeastSquares jacobian(inside.size());
  std::array<GroundJacobianRow, kMaxUnknowns> rows{};
  for (const LocatedMeasurement& j : measurements) {
    fit.model->jacobian_at(fit.parameters, j.frequency_mhz, std::span(rows).first(k));
    SmallVector permittivity{};
    SmallVector conductivity{};
    for (std::size_t c = 0; c < inside.size(); ++c) {
      permittivity[c] = rows[inside[c]].permittivity / j.permittivity_u;
      conductivity[c] = rows[inside[c]].conductivity_ms / j.conductivity_u;
    }
    jacobian.add_row(permittivity, 0.0);
    jacobian.add_row(conductivity, 0.0);
  }
  SmallMatrix inverse{};
  if (!jacobian.normal_inverse(inverse)) return;
  const double scale = weighted ? 1.0 : fit.chi_square / fit.degrees_of_freedom;
  for (std::size_t r = 0; r < inside.size(); ++r) {
    for (std::size_t c = 0; c < inside.size(); ++c) {
      fit.covariance[inside[r]][inside[c]] = inverse[r][c] * scale;
    }
  }
  fit.covariance_present = true;
}

BandEstimate estimate_at(const ModelFit& fit, double frequency_mhz) {
  BandEstimate b;
  b.value = fit.model->values_at(fit.parameters, frequency_mhz);
  if (!fit.covariance_present) return b;
  const std::size_t k = fit.parameters.size();
  std::array<GroundJacobianRow, kMaxUnknowns> g{};
  fit.model->jacobian_at(fit.parameters, frequency_mhz, std::span(g).first(k));
  const SmallMatrix& c = fit.covariance;
  // a^T C b over the upper triangle, each pair once: for two parameters
  // a_x b_x C_xx + (a_x b_e + a_e b_x) C_xe + a_e b_e C_ee.
  auto covariance = [&](auto u, auto v) {
    double sum = 0.0;
    for (std::size_t i = 0; i < k; ++i) {
      for (std::size_t j = i; j < k; ++j) {
        sum += i == j ? u(i) * v(i) * c[i][i] : (u(i) * v(j) + u(j) * v(i)) * c[i][j];
      }
    }
    return sum;
  };
  auto permittivity = [&g](std::size_t i) { return g[i].permittivity; };
  auto conductivity = [&g](std::size_t i) { return g[i].conductivity_ms; };
  const double pp = covariance(permittivity, permittivity);
  const double ss = covariance(conductivity, conductivity);
  const double ps = covariance(permittivity, conductivity);
  b.permittivity_sd = pp > 0.0 ? std::sqrt(pp) : 0.0;
  b.conductivity_sd_ms = ss > 0.0 ? std::sqrt(ss) : 0.0;
  const double scale = b.permittivity_sd * b.conductivity_sd_ms;
  b.correlation = scale > 0.0 ? std::clamp(ps / scale, -1.0, 1.0) : 0.0;
  return b;
}

}  // namespace gndfit
