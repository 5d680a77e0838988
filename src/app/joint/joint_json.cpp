// SPDX-License-Identifier: MIT
#include "app/joint/joint_json.hpp"

#include <cmath>

#include "app/common/json_text.hpp"

namespace gndfit {
namespace {

// A standard deviation, or null where the fit has none.
void deviation(std::string& out, const char* name, bool present, double value) {
  append_json_name(out, name);
  if (present) {
    append_json_number(out, value);
  } else {
    out += "null";
  }
}

void model_object(std::string& out, const JointFit& fit) {
  const JointCovariance& c = fit.covariance;
  const double sd_x = std::sqrt(c.xx);
  const double sd_e = std::sqrt(c.ee);
  out += '{';
  append_json_field(out, "base_conductivity_s_per_m", fit.model.base_conductivity);
  append_json_field(out, "base_permittivity", fit.model.base_permittivity);
  deviation(out, "base_conductivity_sd", c.present, sd_x);
  deviation(out, "base_permittivity_sd", c.present, sd_e);
  // With a standard deviation of 0 (exact measurements) there is no
  // correlation to speak of.
  const bool correlated = c.present && sd_x > 0.0 && sd_e > 0.0;
  deviation(out, "correlation", correlated, correlated ? c.xe / (sd_x * sd_e) : 0.0);
  out += '}';
}

}  // namespace

std::string joint_json(const JointSolution& s) {
  std::string out = "{";
  append_json_name(out, "model");
  model_object(out, s.fit);
  append_json_field(out, "chi_square", s.fit.chi_square);
  append_json_name(out, "degrees_of_freedom");
  out += std::to_string(s.fit.degrees_of_freedom);
  append_json_name(out, "weighted");
  out += s.weighted ? "true" : "false";
  append_json_name(out, "measurements");
  out += '[';
  for (std::size_t i = 0; i < s.measurements.size(); ++i) {
    const LocatedMeasurement& m = s.measurements[i];
    out += i > 0 ? ",{" : "{";
    append_json_name(out, "line");
    out += std::to_string(m.where.line);
    append_json_field(out, "frequency_mhz", m.frequency_mhz);
    append_json_field(out, "permittivity", m.permittivity);
    append_json_field(out, "conductivity_ms_per_m", m.conductivity_ms);
    append_json_field(out, "model_permittivity", s.model_at_measurements[i].permittivity);
    append_json_field(out, "model_conductivity_ms_per_m",
                      s.model_at_measurements[i].conductivity_ms);
    out += '}';
  }
  out += ']';
  append_json_name(out, "bands");
  out += '[';
  const bool sd = s.fit.covariance.present;
  for (std::size_t i = 0; i < s.bands.size(); ++i) {
    const JointBand& b = s.bands[i];
    out += i > 0 ? ",{" : "{";
    append_json_field(out, "frequency_mhz", b.frequency_mhz);
    append_json_field(out, "permittivity", b.estimate.value.permittivity);
    deviation(out, "permittivity_sd", sd, b.estimate.permittivity_sd);
    append_json_field(out, "conductivity_ms_per_m", b.estimate.value.conductivity_ms);
    deviation(out, "conductivity_sd_ms_per_m", sd, b.estimate.conductivity_sd_ms);
    append_json_field(out, "skin_depth_m", b.skin_depth_m);
    out += '}';
  }
  out += ']';
  append_json_name(out, "warnings");
  out += '[';
  for (std::size_t i = 0; i < s.warnings.size(); ++i) {
    out += i > 0 ? ",{" : "{";
    append_json_name(out, "code");
    append_json_string(out, s.warnings[i].code);
    append_json_name(out, "text");
    append_json_string(out, s.warnings[i].text);
    out += '}';
  }
  out += "]}";
  return out;
}

std::string joint_errors_json(const std::vector<Failure>& errors) {
  std::string out = "{";
  append_json_name(out, "errors");
  out += '[';
  for (std::size_t i = 0; i < errors.size(); ++i) {
    out += i > 0 ? ",{" : "{";
    append_json_name(out, "line");
    out += errors[i].where.line > 0 ? std::to_string(errors[i].where.line) : "null";
    append_json_name(out, "reason");
    append_json_string(out, errors[i].reason);
    out += '}';
  }
  out += "]}";
  return out;
}

}  // namespace gndfit
