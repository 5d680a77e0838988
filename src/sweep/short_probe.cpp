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

}  // namespace gndfit
