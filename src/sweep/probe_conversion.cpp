// SPDX-License-Identifier: MIT
#include "sweep/probe_conversion.hpp"

#include <algorithm>
#include <cmath>

#include "sweep/line_branch.hpp"
#include "sweep/line_probe.hpp"
#include "sweep/portable_math.hpp"
#include "sweep/short_probe.hpp"
#include "sweep/sweep_file.hpp"
#include "sweep/sweep_text.hpp"

namespace gndfit {
namespace {

// The first failure, thrown to the public boundary; a sweep's messages
// name standard input too, since a run may read the air's sweep as well.
[[noreturn]] void refuse(const std::string& source, long line, const std::string& reason) {
  throw Failure{Location{source, line}, reason, kFailureStatus, StandardInputNaming::named};
}

std::vector<SweepPoint> read_or_throw(const SweepSource& source) {
  SweepRead read = read_sweep(source.text);
  if (read.failed()) refuse(source.name, read.failure().where.line, read.failure().reason);
  return std::move(read.value());
}

// The probe's L and C_air (C0 = C_air, Cs = 0) fitted to its sweep in
// air, noted for the user with the fit's residual spread.
ShortProbe probe_from_air(const SweepSource& air, std::vector<std::string>& notes) {
  const std::vector<SweepPoint> points = read_or_throw(air);
  for (const SweepPoint& p : points) {
    if (!(air_capacitance_at(p) > 0.0)) {
      refuse(air.name, p.line,
             "at " + brief_number(p.frequency_mhz) +
                 " MHz the probe in air is not a capacitance (Im(Y) is not positive): is this "
                 "the sweep of the probe in air?");
    }
  }
  const AirFit fit = fit_air_sweep(points);
  if (!(fit.capacitance_farads > 0.0) || !std::isfinite(fit.lead_henries)) {
    refuse(air.name, 0,
           source_name(air.name) +
               ": no positive capacitance behind a series inductance fits the sweep in air: is "
               "this the sweep of the probe in air?");
  }
  // A spread at the level of double rounding says only that the readings
  // agree to their last digits: below 1e-12 it is given as that bound.
  const std::string spread = fit.relative_spread < 1e-12
                                 ? "below 1e-10 %"
                                 : brief_number(fit.relative_spread * 100.0) + " %";
  notes.push_back("C0 from " + source_name(air.name) + ": " +
                  brief_number(fit.capacitance_farads * 1e12) +
                  " pF behind L = " + brief_number(fit.lead_henries * 1e9) +
                  " nH, fitted to Im(Z) with a residual spread of " + spread + " of |Z| over " +
                  std::to_string(points.size()) + " points");
  return {fit.capacitance_farads, fit.lead_henries, 0.0};
}

// C0 and Cs apart, from the sweep in a liquid of known permittivity ER
// behind the leads fitted in air: C_liq = the mean of Im(Y') / omega,
// C0 = (C_liq - C_air) / (ER - 1), Cs = C_air - C0.
ShortProbe probe_from_liquid(const ShortProbe& in_air, const SweepSource& air,
                             const SweepSource& liquid, double liquid_permittivity,
                             std::vector<std::string>& notes) {
  const std::vector<SweepPoint> points = read_or_throw(liquid);
  const ShortProbe leads_only{1.0, in_air.lead_henries, 0.0};
  double sum = 0.0;
  for (const SweepPoint& p : points) {
    // With C0 = 1 F and Cs = 0, Re(eps*) is Im(Y') / omega itself.
    sum += short_probe_permittivity(p.frequency_mhz, p.admittance, leads_only).real();
  }
  const double c_liquid = sum / static_cast<double>(points.size());
  const double c_air = in_air.c0_farads;
  const double c0 = (c_liquid - c_air) / (liquid_permittivity - 1.0);
  const double stray = c_air - c0;
  const std::string files = source_name(air.name) + " and " + source_name(liquid.name);
  // The same capacitance in both to within rounding (the air's sweep given
  // twice, say) would leave C0 as the rounding of their difference, a tiny
  // positive number that makes every ground absurd: no liquid shows it.
  if (std::abs(c_liquid - c_air) <= 1e-9 * c_air) {
    refuse(liquid.name, 0,
           files + " give the same capacitance, " + brief_number(c_air * 1e12) +
               " pF: is the second the sweep of the probe in the liquid?");
  }
  if (!(c0 > 0.0) || !(stray >= -0.01 * c_air)) {
    refuse(liquid.name, 0,
           files + " give C0 = " + brief_number(c0 * 1e12) +
               " pF and Cs = " + brief_number(stray * 1e12) +
               " pF: C0 must be positive and Cs not below -1 % of C_air; are they the sweeps of "
               "the same probe in air and in the liquid, and is liquid_er its permittivity?");
  }
  notes.push_back("C0 and Cs from " + files + ": C0 = " + brief_number(c0 * 1e12) +
                  " pF, Cs = " + brief_number(stray * 1e12) + " pF (in the liquid " +
                  brief_number(c_liquid * 1e12) + " pF over " + std::to_string(points.size()) +
                  " points)");
  return {c0, in_air.lead_henries, stray};
}

// A converted point must be a ground gndfit can fit: both values positive.
void check_positive(const LocatedMeasurement& p, const std::string& what_to_check) {
  const auto refuse_value = [&](const std::string& quantity, double value) {
    refuse(p.where.source, p.where.line,
           "at " + brief_number(p.frequency_mhz) + " MHz the " + quantity + " comes out at " +
               brief_number(value) + ", not positive: " + what_to_check);
  };
  if (!(p.permittivity > 0.0) || !std::isfinite(p.permittivity)) {
    refuse_value("permittivity", p.permittivity);
  }
  if (!(p.conductivity_ms > 0.0) || !std::isfinite(p.conductivity_ms)) {
    refuse_value("conductivity (mS/m)", p.conductivity_ms);
  }
}

LocatedMeasurement located_point(const SweepSource& source, const SweepPoint& p,
                                 std::complex<double> permittivity) {
  LocatedMeasurement g = ground_point(p.frequency_mhz, permittivity);
  g.where = {source.name, p.line};
  return g;
}

// A point's standard uncertainties from the analyser's u_gamma (none when
// 0), by linear propagation.  eps* is an analytic function of Gamma, so
// Re(Gamma) and Im(Gamma), independent with the same u, give eps_r and
// Im(eps*) the one standard uncertainty u |d eps* / d Gamma|, uncorrelated;
// sigma = -omega eps0 Im(eps*).  Gamma = (1 - R Y) / (1 + R Y), so
// dY / d Gamma = -(1 + R Y)^2 / (2 R).
void add_uncertainties(LocatedMeasurement& g, const SweepPoint& p, std::complex<double> slope,
                       double u_gamma) {
  if (!(u_gamma > 0.0)) return;
  const double r = p.reference_ohms;
  const std::complex<double> one_plus = 1.0 + r * p.admittance;
  const std::complex<double> dy_dgamma = -(one_plus * one_plus) / (2.0 * r);
  const double u = u_gamma * portable::abs(slope * dy_dgamma);
  g.permittivity_u = u;
  g.conductivity_u = u * angular_frequency(p.frequency_mhz) * kVacuumPermittivity * 1000.0;
}

void convert_short(const SweepSource& source, const ShortProbe& probe, double u_gamma,
                   std::vector<LocatedMeasurement>& out) {
  for (const SweepPoint& p : read_or_throw(source)) {
    LocatedMeasurement g =
        located_point(source, p, short_probe_permittivity(p.frequency_mhz, p.admittance, probe));
    add_uncertainties(g, p, short_probe_slope(p.frequency_mhz, p.admittance, probe), u_gamma);
    check_positive(g,
                   "check C0 (c0= or the sweep in air) and that the analyser was calibrated "
                   "at the probe's terminals");
    out.push_back(g);
  }
}

// Some points of a sweep for a message: one range when they follow each
// other in the sweep, else each frequency.
std::string points_text(const std::vector<SweepPoint>& points,
                        const std::vector<std::size_t>& which) {
  if (which.back() - which.front() + 1 == which.size()) {
    return frequency_range_text(points[which.front()].frequency_mhz,
                                points[which.back()].frequency_mhz, which.size());
  }
  std::string text = "at ";
  for (std::size_t k = 0; k < which.size(); ++k) {
    if (k > 0) text += k + 1 == which.size() ? " and " : ", ";
    text += brief_number(points[which[k]].frequency_mhz);
  }
  return text + " MHz (" + std::to_string(which.size()) + " points)";
}

// A file's left-out point: its index in the sweep and why.
struct LeftOutIndex {
  std::size_t index;
  LeftOutReason reason;
};

// The one line that names a file's left-out points, why, and what would
// measure them; empty when none is left out.
std::string left_out_warning(const std::string& name, const std::vector<SweepPoint>& points,
                             const std::vector<LeftOutIndex>& left_out) {
  const struct {
    LeftOutReason reason;
    const char* why;
  } kinds[] = {
      {LeftOutReason::no_ground,
       ", where no admitted ground (relative permittivity 1 to 100, conductivity 0 to 200 mS/m) "
       "gives the impedance"},
      {LeftOutReason::ambiguous,
       ", where more than one admitted ground gives the impedance (the line is already long in "
       "the ground at the sweep's start): a lower start frequency or a shorter line would "
       "measure them"},
      {LeftOutReason::not_positive,
       ", where the ground on the branch has a permittivity or conductivity that is not "
       "positive (the measurement's noise?)"},
      {LeftOutReason::not_followed,
       ", where the solution could not be followed from the frequency below with no other "
       "ground near it: a shorter line (or more points between) would measure them"},
  };
  std::string text;
  for (const auto& kind : kinds) {
    std::vector<std::size_t> which;
    for (const LeftOutIndex& p : left_out) {
      if (p.reason == kind.reason) which.push_back(p.index);
    }
    if (which.empty()) continue;
    text += (text.empty() ? "" : "; and ") + points_text(points, which) + kind.why;
  }
  return text.empty() ? text : "warning: " + source_name(name) + ": left out " + text;
}

// The reason a point off the branch is left out.
LeftOutReason reason_of(LinePointFate fate) {
  switch (fate) {
    case LinePointFate::no_ground:
      return LeftOutReason::no_ground;
    case LinePointFate::not_followed:
      return LeftOutReason::not_followed;
    default:
      return LeftOutReason::ambiguous;
  }
}

// No point of a sweep remains: where its lowest point fits no ground at
// all, the probe's settings are wrong, and that point's ground says how.
[[noreturn]] void refuse_empty_line_sweep(const SweepSource& source, const LineProbe& probe,
                                          const std::vector<SweepPoint>& points,
                                          const std::vector<LineBranchPoint>& fates,
                                          const std::string& what_to_check) {
  const SweepPoint& lowest = points.front();
  if (fates.front().fate == LinePointFate::printed) {
    check_positive(located_point(source, lowest, fates.front().permittivity), what_to_check);
  }
  if (admitted_line_solutions(probe, lowest.frequency_mhz, lowest.admittance) == 0) {
    const LineSolution s =
        solve_line_probe(probe, lowest.frequency_mhz, lowest.admittance,
                         short_probe_permittivity(lowest.frequency_mhz, lowest.admittance,
                                                  line_short_capacitance(probe)));
    if (!s.converged) {
      refuse(source.name, lowest.line,
             "at " + brief_number(lowest.frequency_mhz) +
                 " MHz no ground gives this impedance on the line: " + what_to_check);
    }
    check_positive(located_point(source, lowest, s.permittivity), what_to_check);
  }
  const bool no_ground_anywhere =
      std::all_of(fates.begin(), fates.end(),
                  [](const LineBranchPoint& p) { return p.fate == LinePointFate::no_ground; });
  if (no_ground_anywhere) {
    refuse(source.name, 0,
           source_name(source.name) +
               ": no point of the sweep is left: at none of its frequencies does an admitted "
               "ground (relative permittivity 1 to 100, conductivity 0 to 200 mS/m) give the "
               "impedance: " +
               what_to_check);
  }
  refuse(source.name, 0,
         source_name(source.name) +
             ": no point of the sweep is left: at none of its frequencies can the ground be told "
             "for certain (the line is too long in the ground, or the sweep starts too high); a "
             "lower start frequency or a shorter line would measure it");
}

// The points on the branch continuous from low frequency (line_branch),
// the others named in one warning, and one note from where the line is
// longer than a quarter wavelength in the ground.
void convert_line(const SweepSource& source, const LineProbe& probe, double u_gamma,
                  std::vector<LocatedMeasurement>& out, std::vector<std::string>& notes,
                  std::vector<LeftOutPoint>* left_out_out) {
  const std::vector<SweepPoint> points = read_or_throw(source);
  const std::string what_to_check =
      "check the probe's length and z0 and that the analyser was calibrated at its terminals";
  const std::vector<LineBranchPoint> fates = follow_line_branch(probe, points);
  std::vector<LocatedMeasurement> printed;
  std::vector<std::size_t> beyond_quarter_wave;  // of the points written
  std::vector<LeftOutIndex> left_out;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (fates[i].fate != LinePointFate::printed) {
      left_out.push_back({i, reason_of(fates[i].fate)});
      continue;
    }
    LocatedMeasurement g = located_point(source, points[i], fates[i].permittivity);
    add_uncertainties(g, points[i],
                      line_probe_slope(probe, points[i].frequency_mhz, points[i].admittance,
                                       fates[i].permittivity),
                      u_gamma);
    if (!(g.permittivity > 0.0 && g.conductivity_ms > 0.0)) {
      // On the branch, yet no ground gndfit can fit.
      left_out.push_back({i, LeftOutReason::not_positive});
      continue;
    }
    printed.push_back(g);
    if (fates[i].beyond_quarter_wave) beyond_quarter_wave.push_back(i);
  }
  if (printed.empty()) refuse_empty_line_sweep(source, probe, points, fates, what_to_check);
  // One line per kind and file, naming the frequencies it covers.
  if (!beyond_quarter_wave.empty()) {
    notes.push_back("note: " + source_name(source.name) + ": " +
                    points_text(points, beyond_quarter_wave) +
                    " the line is longer than a quarter wavelength in the ground; those points "
                    "are followed from the frequencies below");
  }
  if (const std::string warning = left_out_warning(source.name, points, left_out);
      !warning.empty()) {
    notes.push_back(warning);
  }
  if (left_out_out != nullptr) {
    for (const LeftOutIndex& p : left_out) {
      const SweepPoint& point = points[p.index];
      left_out_out->push_back({Location{source.name, point.line}, point.frequency_mhz, p.reason});
    }
  }
  out.insert(out.end(), printed.begin(), printed.end());
}

}  // namespace

