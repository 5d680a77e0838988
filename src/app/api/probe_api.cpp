// SPDX-License-Identifier: MIT
#include "app/api/probe_api.h"

#include <string>
#include <vector>

#include "app/api/api_text.hpp"
#include "app/joint/joint_json.hpp"
#include "app/common/json_text.hpp"
#include "app/probe/probe_output.hpp"
#include "sweep/probe_conversion.hpp"

namespace {

using namespace gndfit;

std::string text_of(const char* text) { return text != nullptr ? text : ""; }

void append_notes(std::string& json, const std::vector<std::string>& notes) {
  append_json_name(json, "notes");
  json += '[';
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (i > 0) json += ',';
    append_json_string(json, notes[i]);
  }
  json += ']';
}

void append_points(std::string& json, const std::vector<LocatedMeasurement>& points,
                   bool with_uncertainties) {
  append_json_name(json, "points");
  json += '[';
  for (std::size_t i = 0; i < points.size(); ++i) {
    json += i > 0 ? ",{" : "{";
    append_json_name(json, "line");
    json += std::to_string(points[i].where.line);
    append_json_name(json, "frequency_mhz");
    append_json_number(json, points[i].frequency_mhz);
    append_json_name(json, "permittivity");
    append_json_number(json, points[i].permittivity);
    append_json_name(json, "conductivity_ms_per_m");
    append_json_number(json, points[i].conductivity_ms);
    if (with_uncertainties) {
      append_json_name(json, "permittivity_u");
      append_json_number(json, points[i].permittivity_u);
      append_json_name(json, "conductivity_u_ms_per_m");
      append_json_number(json, points[i].conductivity_u);
    }
    json += '}';
  }
  json += ']';
}

std::string joint_of(const std::vector<LocatedMeasurement>& points, bool with_uncertainties,
                     const std::vector<double>& mhz) {
  const JointInput input = joint_input_of(points, with_uncertainties);
  const std::vector<Failure> errors = input.errors();
  if (!errors.empty()) return joint_errors_json(errors);
  const Outcome<JointSolution> solution = solve_joint(input, mhz);
  if (solution.failed()) return whole_input_error_json(solution.failure().reason);
  return joint_json(solution.value());
}

// The error JSON with the notes written before it (C0 from the air sweep).
std::string failure(const std::string& reason, const std::vector<std::string>& notes) {
  std::string json = whole_input_error_json(reason);
  json.pop_back();  // the closing brace, to add the notes inside
  append_notes(json, notes);
  return json + '}';
}

std::string convert(const char* setting_text, const char* sweep_name, const char* sweep_text,
                    const char* air_text, const char* frequencies_mhz) {
  std::vector<double> mhz;
  std::string error;
  if (!api_frequencies(frequencies_mhz, mhz, error)) return failure(error, {});
  ProbeSetting setting;
  if (!parse_probe_setting(text_of(setting_text), setting, error)) return failure(error, {});
  const SweepSource sweep{text_of(sweep_name), text_of(sweep_text)};
  const SweepSource air{setting.air_file, text_of(air_text)};
  const bool has_air = !setting.air_file.empty();
  if (has_air && air_text == nullptr) {
    return failure("the probe setting takes C0 from a sweep in air (" + setting.air_file +
                       "): give that sweep too",
                   {});
  }
  if (!setting.liquid_file.empty()) {
    // This entry takes one reference sweep; converting without the
    // liquid's would give C0 = C_air without a word.
    return failure("the probe setting takes a sweep in a liquid (" + setting.liquid_file +
                       "), which this entry does not take yet",
                   {});
  }
  std::vector<std::string> notes;
  const ProbePoints points = convert_probe_sweeps(setting, {sweep}, has_air ? &air : nullptr, notes);
  if (points.failed()) return failure(failure_text(points.failure()), notes);
  std::string json = "{";
  append_points(json, points.value(), setting.u_gamma > 0.0);
  append_notes(json, notes);
  append_json_name(json, "csv");
  append_json_string(json, probe_csv(points.value(), setting.u_gamma > 0.0));
  append_json_name(json, "joint");
  return json + joint_of(points.value(), setting.u_gamma > 0.0, mhz) + '}';
}

}  // namespace

extern "C" const char* gndfit_probe_json(const char* setting, const char* sweep_name,
                                         const char* sweep_text, const char* air_text,
                                         const char* frequencies_mhz) {
  return api_result(convert(setting, sweep_name, sweep_text, air_text, frequencies_mhz));
}
