// SPDX-License-Identifier: MIT
#include "model/power_law_fit.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <vector>

#include "model/gauss_newton.hpp"
#include "model/golden_section.hpp"
#include "model/power_law_ground.hpp"

namespace gndfit {
namespace {

const PowerLawGround kModel;

// The parameters in the model's order.
constexpr std::size_t kS0 = 0;
constexpr std::size_t kA = 1;
constexpr std::size_t kG = 2;
constexpr std::size_t kE = 3;

constexpr double kScanStep = 0.01;
constexpr double kExponentTolerance = 1e-10;
// chi^2 differences below this share of the data's own sum of squares are
// rounding.
constexpr double kRoundingShare = 1e-12;

// The linear parameters (s0, a, e_inf) at one exponent: which are free
// (bit 0 s0, bit 1 a, bit 2 e_inf; the others held at 0) and their values.
struct LinearPart {
  double chi_square = INFINITY;
  unsigned free = 0;
  std::array<double, 3> values{};
};

// The 3 x 3 normal equations of the linear part, with the weighted rows
//   conductivity: [1, P, 0] / u_s,  b = s / u_s
//   permittivity: [0, tan(pi g / 2) D P, 1] / u_er,  b = er / u_er
// where P = (f / f1)^g and D = 1e-3 / (2 pi f eps0).
struct Normal {
  std::array<std::array<double, 3>, 3> m{};
  std::array<double, 3> v{};
  double bb = 0.0;

  void add(const std::array<double, 3>& row, double b) {
    for (std::size_t i = 0; i < 3; ++i) {
      v[i] += row[i] * b;
      for (std::size_t j = 0; j < 3; ++j) m[i][j] += row[i] * row[j];
    }
    bb += b * b;
  }
};

// Solves the normal equations restricted to the parameters of `free` by
// Gaussian elimination; false when they are singular.
bool solve_restricted(const Normal& n, unsigned free, std::array<double, 3>& x) {
  std::array<std::size_t, 3> index{};
  std::size_t size = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    if (free & (1u << i)) index[size++] = i;
  }
  std::array<std::array<double, 4>, 3> a{};
  for (std::size_t r = 0; r < size; ++r) {
    for (std::size_t c = 0; c < size; ++c) a[r][c] = n.m[index[r]][index[c]];
    a[r][size] = n.v[index[r]];
  }
  for (std::size_t k = 0; k < size; ++k) {
    std::size_t pivot = k;
    for (std::size_t r = k + 1; r < size; ++r) {
      if (std::fabs(a[r][k]) > std::fabs(a[pivot][k])) pivot = r;
    }
    std::swap(a[k], a[pivot]);
    if (!(std::fabs(a[k][k]) > 1e-14 * std::fabs(n.m[index[k]][index[k]]))) return false;
    for (std::size_t r = k + 1; r < size; ++r) {
      const double factor = a[r][k] / a[k][k];
      for (std::size_t c = k; c <= size; ++c) a[r][c] -= factor * a[k][c];
    }
  }
  x = {};
  for (std::size_t k = size; k-- > 0;) {
    double sum = a[k][size];
    for (std::size_t c = k + 1; c < size; ++c) sum -= a[k][c] * x[index[c]];
    x[index[k]] = sum / a[k][k];
  }
  return true;
}

class Profile {
 public:
  explicit Profile(std::span<const LocatedMeasurement> measurements) : measurements_(measurements) {
    for (const LocatedMeasurement& m : measurements) {
      log_f_.push_back(std::log(m.frequency_mhz));
      quadrature_.push_back(permittivity_per_quadrature_ms(m.frequency_mhz));
    }
  }

  // The best linear part at exponent g: the lowest chi^2 among the
  // restricted solutions that keep their parameters non-negative (the
  // problem is convex, so its minimum under the bounds is one of them).
  LinearPart at(double g) const {
    const double tangent = std::tan(kPi * g / 2.0);
    Normal n;
    for (std::size_t i = 0; i < measurements_.size(); ++i) {
      const LocatedMeasurement& m = measurements_[i];
      const double power = std::exp(g * log_f_[i]);
      const double ws = 1.0 / m.conductivity_u;
      const double we = 1.0 / m.permittivity_u;
      n.add({ws, ws * power, 0.0}, ws * m.conductivity_ms);
      n.add({0.0, we * tangent * quadrature_[i] * power, we}, we * m.permittivity);
    }
    std::array<LinearPart, 8> candidates{};
    candidates[0].chi_square = n.bb;  // all three at 0
    double lowest = n.bb;
    for (unsigned free = 1; free < 8; ++free) {
      std::array<double, 3> x{};
      if (!solve_restricted(n, free, x)) continue;
      if (x[0] < 0.0 || x[1] < 0.0 || x[2] < 0.0) continue;
      // At the restricted minimum the residual is |b|^2 - x . A^T b.
      const double chi_square = n.bb - (x[0] * n.v[0] + x[1] * n.v[1] + x[2] * n.v[2]);
      candidates[free] = {chi_square, free, x};
      lowest = std::min(lowest, chi_square);
    }
    // Of the candidates as low as the lowest to within rounding, the one
    // with the fewest free parameters: a parameter that lowers chi^2 by
    // nothing but rounding is at its bound (a constant ground's dispersive
    // part is 0, not 1e-17).
    const double tolerance = kRoundingShare * n.bb;
    LinearPart best;
    for (unsigned count = 0; count <= 3 && !std::isfinite(best.chi_square); ++count) {
      for (unsigned free = 0; free < 8; ++free) {
        if (static_cast<unsigned>(std::popcount(free)) != count) continue;
        const LinearPart& c = candidates[free];
        if (c.chi_square <= lowest + tolerance && c.chi_square < best.chi_square) best = c;
      }
    }
    return best;
  }
  double operator()(double g) const { return at(g).chi_square; }