const char* left_out_reason_text(LeftOutReason reason) {
  switch (reason) {
    case LeftOutReason::no_ground:
      return "no admitted ground gives the impedance";
    case LeftOutReason::ambiguous:
      return "more than one admitted ground gives the impedance";
    case LeftOutReason::not_positive:
      return "the ground is not positive";
    case LeftOutReason::not_followed:
      return "not followed from the frequency below";
  }
  return "";
}

ProbePoints convert_probe_sweeps(const ProbeSetting& setting,
                                 const std::vector<SweepSource>& sweeps, const SweepSource* air,
                                 std::vector<std::string>& notes, const SweepSource* liquid,
                                 std::vector<LeftOutPoint>* left_out) {
  std::vector<LocatedMeasurement> points;
  try {
    if (setting.kind == ProbeKind::short_probe) {
      ShortProbe probe = air != nullptr ? probe_from_air(*air, notes)
                                        : ShortProbe{setting.c0_farads, setting.lead_henries,
                                                     setting.stray_farads};
      if (air != nullptr && liquid != nullptr) {
        probe = probe_from_liquid(probe, *air, *liquid, setting.liquid_permittivity, notes);
      }
      for (const SweepSource& s : sweeps) convert_short(s, probe, setting.u_gamma, points);
    } else {
      const LineProbe probe{setting.length_m, setting.z0_ohms};
      for (const SweepSource& s : sweeps) {
        convert_line(s, probe, setting.u_gamma, points, notes, left_out);
      }
    }
  } catch (Failure& failure) {
    return std::move(failure);
  }
  return points;
}

}  // namespace gndfit
