// SPDX-License-Identifier: MIT
#include "model/joint_fit.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "model/real_roots.hpp"

namespace gndfit {
namespace {

// With a = sqrt(x) and b = sqrt(e) the model is a quadratic form in (a, b):
//   permittivity(f)    = b^2 + k_e a b,          k_e = 2 / c
//   conductivity_mS(f) = 1000 a^2 + k_s a b,     k_s = 1000 c
// with c = sqrt(4 pi f eps0).  Each weighted residual of chi^2 is then
// s q(t) - d, where t = b / a, s = a^2 = x and q is a quadratic in t; for a
// fixed t the best s is closed form, which leaves a function of t alone.
// The same holds for t = a / b with s = b^2 = e, which covers t > 1.
struct Coefficients {
  double c = 0.0;    // sqrt(4 pi f eps0)
  double k_e = 0.0;  // permittivity per a b
  double k_s = 0.0;  // conductivity (mS/m) per a b
};

Coefficients coefficients_at(double frequency_mhz) {
  const double c = messier_coefficient(frequency_mhz);
  return {c, 2.0 / c, 1000.0 * c};
}

// The sums over all residuals of q_k d, q_k q_l and d^2, for q written as
// q0 + q1 t + q2 t^2 with t = b / a.
struct Moments {
  std::array<double, 3> qd{};
  std::array<std::array<double, 3>, 3> qq{};
  double dd = 0.0;

  void add(const std::array<double, 3>& q, double d) {
    for (std::size_t k = 0; k < 3; ++k) {
      qd[k] += q[k] * d;
      for (std::size_t l = 0; l < 3; ++l) qq[k][l] += q[k] * q[l];
    }
    dd += d * d;
  }
  // The same sums for t = a / b: the coefficients in reverse.
  Moments reversed() const {
    Moments r;
    for (std::size_t k = 0; k < 3; ++k) {
      r.qd[k] = qd[2 - k];
      for (std::size_t l = 0; l < 3; ++l) r.qq[k][l] = qq[2 - k][2 - l];
    }
    r.dd = dd;
    return r;
  }
};

Moments moments_of(std::span<const LocatedMeasurement> measurements) {
  Moments m;
  for (const LocatedMeasurement& j : measurements) {
    const Coefficients k = coefficients_at(j.frequency_mhz);
    const double we = 1.0 / j.permittivity_u;
    const double ws = 1.0 / j.conductivity_u;
    m.add({0.0, we * k.k_e, we}, we * j.permittivity);
    m.add({ws * 1000.0, ws * k.k_s, 0.0}, ws * j.conductivity_ms);
  }
  return m;
}

// Along one chart: sum q d, sum q q and their slopes in t, each a
// polynomial with non-negative coefficients, so accurate at t >= 0.
struct Profile {
  Quartic qd{};             // sum q d
  Quartic qq{};             // sum q q
  Quartic qd_slope{};       // sum q' d
  Quartic qq_half_slope{};  // sum q q' (half the slope of sum q q)

