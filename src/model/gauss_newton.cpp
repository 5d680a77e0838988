// SPDX-License-Identifier: MIT
#include "model/gauss_newton.hpp"

#include <array>
#include <cstddef>

#include "model/model_fit.hpp"
#include "model/small_least_squares.hpp"

namespace gndfit {
namespace {

constexpr int kMaxSteps = 30;
constexpr int kMaxHalvings = 10;
constexpr double kConverged = 1e-15;

// The Gauss-Newton step dp of min |r + J dp|^2 over the free parameters,
// with r_i = (model - measured) / u; false when J's columns are dependent.
bool gauss_newton_step(const GroundModel& model, std::span<const double> parameters,
                       std::span<const std::size_t> free,
                       std::span<const LocatedMeasurement> measurements, SmallVector& step) {
  const std::size_t k = parameters.size();
  SmallLeastSquares problem(free.size());
  std::array<GroundJacobianRow, kMaxUnknowns> rows{};
  for (const LocatedMeasurement& j : measurements) {
    const GroundValues v = model.values_at(parameters, j.frequency_mhz);
    model.jacobian_at(parameters, j.frequency_mhz, std::span(rows).first(k));
    SmallVector permittivity{};
    SmallVector conductivity{};
    for (std::size_t c = 0; c < free.size(); ++c) {
      permittivity[c] = rows[free[c]].permittivity / j.permittivity_u;
      conductivity[c] = rows[free[c]].conductivity_ms / j.conductivity_u;
    }
    problem.add_row(permittivity, (j.permittivity - v.permittivity) / j.permittivity_u);
    problem.add_row(conductivity, (j.conductivity_ms - v.conductivity_ms) / j.conductivity_u);
  }
  const SmallSolution s = problem.solve();
  step = s.x;
  return s.solved;
}

}  // namespace

double polish_minimum(const GroundModel& model, std::span<double> parameters,
                      std::span<const bool> free, std::span<const ParameterBounds> bounds,
                      std::span<const LocatedMeasurement> measurements) {
  std::vector<std::size_t> moving;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    if (free[i]) moving.push_back(i);
  }
  double best = chi_square_of(model, parameters, measurements);
  if (moving.empty()) return best;
  std::vector<double> trial(parameters.begin(), parameters.end());
  for (int step = 0; step < kMaxSteps; ++step) {
    const double before = best;
    SmallVector dp{};
    if (!gauss_newton_step(model, parameters, moving, measurements, dp)) break;
    bool improved = false;
    double fraction = 1.0;
    for (int halving = 0; halving < kMaxHalvings && !improved; ++halving, fraction /= 2.0) {
      bool inside = true;
      for (std::size_t c = 0; c < moving.size(); ++c) {
        const std::size_t i = moving[c];
        trial[i] = parameters[i] + fraction * dp[c];
        inside = inside && trial[i] > bounds[i].lower && trial[i] < bounds[i].upper;
      }
      if (!inside) continue;
      const double chi_square = chi_square_of(model, trial, measurements);
      if (chi_square < best) {
        improved = true;
        best = chi_square;
        for (const std::size_t i : moving) parameters[i] = trial[i];
      }
    }
    // Converged: a step that gains no more than rounding.
    if (!improved || before - best <= kConverged * best) break;
  }
  return best;
}

}  // namespace gndfit
