// SPDX-License-Identifier: MIT
#include "app/joint/joint_json.hpp"

#include <cmath>

namespace gndfit {
namespace {

// The messier model's object as before there were other models.
void write_messier(JsonWriter& json, const ModelFit& fit) {
  const SmallMatrix& c = fit.covariance;
  const double sd_x = std::sqrt(c[0][0]);
  const double sd_e = std::sqrt(c[1][1]);
  // With a standard deviation of 0 (exact measurements) there is no
  // correlation to speak of.
  const bool correlated = fit.covariance_present && sd_x > 0.0 && sd_e > 0.0;
  write_model_object(
      json, fit.parameters[0], fit.parameters[1],
      {fit.covariance_present, sd_x, sd_e, correlated, correlated ? c[0][1] / (sd_x * sd_e) : 0.0});
}

// Another model's: its parameters by name, then each one's sd (null at a
// bound or undetermined), then the covariance matrix in the parameters'
// order where it has more than one parameter.
void write_other(JsonWriter& json, const ModelFit& fit) {
  const auto parameters = fit.model->parameters();
  json.name("model").begin_object();
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    json.name(parameters[i].name).number(fit.parameters[i]);
  }
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    json.name(parameters[i].sd_name).number_or_null(fit.has_sd(i), std::sqrt(fit.covariance[i][i]));
  }
  if (parameters.size() > 2) {
    json.name("covariance").begin_array();
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      json.begin_array();
      for (std::size_t j = 0; j < parameters.size(); ++j) {
        json.number_or_null(fit.has_sd(i) && fit.has_sd(j), fit.covariance[i][j]);
      }
      json.end_array();
    }
    json.end_array();
  }
  json.end_object();
}

void write_model(JsonWriter& json, const ModelFit& fit) {
  if (model_name(fit) == "messier") {
    write_messier(json, fit);
  } else {
    write_other(json, fit);
  }
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

void write_bands(JsonWriter& json, std::span<const JointBand> bands, bool sd) {
  json.name("bands").begin_array();
  for (const JointBand& b : bands) {
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

// With compare: every model, with its bands; a model without a fit has
// nulls and the reason, one without an AICc a null AICc and weight.
void write_compared(JsonWriter& json, const JointSolution& s) {
  json.name("models").begin_array();
  for (const ComparedSolution& m : s.models) {
    const ModelFit& fit = m.compared.fit;
    const bool fitted = fit.status == ModelFitStatus::fitted;
    json.begin_object();
    json.name("model_name").string(model_name(fit));
    if (fitted) {
      write_model(json, fit);
    } else {
      json.name("model").null();
    }
    json.name("chi_square").number_or_null(fitted, fit.chi_square);
    json.name("degrees_of_freedom").integer(fit.degrees_of_freedom);
    json.name("aicc").number_or_null(m.compared.aicc.has_value(), m.compared.aicc.value_or(0.0));
    json.name("akaike_weight")
        .number_or_null(m.compared.akaike_weight.has_value(),
                        m.compared.akaike_weight.value_or(0.0));
    if (!m.failure.empty()) json.name("not_compared").string(m.failure);
    write_bands(json, m.bands, fit.covariance_present);
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
  json.name("model_name").string(model_name(s.fit));
  write_model(json, s.fit);
  json.name("chi_square").number(s.fit.chi_square);
  json.name("degrees_of_freedom").integer(s.fit.degrees_of_freedom);
  json.name("weighted").boolean(s.weighted);
  write_measurements(json, s);
  write_bands(json, s.bands, s.fit.covariance_present);
  write_warnings(json, s.warnings);
  if (s.compared) {
    write_compared(json, s);
    json.name("chosen").string(model_name(s.fit));
  }
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
