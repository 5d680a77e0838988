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

std::string text_of(std::string_view view) { return std::string(view); }

std::string right_padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// One line a parameter, its value with 5 digits and its sd, or why it has
// none; the labels and units aligned.
std::string parameter_lines(const ModelFit& fit) {
  const auto parameters = fit.model->parameters();
  std::size_t label_width = 0;
  std::size_t unit_width = 3;
  for (const ModelParameter& p : parameters) {
    label_width = std::max(label_width, p.label.size() + 2);
    unit_width = std::max(unit_width, p.unit.size());
  }
  std::string out;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    out += "  " + right_padded(text_of(parameters[i].label), label_width) +
           cell(fit.parameters[i], 5, 12) + ' ' +
           right_padded(text_of(parameters[i].unit), unit_width);
    if (fit.has_sd(i)) {
      out += "  +- " + cell(std::sqrt(fit.covariance[i][i]), 2, 1);
    } else if (fit.states[i] == ParameterState::at_bound) {
      out += "  (at its bound)";
    } else if (fit.states[i] == ParameterState::undetermined) {
      out += "  (undetermined)";
    }
    out += '\n';
  }
  return out;
}

std::string parameters(const JointSolution& s) {
  const ModelFit& fit = s.fit;
  const std::string count = std::to_string(s.measurements.size()) +
                            (s.measurements.size() == 1 ? " measurement" : " measurements");
  std::string out = model_name(fit) == "messier"
                        ? "Joint fit of " + count
                        : "Joint fit of the " + text_of(model_name(fit)) + " model to " + count;
  out += s.weighted ? ", weighted by their uncertainties\n" : ", unweighted\n";
  out += parameter_lines(fit);
  const SmallMatrix& c = fit.covariance;
  if (fit.parameters.size() == 2 && fit.has_sd(0) && fit.has_sd(1) && c[0][0] > 0.0 &&
      c[1][1] > 0.0) {
    out += "  correlation        " + cell(c[0][1] / std::sqrt(c[0][0] * c[1][1]), 3, 12) + '\n';
  }
  out += "  chi-square         " + cell(fit.chi_square, 4, 12) + " for " +
         std::to_string(fit.degrees_of_freedom) + " degrees of freedom\n";
  return out;
}

// With compare: each model's chi-square, AICc and weight, and which was
// chosen by how much.
std::string comparison(const JointSolution& s) {
  if (!s.compared) return {};
  std::string out = "Models compared by AICc (" + std::to_string(2 * s.measurements.size()) +
                    " values; lower is better):\n"
                    "  model             k  chi-square    dof        AICc  Akaike weight\n";
  for (const ComparedSolution& m : s.models) {
    const ModelFit& fit = m.compared.fit;
    out += "  " + right_padded(text_of(model_name(fit)), 16) +
           cell(static_cast<double>(fit.model->parameters().size()), 2, 2);
    if (fit.status != ModelFitStatus::fitted) {
      out += "  no fit\n";
      continue;
    }
    out += cell(fit.chi_square, 5, 12) + cell(fit.degrees_of_freedom, 6, 7);
    out += m.compared.aicc ? cell(*m.compared.aicc, 6, 12) + cell(*m.compared.akaike_weight, 3, 15)
                           : padded("-", 12) + padded("-", 15);
    out += '\n';
  }
  const ComparedSolution& chosen = s.models[s.chosen];
  out += "Chosen: " + text_of(model_name(chosen.compared.fit));
  // The runner-up: the next lowest AICc.
  const ComparedSolution* next = nullptr;
  for (const ComparedSolution& m : s.models) {
    if (&m == &chosen || !m.compared.aicc) continue;
    if (!next || *m.compared.aicc < *next->compared.aicc) next = &m;
  }
  if (next) {
    out += ", its AICc " + cell(*next->compared.aicc - *chosen.compared.aicc, 3, 1) + " below " +
           text_of(model_name(next->compared.fit)) + "'s";
  }
  out += " (Akaike weight " + cell(*chosen.compared.akaike_weight, 3, 1) + ")\n\n";
  return out;
}

// With compare: the bands where another model's value differs from the
// chosen one's by more than their combined standard deviation,
// sqrt(sd_chosen^2 + sd_other^2).
std::string differences(const JointSolution& s) {
  if (!s.compared) return {};
  const ComparedSolution& chosen = s.models[s.chosen];
  std::string lines;
  for (const ComparedSolution& m : s.models) {
    if (&m == &chosen || m.bands.empty()) continue;
    for (std::size_t i = 0; i < m.bands.size(); ++i) {
      const BandEstimate& a = chosen.bands[i].estimate;
      const BandEstimate& b = m.bands[i].estimate;
      auto differ = [](double x, double sx, double y, double sy) {
        return std::fabs(x - y) > std::sqrt(sx * sx + sy * sy);
      };
      auto line = [&](const char* what, double x, double sx, double y, double sy) {
        lines += cell(m.bands[i].frequency_mhz, 6, 10) + "  " + right_padded(what, 14) +
                 cell(y, 5, 10) + " +- " + cell(sy, 2, 1) + " (" +
                 text_of(model_name(m.compared.fit)) + "), against " + cell(x, 5, 1) + " +- " +
                 cell(sx, 2, 1) + '\n';
      };
      if (differ(a.value.permittivity, a.permittivity_sd, b.value.permittivity, b.permittivity_sd))
        line("permittivity", a.value.permittivity, a.permittivity_sd, b.value.permittivity,
             b.permittivity_sd);
      if (differ(a.value.conductivity_ms, a.conductivity_sd_ms, b.value.conductivity_ms,
                 b.conductivity_sd_ms))
        line("mS/m", a.value.conductivity_ms, a.conductivity_sd_ms, b.value.conductivity_ms,
             b.conductivity_sd_ms);
    }
  }
  const std::string name = text_of(model_name(chosen.compared.fit));
  if (lines.empty())
    return "\nThe other models' values agree with " + name +
           "'s within their standard deviations.\n";
  return "\nWhere another model's value differs from " + name +
         "'s by more than their combined sd (MHz, quantity, value):\n" + lines;
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
  const bool sd = s.fit.covariance_present;
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
  return comparison(solution) + parameters(solution) + measurements(solution) + warnings(solution) +
         bands(solution) + differences(solution);
}

}  // namespace gndfit
