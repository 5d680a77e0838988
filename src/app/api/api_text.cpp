// SPDX-License-Identifier: MIT
#include "app/api/api_text.hpp"

#include "app/common/command_line.hpp"
#include "app/joint/joint_json.hpp"
#include "app/joint/joint_solution.hpp"
#include "app/program/band_table.hpp"

namespace gndfit {

JsonWriter begin_api_json() {
  JsonWriter json;
  json.begin_object().name("format").integer(kApiJsonFormat);
  return json;
}

Outcome<std::vector<double>> api_frequencies(const char* list) {
  std::vector<float> frequencies;
  if (list != nullptr && !parse_frequency_list(list, frequencies)) {
    return whole_input_error(
        "invalid frequency list: expected positive numbers in MHz separated by commas");
  }
  return frequencies_as_written(list == nullptr ? std::span<const float>(kBandTable)
                                                : std::span<const float>(frequencies));
}

Outcome<ModelChoice> api_model(const char* name) {
  const std::string_view text = name != nullptr ? name : "messier";
  if (const std::optional<ModelChoice> choice = model_choice_named(text)) return *choice;
  return whole_input_error(unknown_model_reason(text));
}

std::string errors_json(std::span<const Failure> errors) {
  JsonWriter json = begin_api_json();
  write_errors(json, errors);
  return json.end_object().text();
}

Failure whole_input_error(const std::string& reason) { return Failure{Location{""}, reason}; }

std::string whole_input_error_json(const std::string& reason) {
  const Failure error = whole_input_error(reason);
  return errors_json({&error, 1});
}

const char* api_result(std::string json) {
  static std::string kept;
  kept = std::move(json);
  return kept.c_str();
}

}  // namespace gndfit
