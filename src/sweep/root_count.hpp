// SPDX-License-Identifier: MIT
#pragma once
// How many zeros an analytic function has inside a closed polygon, by the
// argument principle: the change of its argument around the border over
// 2 pi.  The border is walked in pieces short enough that the argument
// turns by less than an eighth of a turn along each, halving a piece until
// it is, so that no turn is missed between two samples.
#include <complex>
#include <functional>
#include <optional>
#include <span>

namespace gndfit {

struct ZeroCountRule {
  // The function whose zeros are counted.
  std::function<std::complex<double>(std::complex<double>)> function;
  // The length of a piece of the border in the units where the function
  // varies at most on the scale of one, and the longest piece allowed.
  std::function<double(std::complex<double>, std::complex<double>)> length;
  double longest_piece = 0.25;
};

// The number of zeros inside `corners` (walked counter-clockwise), or
// nothing when it cannot be told: a zero on or too near the border, or a
// value that is not finite.
std::optional<int> zeros_inside(const ZeroCountRule& rule,
                                std::span<const std::complex<double>> corners);

}  // namespace gndfit
