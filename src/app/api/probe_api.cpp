// SPDX-License-Identifier: MIT
#include "app/api/probe_api.h"

#include <string>
#include <vector>

#include "app/api/api_text.hpp"
#include "app/joint/joint_json.hpp"
#include "app/joint/joint_nec.hpp"
#include "app/probe/probe_output.hpp"
#include "sweep/probe_conversion.hpp"

namespace {

using namespace gndfit;

std::string text_of(const char* text) { return text != nullptr ? text : ""; }

void write_notes(JsonWriter& json, const std::vector<std::string>& notes) {
  json.name("notes").begin_array();
  for (const std::string& note : notes) json.string(note);
  json.end_array();
}

void write_points(JsonWriter& json, const std::vector<LocatedMeasurement>& points,
                  bool with_uncertainties) {
  json.name("points").begin_array();
  for (const LocatedMeasurement& p : points) {
    json.begin_object();
    json.name("line").integer(p.where.line);
    json.name("frequency_mhz").number(p.frequency_mhz);
    json.name("permittivity").number(p.permittivity);
    json.name("conductivity_ms_per_m").number(p.conductivity_ms);
    if (with_uncertainties) {
      json.name("permittivity_u").number(p.permittivity_u);
      json.name("conductivity_u_ms_per_m").number(p.conductivity_u);
    }
    json.end_object();
  }
  json.end_array();
}

void write_left_out(JsonWriter& json, const std::vector<LeftOutPoint>& left_out) {
  json.name("left_out").begin_array();
  for (const LeftOutPoint& p : left_out) {
    json.begin_object();
    json.name("file").string(p.where.source);
    json.name("line").integer(p.where.line);
    json.name("frequency_mhz").number(p.frequency_mhz);
    json.name("reason").string(left_out_reason_text(p.reason));
    json.end_object();
  }
  json.end_array();
}

// "joint": the joint fit's object, or its errors when the points have none.
void write_joint_of(JsonWriter& json, const std::vector<LocatedMeasurement>& points,
                    bool with_uncertainties, const std::vector<double>& mhz, ModelChoice model) {
  json.name("joint").begin_object();
  const JointInput input = joint_input_of(points, with_uncertainties);
  const std::vector<Failure> errors = input.errors();
  if (!errors.empty()) {
    write_errors(json, errors);
  } else if (const Outcome<JointSolution> solution = solve_joint(input, mhz, model);
             solution.failed()) {
    const Failure error = whole_input_error(solution.failure().reason);
    write_errors(json, {&error, 1});
  } else {
    write_joint_members(json, solution.value());
    json.name("nec_cards").string(joint_nec_cards(solution.value()));
  }
  json.end_object();
}

// The error of the whole input with the notes written so far (C0 from the
// air sweep).
std::string failure(const std::string& reason, const std::vector<std::string>& notes) {
  JsonWriter json = begin_api_json();
  const Failure error = whole_input_error(reason);
  write_errors(json, {&error, 1});
  write_notes(json, notes);
  return json.end_object().text();
}

// The failure for a reference sweep the setting names and the caller did
// not give: never a conversion without it.
std::string missing_reference(const char* what, const std::string& name) {
  return failure(
      std::string("the probe setting takes ") + what + " (" + name + "): give that sweep too", {});
}

std::string convert(const char* setting_text, const char* sweep_name, const char* sweep_text,
                    const char* air_text, const char* liquid_text, const char* frequencies_mhz,
                    const char* model_name) {
  const Outcome<std::vector<double>> mhz = api_frequencies(frequencies_mhz);
  if (mhz.failed()) return failure(mhz.failure().reason, {});
  const Outcome<ModelChoice> model = api_model(model_name);
  if (model.failed()) return failure(model.failure().reason, {});
  const Outcome<ProbeSetting> parsed = parse_probe_setting(text_of(setting_text));
  if (parsed.failed()) return failure(parsed.failure().reason, {});
  const ProbeSetting& setting = parsed.value();
  const SweepSource sweep{text_of(sweep_name), text_of(sweep_text)};
  const SweepSource air{setting.air_file, text_of(air_text)};
  const SweepSource liquid{setting.liquid_file, text_of(liquid_text)};
  const bool has_air = !setting.air_file.empty();
  const bool has_liquid = !setting.liquid_file.empty();
  if (has_air && air_text == nullptr) {
    return missing_reference("C0 from a sweep in air", setting.air_file);
  }
  if (has_liquid && liquid_text == nullptr) {
    return missing_reference("C0 and Cs apart from a sweep in a liquid", setting.liquid_file);
  }
  std::vector<std::string> notes;
  std::vector<LeftOutPoint> left_out;
  const ProbePoints points = convert_probe_sweeps(setting, {sweep}, has_air ? &air : nullptr, notes,
                                                  has_liquid ? &liquid : nullptr, &left_out);
  if (points.failed()) return failure(failure_text(points.failure()), notes);
  const bool with_uncertainties = setting.u_gamma > 0.0;
  JsonWriter json = begin_api_json();
  write_points(json, points.value(), with_uncertainties);
  write_left_out(json, left_out);
  write_notes(json, notes);
  json.name("csv").string(probe_csv(points.value(), with_uncertainties));
  write_joint_of(json, points.value(), with_uncertainties, mhz.value(), model.value());
  return json.end_object().text();
}

}  // namespace

extern "C" const char* gndfit_probe_json(const char* setting, const char* sweep_name,
                                         const char* sweep_text, const char* air_text,
                                         const char* liquid_text, const char* frequencies_mhz,
                                         const char* model) {
  return api_result(
      convert(setting, sweep_name, sweep_text, air_text, liquid_text, frequencies_mhz, model));
}
