// SPDX-License-Identifier: MIT
#pragma once
// A line probe: an open-circuited line of length l whose characteristic
// impedance in air is Z0, pushed into the ground.  There its input
// impedance is Zin = Zc coth(gamma l), Zc = Z0 / sqrt(eps*) and
// gamma = j omega sqrt(eps*) / c.  With theta = omega l sqrt(eps*) / c,
// the electrical length in the ground, that is theta tan(theta) = A with
// A = -j Z0 (omega l / c) Y, solved here for theta by Newton's method.
#include <complex>

namespace gndfit {

struct LineProbe {
  double length_m = 0.0;
  double z0_ohms = 0.0;
};

// The air capacitance of the line when it is short: l / (Z0 c).
double line_short_capacitance(const LineProbe& probe);

struct LineSolution {
  std::complex<double> permittivity;  // eps*
  bool converged = false;
  // Re(theta) > pi/2: longer than a quarter wavelength in the ground,
  // where other solutions lie close and the one found need not be it.
  bool beyond_quarter_wave = false;
};

// k0 l: the line's electrical length in air at this frequency.
double line_air_length(const LineProbe& probe, double frequency_mhz);

// theta sin(theta) - A cos(theta), zero where theta = k0 l sqrt(eps*) is
// a solution for `admittance`: an entire function of theta, even in it.
std::complex<double> line_residual(const LineProbe& probe, double frequency_mhz,
                                   std::complex<double> admittance, std::complex<double> theta);

// d eps* / dY at the solution eps*: from theta sin(theta) = A cos(theta),
// d theta / dA = cos(theta) / (the residual's slope), dA / dY = -j Z0 k0 l
// and d eps* / d theta = 2 theta / (k0 l)^2.
std::complex<double> line_probe_slope(const LineProbe& probe, double frequency_mhz,
                                      std::complex<double> admittance,
                                      std::complex<double> permittivity);

// The eps* that gives `admittance` at this frequency, searched from
// `start` (the solution at the frequency below, or the short-probe value).
LineSolution solve_line_probe(const LineProbe& probe, double frequency_mhz,
                              std::complex<double> admittance, std::complex<double> start);

}  // namespace gndfit
