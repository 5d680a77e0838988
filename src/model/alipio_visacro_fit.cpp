// SPDX-License-Identifier: MIT
#include "model/alipio_visacro_fit.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "model/alipio_visacro_ground.hpp"
#include "model/gauss_newton.hpp"
#include "model/golden_section.hpp"
#include "model/power_law_ground.hpp"

namespace gndfit {
namespace {

const AlipioVisacroGround kModel;

constexpr int kGridPerDecade = 20;

// Each measurement's terms that do not depend on s0: with A = s0 h,
// sigma = s0 + A q and eps = 12 + A p, q = (f / f1)^g, p = tan(pi g / 2)
// 1e-3 q / (2 pi f eps0).
struct Term {
  double q, p;
};

class Profile {
 public:
  explicit Profile(std::span<const LocatedMeasurement> measurements) : measurements_(measurements) {
    const double tangent = std::tan(kPi * kAlipioVisacroExponent / 2.0);
    for (const LocatedMeasurement& m : measurements) {
      const double q = std::pow(m.frequency_mhz, kAlipioVisacroExponent);
      terms_.push_back({q, tangent * q * permittivity_per_quadrature_ms(m.frequency_mhz)});
    }
  }
  // chi^2 at s0 = exp(t).
  double operator()(double t) const {
    const double s0 = std::exp(t);
    const double a = alipio_visacro_dispersive_ms(s0);
    double sum = 0.0;
    for (std::size_t i = 0; i < terms_.size(); ++i) {
      const LocatedMeasurement& m = measurements_[i];
      const double re =
          (kAlipioVisacroPermittivity + a * terms_[i].p - m.permittivity) / m.permittivity_u;
      const double rs = (s0 + a * terms_[i].q - m.conductivity_ms) / m.conductivity_u;
      sum += re * re + rs * rs;
    }
    return sum;
  }

 private:
  std::span<const LocatedMeasurement> measurements_;
  std::vector<Term> terms_;
};

}  // namespace

ModelFit fit_alipio_visacro(std::span<const LocatedMeasurement> measurements, bool weighted) {
  ModelFit fit;
  fit.model = &kModel;
  fit.degrees_of_freedom = static_cast<int>(2 * measurements.size()) - 1;
  if (measurements.empty()) return fit;
  const Profile profile(measurements);
  const double low = std::log(kAlipioVisacroLowest);
  const double high = std::log(kAlipioVisacroHighest);
  const int steps =
      static_cast<int>(std::lround(std::log10(kAlipioVisacroHighest / kAlipioVisacroLowest))) *
      kGridPerDecade;
  const double width = (high - low) / steps;
  std::vector<double> chi(static_cast<std::size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) chi[static_cast<std::size_t>(i)] = profile(low + i * width);
  // The lowest grid point, then each interior local minimum refined.
  std::size_t lowest = 0;
  for (std::size_t i = 1; i < chi.size(); ++i) {
    if (chi[i] < chi[lowest]) lowest = i;
  }
  if (!std::isfinite(chi[lowest])) {
    fit.status = ModelFitStatus::out_of_range;
    return fit;
  }
  double best_t = low + static_cast<double>(lowest) * width;
  double best = chi[lowest];
  for (std::size_t i = 1; i + 1 < chi.size(); ++i) {
    if (!(chi[i] <= chi[i - 1] && chi[i] <= chi[i + 1])) continue;
    const double centre = low + static_cast<double>(i) * width;
    const double t = golden_section_minimum(profile, centre - width, centre + width, 1e-9);
    if (const double value = profile(t); value < best) {
      best = value;
      best_t = t;
    }
  }
  // Lower than every inside point at an end of the grid: chi^2 keeps
  // falling towards that edge.
  if (best >= chi.front() || best >= chi.back()) {
    fit.status = ModelFitStatus::at_edge;
    fit.edge_parameter = 0;
    fit.edge_above = chi.back() < chi.front();
    return fit;
  }
  fit.parameters = {std::exp(best_t)};
  fit.states = {ParameterState::inside};
  const std::array<bool, 1> free{true};
  const std::array<ParameterBounds, 1> bounds{
      ParameterBounds{kAlipioVisacroLowest, kAlipioVisacroHighest}};
  fit.chi_square = polish_minimum(kModel, fit.parameters, free, bounds, measurements);
  fit.status =
      std::isfinite(fit.chi_square) ? ModelFitStatus::fitted : ModelFitStatus::out_of_range;
  set_covariance(fit, measurements, weighted);
  return fit;
}

}  // namespace gndfit
