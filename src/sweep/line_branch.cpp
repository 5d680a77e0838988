// SPDX-License-Identifier: MIT
#include "sweep/line_branch.hpp"

#include <algorithm>
#include <array>
#include <numbers>
#include <optional>

#include "model/ground.hpp"
#include "sweep/portable_math.hpp"
#include "sweep/root_count.hpp"
#include "sweep/short_probe.hpp"

namespace gndfit {
namespace {

using Complex = std::complex<double>;

// The admitted grounds as a rectangle of eps* = eps_r - j sigma / (omega
// eps0), widened on every side: a root just outside the admitted grounds
// (a measurement's noise) is still counted as a rival, never missed.
struct EpsilonBox {
  double low_real, high_real, low_imag, high_imag;

  bool holds(Complex eps) const {
    return eps.real() >= low_real && eps.real() <= high_real && eps.imag() >= low_imag &&
           eps.imag() <= high_imag;
  }
  Complex centre() const { return {0.5 * (low_real + high_real), 0.5 * (low_imag + high_imag)}; }
  std::array<Complex, 4> corners() const {  // counter-clockwise
    return {Complex(low_real, low_imag), Complex(high_real, low_imag),
            Complex(high_real, high_imag), Complex(low_real, high_imag)};
  }
};

EpsilonBox admitted_box(double frequency_mhz) {
  const double most_loss =
      kMostAdmittedConductivity / (angular_frequency(frequency_mhz) * kVacuumPermittivity);
  return {0.5 * kLeastAdmittedPermittivity, 1.05 * kMostAdmittedPermittivity,
          -(1.05 * most_loss + 0.5), 0.5};
}

// One frequency's equation, in eps* (where the residual is an entire
// function too, theta being k0 l sqrt(eps*) and the residual even in
// theta) and in theta.
struct LinePoint {
  const LineProbe& probe;
  const SweepPoint& point;

