// SPDX-License-Identifier: MIT
#include "sweep/probe_conversion.hpp"

#include <cmath>

#include "sweep/line_probe.hpp"
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

// C0 from the sweep in air, its mean and spread noted for the user.
double capacitance_from_air(const SweepSource& air, std::vector<std::string>& notes) {
  const std::vector<SweepPoint> points = read_or_throw(air);
  for (const SweepPoint& p : points) {
    if (!(air_capacitance_at(p) > 0.0)) {
      refuse(air.name, p.line,
             "at " + brief_number(p.frequency_mhz) +
                 " MHz the probe in air is not a capacitance (Im(Y) is not positive): is this "
                 "the sweep of the probe in air?");
    }
  }
  const AirCapacitance c = air_capacitance(points);
  // A spread at the level of double rounding says only that the readings
  // agree to their last digits: below 1e-12 it is given as that bound.
  const std::string spread = c.relative_spread < 1e-12
                                 ? "below 1e-10 %"
                                 : brief_number(c.relative_spread * 100.0) + " %";
  notes.push_back("C0 from " + source_name(air.name) + ": " + brief_number(c.mean_farads * 1e12) +
                  " pF, spread " + spread + " over " + std::to_string(points.size()) + " points");
  return c.mean_farads;
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

void convert_short(const SweepSource& source, double c0, std::vector<LocatedMeasurement>& out) {
  for (const SweepPoint& p : read_or_throw(source)) {
    const LocatedMeasurement g =
        located_point(source, p, short_probe_permittivity(p.frequency_mhz, p.admittance, c0));
    check_positive(g,
                   "check C0 (c0= or the sweep in air) and that the analyser was calibrated "
                   "at the probe's terminals");
    out.push_back(g);
  }
}

// In increasing frequency, each solution started from the one below it,
// the lowest from the probe taken as a short one.
void convert_line(const SweepSource& source, const LineProbe& probe,
                  std::vector<LocatedMeasurement>& out, std::vector<std::string>& notes) {
  const std::vector<SweepPoint> points = read_or_throw(source);
  const std::string what_to_check =
      "check the probe's length and z0 and that the analyser was calibrated at its terminals";
  std::complex<double> start = short_probe_permittivity(
      points.front().frequency_mhz, points.front().admittance, line_short_capacitance(probe));
  for (const SweepPoint& p : points) {
    const LineSolution s = solve_line_probe(probe, p.frequency_mhz, p.admittance, start);
    if (!s.converged) {
      refuse(source.name, p.line,
             "at " + brief_number(p.frequency_mhz) +
                 " MHz no ground gives this impedance on the line: " + what_to_check);
    }
    const LocatedMeasurement g = located_point(source, p, s.permittivity);
    check_positive(g, what_to_check);
    if (s.beyond_quarter_wave) {
      notes.push_back("warning: " +
                      location_text({source.name, p.line}, StandardInputNaming::named) + ": at " +
                      brief_number(p.frequency_mhz) +
                      " MHz the line is longer than a quarter wavelength in the ground: the "
                      "solution need not be unique");
    }
    out.push_back(g);
    start = s.permittivity;
  }
}

}  // namespace

ProbePoints convert_probe_sweeps(const ProbeSetting& setting, const std::vector<SweepSource>& sweeps,
                                 const SweepSource* air, std::vector<std::string>& notes) {
  std::vector<LocatedMeasurement> points;
  try {
    if (setting.kind == ProbeKind::short_probe) {
      const double c0 = air != nullptr ? capacitance_from_air(*air, notes) : setting.c0_farads;
      for (const SweepSource& s : sweeps) convert_short(s, c0, points);
    } else {
      const LineProbe probe{setting.length_m, setting.z0_ohms};
      for (const SweepSource& s : sweeps) convert_line(s, probe, points, notes);
    }
  } catch (Failure& failure) {
    return std::move(failure);
  }
  return points;
}

}  // namespace gndfit
