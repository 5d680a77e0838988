// SPDX-License-Identifier: MIT
#include "app/joint_api.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/band_table.hpp"
#include "app/command_line.hpp"
#include "app/joint_json.hpp"

namespace {

using namespace gndfit;

// {"errors": [...]} with one error of the whole text.
std::string whole_text_error(const std::string& reason) {
  std::vector<JointInputError> errors(1);
  errors[0].reason = reason;
  return joint_errors_json(errors);
}

std::string fit_text(const char* text, const std::vector<float>& frequencies) {
  JointInput input;
  std::string_view rest = text != nullptr ? text : "";
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    input.take_line(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  const std::vector<JointInputError> errors = input.errors();
  if (!errors.empty()) return joint_errors_json(errors);
  std::vector<double> mhz;
  for (const float f : frequencies) mhz.push_back(frequency_as_written(f));
  const JointSolution solution = solve_joint(input, mhz);
  if (!solution.error.empty()) return whole_text_error(solution.error);
  return joint_json(solution);
}

std::string json;

}  // namespace

extern "C" const char* gndfit_joint_json(const char* text) {
  json = fit_text(text, std::vector<float>(kBandTable.begin(), kBandTable.end()));
  return json.c_str();
}

extern "C" const char* gndfit_joint_json_at(const char* text, const char* frequencies_mhz) {
  std::vector<float> frequencies;
  if (!parse_frequency_list(frequencies_mhz != nullptr ? frequencies_mhz : "", frequencies)) {
    json = whole_text_error(
        "invalid frequency list: expected positive numbers in MHz separated by commas");
  } else {
    json = fit_text(text, frequencies);
  }
  return json.c_str();
}