  double k0l() const { return line_air_length(probe, point.frequency_mhz); }
  Complex theta_of(Complex eps) const { return k0l() * portable::sqrt(eps); }
  Complex residual(Complex theta) const {
    return line_residual(probe, point.frequency_mhz, point.admittance, theta);
  }
  // Zeros in eps*, pieces measured in theta: the residual turns about
  // once per pi of theta away from its zeros.
  ZeroCountRule in_epsilon() const {
    return {[this](Complex eps) { return residual(theta_of(eps)); },
            [this](Complex a, Complex b) { return portable::abs(theta_of(a) - theta_of(b)); }};
  }
  ZeroCountRule in_theta() const {
    return {[this](Complex theta) { return residual(theta); },
            [](Complex a, Complex b) { return portable::abs(a - b); }};
  }
  std::optional<int> zeros_in(const EpsilonBox& box) const {
    const std::array<Complex, 4> corners = box.corners();
    return zeros_inside(in_epsilon(), corners);
  }
  // Newton's method from `start`, kept only when it lands in `box`.
  std::optional<Complex> solve_in(const EpsilonBox& box, Complex start) const {
    const LineSolution s = solve_line_probe(probe, point.frequency_mhz, point.admittance, start);
    if (!s.converged || !box.holds(s.permittivity)) return std::nullopt;
    return s.permittivity;
  }
};

// The one zero of a box that holds exactly one: Newton's method from the
// box's centre, and where it leaves the box, the half that holds the zero,
// halved again until it lands.
std::optional<Complex> locate_only_zero(const LinePoint& at, EpsilonBox box) {
  for (int halving = 0; halving < 80; ++halving) {
    if (const std::optional<Complex> eps = at.solve_in(box, box.centre())) return eps;
    // Split across the side that is longer in theta, a little off its
    // middle on a second try in case the zero lies on the cut.
    const std::array<Complex, 4> c = box.corners();
    const bool split_real = portable::abs(at.theta_of(c[1]) - at.theta_of(c[0])) >=
                            portable::abs(at.theta_of(c[3]) - at.theta_of(c[0]));
    bool found = false;
    for (const double fraction : {0.5, 0.4637}) {
      EpsilonBox first = box, second = box;
      if (split_real) {
        first.high_real = second.low_real =
            box.low_real + fraction * (box.high_real - box.low_real);
      } else {
        first.high_imag = second.low_imag =
            box.low_imag + fraction * (box.high_imag - box.low_imag);
      }
      const std::optional<int> in_first = at.zeros_in(first);
      if (!in_first) continue;
      box = *in_first == 1 ? first : second;
      found = *in_first == 1 || at.zeros_in(second) == 1;
      break;
    }
    if (!found) return std::nullopt;
  }
  return std::nullopt;
}

// The one admitted solution of a point, when there is exactly one:
// Newton's method from `start` when it lands in the box, else searched.
std::optional<Complex> only_admitted_solution(const LinePoint& at, Complex start) {
  const EpsilonBox box = admitted_box(at.point.frequency_mhz);
  if (at.zeros_in(box) != 1) return std::nullopt;
  if (const std::optional<Complex> eps = at.solve_in(box, start)) return eps;
  return locate_only_zero(at, box);
}

// A point's solution on the branch, from the previous point's solution
// `previous` (eps*), or nothing where the branch cannot be followed.
//
// When is a step small enough that no other branch is near?  Newton's
// method from the previous solution, carried to this frequency (theta
// predicted as k0 l sqrt(previous eps*)), finds a root theta at a distance
// `step` from the prediction.  That root is the branch's continuation when
// no other root lies within 3 step of it (and never closer than 0.1 in
// theta, neighbouring branches lying about pi apart): the prediction is
// then at least twice as near to it as to any other root, so the search
// cannot have crossed to another branch, and two branches about to meet
// are not followed.  The zeros are counted in that square of theta by the
// argument principle.  Failing that, a point with exactly one admitted
// solution is on the branch all the same, the true ground being admitted.
std::optional<Complex> continued_solution(const LinePoint& at, Complex previous) {
  const EpsilonBox box = admitted_box(at.point.frequency_mhz);
  if (const std::optional<Complex> eps = at.solve_in(box, previous)) {
    const Complex theta = at.theta_of(*eps);
    const double step = portable::abs(theta - at.theta_of(previous));
    const double reach = std::max(3.0 * step, 0.1);
    // Only where the square stays on the side Re(theta) > 0: the root
    // -theta of the even residual is the same ground.
    if (reach < 0.9 * theta.real()) {
      const std::array<Complex, 4> square = {
          theta + reach * Complex(-1.0, -1.0), theta + reach * Complex(1.0, -1.0),
          theta + reach * Complex(1.0, 1.0), theta + reach * Complex(-1.0, 1.0)};
      if (zeros_inside(at.in_theta(), square) == 1) return eps;
    }
  }
  return only_admitted_solution(at, previous);
}

}  // namespace

int admitted_line_solutions(const LineProbe& probe, double frequency_mhz, Complex admittance) {
  const SweepPoint point{frequency_mhz, admittance, 0};
  const std::optional<int> count = LinePoint{probe, point}.zeros_in(admitted_box(frequency_mhz));
  return count.value_or(-1);
}

std::vector<LineBranchPoint> follow_line_branch(const LineProbe& probe,
                                                const std::vector<SweepPoint>& points) {
  std::vector<LineBranchPoint> fates(points.size());
  std::optional<Complex> previous;  // the branch's solution at the point below
  bool lost = false;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const LinePoint at{probe, points[i]};
    if (lost) {
      fates[i].fate = LinePointFate::not_followed;
      continue;
    }
    // The first solution searched from the probe taken as a short one.
    const std::optional<Complex> eps =
        previous ? continued_solution(at, *previous)
                 : only_admitted_solution(
                       at, short_probe_permittivity(points[i].frequency_mhz, points[i].admittance,
                                                    line_short_capacitance(probe)));
    if (!eps) {
      if (previous) {
        fates[i].fate = LinePointFate::not_followed;
      } else {
        const EpsilonBox box = admitted_box(points[i].frequency_mhz);
        fates[i].fate = at.zeros_in(box) == 0 ? LinePointFate::no_ground : LinePointFate::ambiguous;
      }
      lost = previous.has_value();
      continue;
    }
    fates[i].fate = LinePointFate::printed;
    fates[i].permittivity = *eps;
    fates[i].beyond_quarter_wave = at.theta_of(*eps).real() > std::numbers::pi / 2.0;
    previous = eps;
  }
  return fates;
}

}  // namespace gndfit