 private:
  std::span<const LocatedMeasurement> measurements_;
  std::vector<double> log_f_;
  std::vector<double> quadrature_;
};

// The exponent of the lowest profile: the scan, then each local minimum
// refined within its neighbours.
double best_exponent(const Profile& profile) {
  const int steps = static_cast<int>(
      std::lround((kPowerLawHighestExponent - kPowerLawLowestExponent) / kScanStep));
  auto exponent = [steps](int i) {
    return i == steps ? kPowerLawHighestExponent : kPowerLawLowestExponent + i * kScanStep;
  };
  std::vector<double> chi(static_cast<std::size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) chi[static_cast<std::size_t>(i)] = profile(exponent(i));
  double best_g = exponent(0);
  double best = INFINITY;
  for (int i = 0; i <= steps; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const bool below_left = i == 0 || chi[k] <= chi[k - 1];
    const bool below_right = i == steps || chi[k] <= chi[k + 1];
    if (!(below_left && below_right)) continue;
    const double g =
        golden_section_minimum(profile, exponent(i > 0 ? i - 1 : 0),
                               exponent(i < steps ? i + 1 : steps), kExponentTolerance);
    // A minimum at an end of the domain is that end.
    double candidate = g;
    if (i == 0 && g - kPowerLawLowestExponent < 10 * kExponentTolerance)
      candidate = kPowerLawLowestExponent;
    if (i == steps && kPowerLawHighestExponent - g < 10 * kExponentTolerance)
      candidate = kPowerLawHighestExponent;
    if (const double value = profile(candidate); value < best) {
      best = value;
      best_g = candidate;
    }
  }
  return best_g;
}

}  // namespace

ModelFit fit_power_law(std::span<const LocatedMeasurement> measurements, bool weighted) {
  ModelFit fit;
  fit.model = &kModel;
  fit.minimum_measurements = kPowerLawMinimumMeasurements;
  fit.degrees_of_freedom = static_cast<int>(2 * measurements.size()) - 4;
  if (measurements.empty()) return fit;
  if (measurements.size() < kPowerLawMinimumMeasurements) {
    fit.status = ModelFitStatus::too_few_measurements;
    return fit;
  }
  const Profile profile(measurements);
  const double g = best_exponent(profile);
  const LinearPart linear = profile.at(g);
  if (!std::isfinite(linear.chi_square)) {
    fit.status = ModelFitStatus::out_of_range;
    return fit;
  }
  fit.parameters = {linear.values[0], linear.values[1], g, linear.values[2]};
  auto state = [&linear](unsigned bit) {
    return (linear.free & bit) ? ParameterState::inside : ParameterState::at_bound;
  };
  fit.states = {state(1u), state(2u), ParameterState::inside, state(4u)};
  if (g == kPowerLawLowestExponent || g == kPowerLawHighestExponent)
    fit.states[kG] = ParameterState::at_bound;
  // Without a dispersive part the exponent has no effect on the values.
  if (fit.states[kA] == ParameterState::at_bound) fit.states[kG] = ParameterState::undetermined;
  std::array<bool, 4> free{};
  for (std::size_t i = 0; i < 4; ++i) free[i] = fit.states[i] == ParameterState::inside;
  const std::array<ParameterBounds, 4> bounds{
      ParameterBounds{0.0, INFINITY}, ParameterBounds{0.0, INFINITY},
      ParameterBounds{kPowerLawLowestExponent, kPowerLawHighestExponent},
      ParameterBounds{0.0, INFINITY}};
  fit.chi_square = polish_minimum(kModel, fit.parameters, free, bounds, measurements);
  const bool finite = std::isfinite(fit.chi_square) && std::isfinite(fit.parameters[kS0]) &&
                      std::isfinite(fit.parameters[kA]) && std::isfinite(fit.parameters[kE]);
  fit.status = finite ? ModelFitStatus::fitted : ModelFitStatus::out_of_range;
  set_covariance(fit, measurements, weighted);
  return fit;
}

}  // namespace gndfit
