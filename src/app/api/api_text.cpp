// SPDX-License-Identifier: MIT
#include "app/api/api_text.hpp"

#include "app/program/band_table.hpp"
#include "app/common/command_line.hpp"
#include "app/joint/joint_json.hpp"
#include "app/joint/joint_solution.hpp"

namespace gndfit {

Outcome<std::vector<double>> api_frequencies(const char* list) {
  std::vector<float> frequencies;
  if (list != nullptr && !parse_frequency_list(list, frequencies)) {
    return Failure{Location{""},
                   "invalid frequency list: expected positive numbers in MHz separated by commas"};
  }
  return frequencies_as_written(list == nullptr ? std::span<const float>(kBandTable)
                                                : std::span<const float>(frequencies));
}

std::string whole_input_error_json(const std::string& reason) {
  return joint_errors_json({Failure{Location{""}, reason}});
}

const char* api_result(std::string json) {
  static std::string kept;
  kept = std::move(json);
  return kept.c_str();
}

}  // namespace gndfit
