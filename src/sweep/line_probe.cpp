// SPDX-License-Identifier: MIT
#include "sweep/line_probe.hpp"

#include <cmath>
#include <numbers>

#include "sweep/complex_quotient.hpp"
#include "sweep/ground_point.hpp"
#include "sweep/portable_math.hpp"

namespace gndfit {
namespace {

using Complex = std::complex<double>;

// theta sin(theta) - A cos(theta): theta tan(theta) - A without the
// poles of the tangent, so that Newton's steps never meet one.
struct Residual {
  Complex a;
  Complex value(Complex theta) const {
    return theta * portable::sin(theta) - a * portable::cos(theta);
  }
  Complex slope(Complex theta) const {
    return portable::sin(theta) + theta * portable::cos(theta) + a * portable::sin(theta);
  }
  // The size of the terms, against which the residual counts as zero.
  double scale(Complex theta) const {
    return portable::abs(theta * portable::sin(theta)) + portable::abs(a * portable::cos(theta));
  }
};

constexpr int kMaxSteps = 200;
constexpr int kMaxHalvings = 60;
constexpr double kStepTolerance = 1e-14;
constexpr double kResidualTolerance = 1e-10;

}  // namespace

double line_short_capacitance(const LineProbe& probe) {
  return probe.length_m / (probe.z0_ohms * kSpeedOfLight);
}

double line_air_length(const LineProbe& probe, double frequency_mhz) {
  return angular_frequency(frequency_mhz) * probe.length_m / kSpeedOfLight;
}

Complex line_residual(const LineProbe& probe, double frequency_mhz, Complex admittance,
                      Complex theta) {
  const double k0l = line_air_length(probe, frequency_mhz);
  return Residual{Complex(0.0, -1.0) * probe.z0_ohms * k0l * admittance}.value(theta);
}

Complex line_probe_slope(const LineProbe& probe, double frequency_mhz, Complex admittance,
                         Complex permittivity) {
  const double k0l = line_air_length(probe, frequency_mhz);
  const Residual h{Complex(0.0, -1.0) * probe.z0_ohms * k0l * admittance};
  const Complex theta = k0l * portable::sqrt(permittivity);
  const Complex dtheta_da = quotient(portable::cos(theta), h.slope(theta));
  return (2.0 * theta / (k0l * k0l)) * dtheta_da * Complex(0.0, -probe.z0_ohms * k0l);
}

LineSolution solve_line_probe(const LineProbe& probe, double frequency_mhz, Complex admittance,
                              Complex start) {
  const double k0l = line_air_length(probe, frequency_mhz);
  const Residual h{Complex(0.0, -1.0) * probe.z0_ohms * k0l * admittance};
  Complex theta = k0l * portable::sqrt(start);
  LineSolution solution;
  for (int step = 0; step < kMaxSteps; ++step) {
    const Complex value = h.value(theta);
    const Complex slope = h.slope(theta);
    if (slope == 0.0 || !std::isfinite(portable::abs(value))) break;
    const Complex full = -quotient(value, slope);
    // Damped: halve the step until the residual shrinks, so that a start
    // far from the root does not throw the search onto another branch.
    Complex next = theta + full;
    double fraction = 1.0;
    for (int i = 0; i < kMaxHalvings && !(portable::abs(h.value(next)) < portable::abs(value));
         ++i) {
      fraction /= 2.0;
      next = theta + fraction * full;
    }
    const double moved = portable::abs(next - theta);
    theta = next;
    if (moved <= kStepTolerance * portable::abs(theta)) {
      solution.converged = portable::abs(h.value(theta)) <= kResidualTolerance * h.scale(theta);
      break;
    }
  }
  if (theta.real() < 0.0) theta = -theta;  // theta tan(theta) is even: the root with Re > 0
  solution.permittivity = (theta / k0l) * (theta / k0l);  // real divisor: no quotient()
  solution.beyond_quarter_wave = theta.real() > std::numbers::pi / 2.0;
  return solution;
}

}  // namespace gndfit
