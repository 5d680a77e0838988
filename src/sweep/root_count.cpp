// SPDX-License-Identifier: MIT
#include "sweep/root_count.hpp"

#include <cmath>
#include <numbers>
#include <vector>

namespace gndfit {
namespace {

using Complex = std::complex<double>;

constexpr double kLargestTurn = std::numbers::pi / 4.0;
constexpr int kDeepestHalving = 48;
constexpr long kMostEvaluations = 400000;

struct Sample {
  Complex at;
  Complex value;
};

// The turn of the argument from a to b, in (-pi, pi].
double turn(Complex a, Complex b) { return std::arg(b / a); }

bool usable(Complex value) {
  return std::isfinite(value.real()) && std::isfinite(value.imag()) && value != 0.0;
}

// The argument's change along one straight piece, each piece halved until
// it is short, turns by less than kLargestTurn and its two halves agree
// with it; false when that cannot be reached.
bool piece_turn(const ZeroCountRule& rule, Sample from, Sample to, double& total,
                long& evaluations) {
  struct Piece {
    Sample from, to;
    int depth;
  };
  std::vector<Piece> stack{{from, to, 0}};
  while (!stack.empty()) {
    const Piece p = stack.back();
    stack.pop_back();
    const Complex middle = 0.5 * (p.from.at + p.to.at);
    const Sample m{middle, rule.function(middle)};
    if (!usable(m.value) || ++evaluations > kMostEvaluations) return false;
    const double whole = turn(p.from.value, p.to.value);
    const double first = turn(p.from.value, m.value);
    const double second = turn(m.value, p.to.value);
    const bool fine = rule.length(p.from.at, p.to.at) <= rule.longest_piece &&
                      std::fabs(first) < kLargestTurn && std::fabs(second) < kLargestTurn &&
                      std::fabs(first + second - whole) < 1e-6;
    if (fine) {
      total += whole;
      continue;
    }
    if (p.depth >= kDeepestHalving) return false;
    // The second half first onto the stack, so the first is walked first.
    stack.push_back({m, p.to, p.depth + 1});
    stack.push_back({p.from, m, p.depth + 1});
  }
  return true;
}

}  // namespace

std::optional<int> zeros_inside(const ZeroCountRule& rule, std::span<const Complex> corners) {
  std::vector<Sample> samples;
  for (Complex c : corners) {
    samples.push_back({c, rule.function(c)});
    if (!usable(samples.back().value)) return std::nullopt;
  }
  double total = 0.0;
  long evaluations = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (!piece_turn(rule, samples[i], samples[(i + 1) % samples.size()], total, evaluations)) {
      return std::nullopt;
    }
  }
  const double windings = total / (2.0 * std::numbers::pi);
  const double whole = std::round(windings);
  if (std::fabs(windings - whole) > 0.01) return std::nullopt;
  return static_cast<int>(whole);
}

}  // namespace gndfit
