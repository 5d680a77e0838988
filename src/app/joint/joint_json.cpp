// SPDX-License-Identifier: MIT
#include "app/joint/joint_json.hpp"

#include <cmath>

namespace gndfit {
namespace {

void write_model(JsonWriter& json, const JointFit& fit) {
  const JointCovariance& c = fit.covariance;
  const double sd_x = std::sqrt(c.xx);
  const double sd_e = std::sqrt(c.ee);
  // With a standard deviation of 0 (exact measurements) there is no
  // correlation to speak of.
  const bool correlated = c.present && sd_x > 0.0 && sd_e > 0.0;
  write_model_object(json, fit.model.base_conductivity, fit.model.base_permittivity,
                     {c.present, sd_x, sd_e, correlated, correlated ? c.xe / (sd_x * sd_e) : 0.0});
}

void write_measurements(JsonWriter& json, const JointSolution& s) {
  json.name("measurements").begin_array();
  for (std::size_t i = 0; i < s.measurements.size(); ++i) {
    const LocatedMeasurement& m = s.measurements[i];
    json.begin_object();
    json.name("line").integer(m.where.line);
    json.name("frequency_mhz").number(m.frequency_mhz);
    json.name("permittivity").number(m.permittivity);
    json.name("permittivity_sd").number_or_null(s.weighted, m.permittivity_u);
    json.name("conductivity_ms_per_m").number(m.conductivity_ms);
    json.name("conductivity_sd_ms_per_m").number_or_null(s.weighted, m.conductivity_u);
    json.name("model_permittivity").number(s.model_at_measurements[i].permittivity);
    json.name("model_conductivity_ms_per_m").number(s.model_at_measurements[i].conductivity_ms);
    json.end_object();
  }
  json.end_array();
}

void write_bands(JsonWriter& json, const JointSolution& s) {
  const bool sd = s.fit.covariance.present;
  json.name("bands").begin_array();
  for (const JointBand& b : s.bands) {
    json.begin_object();
    json.name("frequency_mhz").number(b.frequency_mhz);
    json.name("permittivity").number(b.estimate.value.permittivity);
    json.name("permittivity_sd").number_or_null(sd, b.estimate.permittivity_sd);
    json.name("conductivity_ms_per_m").number(b.estimate.value.conductivity_ms);
    json.name("conductivity_sd_ms_per_m").number_or_null(sd, b.estimate.conductivity_sd_ms);
    json.name("skin_depth_m").number(b.skin_depth_m);
    json.end_object();
  }
  json.end_array();
}

}  // namespace

void write_model_object(JsonWriter& json, double base_conductivity_s_per_m,
                        double base_permittivity, const ModelDeviations& sd) {
  json.name("model").begin_object();
  json.name("base_conductivity_s_per_m").number(base_conductivity_s_per_m);
  json.name("base_permittivity").number(base_permittivity);
  json.name("base_conductivity_sd").number_or_null(sd.present, sd.base_conductivity);
  json.name("base_permittivity_sd").number_or_null(sd.present, sd.base_permittivity);
  json.name("correlation").number_or_null(sd.correlated, sd.correlation);
  json.end_object();
}

void write_warnings(JsonWriter& json, std::span<const JointWarning> warnings) {
  json.name("warnings").begin_array();
  for (const JointWarning& w : warnings) {
    json.begin_object().name("code").string(w.code).name("text").string(w.text).end_object();
  }
  json.end_array();
}

void write_joint_members(JsonWriter& json, const JointSolution& s) {
  write_model(json, s.fit);
  json.name("chi_square").number(s.fit.chi_square);
  json.name("degrees_of_freedom").integer(s.fit.degrees_of_freedom);
  json.name("weighted").boolean(s.weighted);
  write_measurements(json, s);
  write_bands(json, s);
  write_warnings(json, s.warnings);
}

std::string joint_json(const JointSolution& solution) {
  JsonWriter json;
  json.begin_object();
  write_joint_members(json, solution);
  json.end_object();
  return json.text();
}

void write_errors(JsonWriter& json, std::span<const Failure> errors) {
  json.name("errors").begin_array();
  for (const Failure& e : errors) {
    json.begin_object().name("line");
    if (e.where.line > 0) {
      json.integer(e.where.line);
    } else {
      json.null();
    }
    json.name("reason").string(e.reason).end_object();
  }
  json.end_array();
}

}  // namespace gndfit
