// SPDX-License-Identifier: MIT
#include "sweep/short_probe.hpp"

#include <cmath>

#include "sweep/complex_quotient.hpp"
#include "sweep/ground_point.hpp"

namespace gndfit {

std::complex<double> short_probe_permittivity(double frequency_mhz, std::complex<double> admittance,
                                              double c0_farads) {
  const double omega_c0 = angular_frequency(frequency_mhz) * c0_farads;
  return {admittance.imag() / omega_c0, -admittance.real() / omega_c0};
}

std::complex<double> short_probe_permittivity(double frequency_mhz, std::complex<double> admittance,
                                              const ShortProbe& probe) {
  if (probe.lead_henries == 0.0 && probe.stray_farads == 0.0) {
    return short_probe_permittivity(frequency_mhz, admittance, probe.c0_farads);
  }
  const double omega = angular_frequency(frequency_mhz);
  // Y' = Y / (1 - j omega L Y)
  const std::complex<double> series =
      std::complex<double>(0.0, omega * probe.lead_henries) * admittance;
  const std::complex<double> inner = quotient(admittance, 1.0 - series);
  const double omega_c0 = omega * probe.c0_farads;
  return {(inner.imag() / omega - probe.stray_farads) / probe.c0_farads, -inner.real() / omega_c0};
}

std::complex<double> short_probe_slope(double frequency_mhz, std::complex<double> admittance,
                                       const ShortProbe& probe) {
  // eps* = (Y / (1 - j omega L Y) / (j omega) - Cs) / C0
  const double omega = angular_frequency(frequency_mhz);
  const std::complex<double> rest =
      1.0 - std::complex<double>(0.0, omega * probe.lead_henries) * admittance;
  return quotient(1.0, rest * rest * std::complex<double>(0.0, omega * probe.c0_farads));
}

double air_capacitance_at(const SweepPoint& point) {
  return point.admittance.imag() / angular_frequency(point.frequency_mhz);
}

AirCapacitance air_capacitance(const std::vector<SweepPoint>& points) {
  AirCapacitance c;
  if (points.empty()) return c;
  double sum = 0.0;
  for (const SweepPoint& p : points) sum += air_capacitance_at(p);
  c.mean_farads = sum / static_cast<double>(points.size());
  double squares = 0.0;
  for (const SweepPoint& p : points) {
    const double d = air_capacitance_at(p) - c.mean_farads;
    squares += d * d;
  }
  c.relative_spread = std::sqrt(squares / static_cast<double>(points.size())) / c.mean_farads;
  return c;
}

namespace {

double dot(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * b[i];
  return sum;
}

// a -= factor b
void subtract(std::vector<double>& a, double factor, const std::vector<double>& b) {
  for (std::size_t i = 0; i < a.size(); ++i) a[i] -= factor * b[i];
}

}  // namespace

AirFit fit_air_sweep(const std::vector<SweepPoint>& points) {
  AirFit fit;
  if (points.size() == 1) {
    fit.capacitance_farads = air_capacitance_at(points.front());
    return fit;
  }
  // The weighted rows [omega / |Z|, -1 / (omega |Z|)] x [L, 1 / C_air] =
  // Im Z / |Z|, solved by a QR of the two columns (Gram-Schmidt, the
  // second column orthogonalised twice), not by normal equations, which
  // would square their condition.
  std::vector<double> q1, q2, b;
  for (const SweepPoint& p : points) {
    const double omega = angular_frequency(p.frequency_mhz);
    const std::complex<double> z = quotient(1.0, p.admittance);
    const double weight = 1.0 / std::abs(z);
    q1.push_back(omega * weight);
    q2.push_back(-weight / omega);
    b.push_back(z.imag() * weight);
  }
  const double r11 = std::sqrt(dot(q1, q1));
  for (double& v : q1) v /= r11;
  double r12 = dot(q1, q2);
  subtract(q2, r12, q1);
  const double again = dot(q1, q2);
  subtract(q2, again, q1);
  r12 += again;
  const double r22 = std::sqrt(dot(q2, q2));
  for (double& v : q2) v /= r22;
  const double inverse_c = dot(q2, b) / r22;
  fit.lead_henries = (dot(q1, b) - r12 * inverse_c) / r11;
  fit.capacitance_farads = 1.0 / inverse_c;
  double squares = 0.0;
  for (const SweepPoint& p : points) {
    const double omega = angular_frequency(p.frequency_mhz);
    const std::complex<double> z = quotient(1.0, p.admittance);
    const double r = (omega * fit.lead_henries - inverse_c / omega - z.imag()) / std::abs(z);
    squares += r * r;
  }
  fit.relative_spread = std::sqrt(squares / static_cast<double>(points.size()));
  return fit;
}

}  // namespace gndfit
