// SPDX-License-Identifier: MIT
#pragma once
// The chi-square distribution: its distribution function and quantiles,
// for judging whether a least-squares fit's chi-square is plausible.

namespace gndfit {

// P(X <= x) for X chi-square distributed with `degrees` degrees of
// freedom (degrees >= 1, x >= 0).
double chi_square_cdf(double x, int degrees);

// The x with chi_square_cdf(x, degrees) == probability, 0 < probability < 1.
double chi_square_quantile(double probability, int degrees);

}  // namespace gndfit
