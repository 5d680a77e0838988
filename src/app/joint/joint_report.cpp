// SPDX-License-Identifier: MIT
#include "app/joint/joint_report.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace gndfit {
namespace {

// A value with `digits` significant digits, right-aligned in `width`.
std::string cell(double value, int digits, int width) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*g", width, digits, value);
  return text;
}

std::string padded(const std::string& text, int width) {
  return text.size() >= static_cast<std::size_t>(width)
             ? text
             : std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string parameters(const JointSolution& s) {
  const JointCovariance& c = s.fit.covariance;
  auto sd = [&c](double variance) {
    return c.present ? "  +- " + cell(std::sqrt(variance), 2, 1) : std::string();
  };
  std::string out = "Joint fit of " + std::to_string(s.measurements.size()) +
                    (s.measurements.size() == 1 ? " measurement" : " measurements") +
                    (s.weighted ? ", weighted by their uncertainties\n" : ", unweighted\n");
  out += "  base conductivity  " + cell(s.fit.model.base_conductivity, 5, 12) + " S/m" + sd(c.xx) +
         '\n';
  out += "  base permittivity  " + cell(s.fit.model.base_permittivity, 5, 12) + "    " + sd(c.ee) +
         '\n';
  if (c.present && c.xx > 0.0 && c.ee > 0.0) {
    out += "  correlation        " + cell(c.xe / std::sqrt(c.xx * c.ee), 3, 12) + '\n';
  }
  out += "  chi-square         " + cell(s.fit.chi_square, 4, 12) + " for " +
         std::to_string(s.fit.degrees_of_freedom) + " degrees of freedom\n";
  return out;
}

// The line numbers alone when every measurement comes from one input,
// else each with its file.
bool from_several_files(const JointSolution& s) {
  for (const LocatedMeasurement& m : s.measurements) {
    if (m.where.source != s.measurements.front().where.source) return true;
  }
  return false;
}

std::string measurements(const JointSolution& s) {
  const bool several = from_several_files(s);
  std::vector<std::string> places;
  int width = 6;
  for (const LocatedMeasurement& m : s.measurements) {
    places.push_back(several ? location_text(m.where) : std::to_string(m.where.line));
    width = std::max(width, static_cast<int>(places.back().size()) + 2);
  }
  std::string out = "\nMeasurements (residual = measured - model):\n" + padded("line", width) +
                    "           MHz  permittivity      model   residual    mS/m       model   "
                    "residual\n";
  for (std::size_t i = 0; i < s.measurements.size(); ++i) {
    const LocatedMeasurement& m = s.measurements[i];
    const GroundValues& v = s.model_at_measurements[i];
    out += padded(places[i], width) + cell(m.frequency_mhz, 6, 14) + cell(m.permittivity, 5, 14) +
           cell(v.permittivity, 5, 11) + cell(m.permittivity - v.permittivity, 3, 11) +
           cell(m.conductivity_ms, 5, 8) + cell(v.conductivity_ms, 5, 12) +
           cell(m.conductivity_ms - v.conductivity_ms, 3, 11) + '\n';
  }
  return out;
}

std::string warnings(const JointSolution& s) {
  std::string out;
  for (const JointWarning& w : s.warnings) out += "\nWarning (" + w.code + "): " + w.text + '\n';
  return out;
}

std::string bands(const JointSolution& s) {
  const bool sd = s.fit.covariance.present;
  std::string out =
      "\nThe model:\n"
      "       MHz  permittivity    +-1 sd  conductivity mS/m    +-1 sd  skin depth m\n";
  for (const JointBand& b : s.bands) {
    out += cell(b.frequency_mhz, 6, 10) + cell(b.estimate.value.permittivity, 5, 14) +
           (sd ? cell(b.estimate.permittivity_sd, 2, 10) : padded("-", 10)) +
           cell(b.estimate.value.conductivity_ms, 5, 19) +
           (sd ? cell(b.estimate.conductivity_sd_ms, 2, 10) : padded("-", 10)) +
           cell(b.skin_depth_m, 4, 14) + '\n';
  }
  return out;
}

}  // namespace

std::string joint_report(const JointSolution& solution) {
  return parameters(solution) + measurements(solution) + warnings(solution) + bands(solution);
}

}  // namespace gndfit
