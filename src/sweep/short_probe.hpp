// SPDX-License-Identifier: MIT
#pragma once
// A short probe (much shorter than a wavelength in the ground) is a
// capacitor: in the ground its admittance is Y = j omega C0 eps*, C0 being
// its capacitance in air.
#include <complex>
#include <vector>

#include "sweep/sweep_point.hpp"

namespace gndfit {

// eps* = Y / (j omega C0): eps_r = Im(Y) / (omega C0), and
// sigma = eps0 Re(Y) / C0 in the imaginary part.
std::complex<double> short_probe_permittivity(double frequency_mhz, std::complex<double> admittance,
                                              double c0_farads);

// The probe as the analyser sees it through its fixture: a series
// inductance L (its leads) in front of the stray capacitance Cs
// (connector, feed) beside the probe proper C0 eps*, so that
// Z = j omega L + 1 / (j omega (C0 eps* + Cs)).
struct ShortProbe {
  double c0_farads = 0.0;
  double lead_henries = 0.0;
  double stray_farads = 0.0;
};

// eps* = (Y' / (j omega) - Cs) / C0, Y' = 1 / (Z - j omega L) being the
// admittance with the leads taken away.  Without L and Cs, exactly the
// function above.
std::complex<double> short_probe_permittivity(double frequency_mhz, std::complex<double> admittance,
                                              const ShortProbe& probe);

// d eps* / dY at that point: eps* is an analytic function of Y.
std::complex<double> short_probe_slope(double frequency_mhz, std::complex<double> admittance,
                                       const ShortProbe& probe);

// Im(Y) / omega: the capacitance a point of a sweep in air shows.
double air_capacitance_at(const SweepPoint& point);

// C0 from a sweep of the probe in air: the mean of Im(Y) / omega over its
// points, and their spread (population standard deviation over the mean).
struct AirCapacitance {
  double mean_farads = 0.0;
  double relative_spread = 0.0;
};
AirCapacitance air_capacitance(const std::vector<SweepPoint>& points);

// L and C_air together from a sweep of the probe in air, where
// Im Z = omega L - 1 / (omega C_air): weighted least squares on Im Z, each
// point's residual divided by |Z| there so that every frequency counts
// alike (Re Z is ignored).  `relative_spread`: the root mean square of
// those divided residuals.  A sweep of one point gives L = 0.
struct AirFit {
  double lead_henries = 0.0;
  double capacitance_farads = 0.0;  // C_air = C0 + Cs; <= 0 when none fits
  double relative_spread = 0.0;
};
AirFit fit_air_sweep(const std::vector<SweepPoint>& points);

}  // namespace gndfit