  explicit Profile(const Moments& m) {
    for (std::size_t k = 0; k < 3; ++k) {
      qd[k] = m.qd[k];
      for (std::size_t l = 0; l < 3; ++l) qq[k + l] += m.qq[k][l];
    }
    qd_slope = derivative(qd);
    const Quartic qq_slope = derivative(qq);
    for (std::size_t k = 0; k < 5; ++k) qq_half_slope[k] = 0.5 * qq_slope[k];
  }
  // The best s at t: sum q d / sum q q.
  double scale(double t) const { return evaluate_polynomial(qd, t) / evaluate_polynomial(qq, t); }
  // A positive multiple of d chi^2 / dt: by the envelope theorem the slope
  // is 2 s sum q' (s q - d), here times sum q q / s.
  double slope(double t) const {
    return evaluate_polynomial(qd, t) * evaluate_polynomial(qq_half_slope, t) -
           evaluate_polynomial(qd_slope, t) * evaluate_polynomial(qq, t);
  }
  // The same slope as one polynomial, whose coefficients place the
  // turning points (the fifth-degree terms cancel exactly).
  Quartic slope_polynomial() const {
    Quartic p{};
    for (std::size_t i = 0; i < 5; ++i) {
      for (std::size_t j = 0; i + j < 5; ++j) {
        p[i + j] += qd[i] * qq_half_slope[j] - qd_slope[i] * qq[j];
      }
    }
    return p;
  }
};

bool finite(const Moments& m) {
  double sum = m.dd;
  for (std::size_t k = 0; k < 3; ++k) {
    sum += m.qd[k];
    for (std::size_t l = 0; l < 3; ++l) sum += m.qq[k][l];
  }
  return std::isfinite(sum);
}

double chi_square_of(std::span<const LocatedMeasurement> measurements,
                     const MessierParameters& model) {
  double sum = 0.0;
  for (const LocatedMeasurement& j : measurements) {
    const GroundValues v = messier_values(model, j.frequency_mhz);
    const double re = (v.permittivity - j.permittivity) / j.permittivity_u;
    const double rs = (v.conductivity_ms - j.conductivity_ms) / j.conductivity_u;
    sum += re * re + rs * rs;
  }
  return sum;
}

// chi^2 on the two edges: e = 0 (only the conductivity's a^2 term left)
// and x = 0 (only the permittivity's b^2 term), each with its best scale.
struct Edges {
  double zero_permittivity = 0.0;
  double zero_conductivity = 0.0;
};

Edges edges_of(std::span<const LocatedMeasurement> measurements, const Moments& m) {
  const double x = m.qd[0] / m.qq[0][0];
  const double e = m.qd[2] / m.qq[2][2];
  Edges edges;
  for (const LocatedMeasurement& j : measurements) {
    const double re = j.permittivity / j.permittivity_u;
    const double rs = (1000.0 * x - j.conductivity_ms) / j.conductivity_u;
    const double ue = (e - j.permittivity) / j.permittivity_u;
    const double us = j.conductivity_ms / j.conductivity_u;
    edges.zero_permittivity += re * re + rs * rs;
    edges.zero_conductivity += ue * ue + us * us;
  }
  return edges;
}

// The local minima of chi^2 along one chart, t in (0, 2] (the two charts
// overlap around t = 1, so that a minimum there is seen by one of them);
// `flipped` says the chart is t = a / b.  Each is written into `best` where it is lower.
void search_chart(std::span<const LocatedMeasurement> measurements, const Moments& m, bool flipped,
                  MessierParameters& best, double& best_chi_square) {
  const Profile profile(m);
  const SignChanges changes = sign_changes(profile.slope_polynomial(), 0.0, 2.0,
                                           [&profile](double t) { return profile.slope(t); });
  for (std::size_t i = 0; i < changes.count; ++i) {
    const SignChange& change = changes.items[i];
    if (!change.rising) continue;  // chi^2 falling, then rising: a minimum
    const double t = std::fabs(profile.slope(change.low)) <= std::fabs(profile.slope(change.high))
                         ? change.low
                         : change.high;
    if (!(t > 0.0)) continue;  // the edge itself
    const double s = profile.scale(t);
    const MessierParameters candidate =
        flipped ? MessierParameters{t * t * s, s} : MessierParameters{s, t * t * s};
    const double chi_square = chi_square_of(measurements, candidate);
    if (chi_square < best_chi_square) {
      best = candidate;
      best_chi_square = chi_square;
    }
  }
}

// C = (J^T J)^-1 from J = QR by Gram-Schmidt over the two columns (so
// without squaring J's condition number).
JointCovariance covariance_of(std::span<const LocatedMeasurement> measurements,
                              const MessierParameters& model) {
  double xx = 0.0;
  double xe = 0.0;
  for (const LocatedMeasurement& j : measurements) {
    const MessierGradients g = messier_gradients(model, j.frequency_mhz);
    const double we = 1.0 / j.permittivity_u;
    const double ws = 1.0 / j.conductivity_u;
    xx += we * g.permittivity_x * we * g.permittivity_x +
          ws * g.conductivity_x * ws * g.conductivity_x;
    xe += we * g.permittivity_x * we * g.permittivity_e +
          ws * g.conductivity_x * ws * g.conductivity_e;
  }
  const double r11 = std::sqrt(xx);
  const double projection = xe / xx;  // of the e column on the x column
  double rest = 0.0;
  for (const LocatedMeasurement& j : measurements) {
    const MessierGradients g = messier_gradients(model, j.frequency_mhz);
    const double we = 1.0 / j.permittivity_u;
    const double ws = 1.0 / j.conductivity_u;
    const double pe = we * (g.permittivity_e - projection * g.permittivity_x);
    const double ps = ws * (g.conductivity_e - projection * g.conductivity_x);
    rest += pe * pe + ps * ps;
  }
  const double r12 = xe / r11;
  const double r22 = std::sqrt(rest);
  JointCovariance c;
  c.present = r11 > 0.0 && r22 > 0.0 && std::isfinite(r11) && std::isfinite(r22);
  if (!c.present) return c;
  const double ratio = r12 / r22;
  c.xx = (1.0 + ratio * ratio) / (r11 * r11);
  c.xe = -ratio / (r11 * r22);
  c.ee = 1.0 / (r22 * r22);
  return c;
}

}  // namespace

JointFit fit_joint(std::span<const LocatedMeasurement> measurements, bool weighted) {
  JointFit fit;
  if (measurements.empty()) return fit;
  fit.degrees_of_freedom = static_cast<int>(2 * measurements.size() - 2);
  if (measurements.size() == 1) {
    fit.outcome = JointOutcome::fitted;
    fit.model = messier_exact(measurements[0].frequency_mhz, measurements[0].permittivity,
                              measurements[0].conductivity_ms);
    return fit;
  }
  const Moments m = moments_of(measurements);
  if (!finite(m)) {
    fit.outcome = JointOutcome::out_of_range;
    return fit;
  }
  double best_chi_square = INFINITY;
  MessierParameters best;
  search_chart(measurements, m, false, best, best_chi_square);
  search_chart(measurements, m.reversed(), true, best, best_chi_square);
  const Edges edges = edges_of(measurements, m);
  if (!std::isfinite(edges.zero_permittivity) || !std::isfinite(edges.zero_conductivity)) {
    fit.outcome = JointOutcome::out_of_range;
    return fit;
  }
  // A minimum inside must lie strictly below both edges; otherwise the
  // infimum is on an edge, and no model with x > 0, e > 0 attains it.
  if (!(best_chi_square < edges.zero_permittivity && best_chi_square < edges.zero_conductivity)) {
    fit.outcome = edges.zero_permittivity <= edges.zero_conductivity
                      ? JointOutcome::towards_zero_permittivity
                      : JointOutcome::towards_zero_conductivity;
    return fit;
  }
  fit.outcome = std::isfinite(best.base_conductivity) && std::isfinite(best.base_permittivity)
                    ? JointOutcome::fitted
                    : JointOutcome::out_of_range;
  fit.model = best;
  fit.chi_square = best_chi_square;
  fit.covariance = covariance_of(measurements, best);
  if (!weighted && fit.covariance.present) {
    const double scale = fit.chi_square / fit.degrees_of_freedom;
    fit.covariance.xx *= scale;
    fit.covariance.xe *= scale;
    fit.covariance.ee *= scale;
  }
  return fit;
}

}  // namespace gndfit
