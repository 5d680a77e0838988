// SPDX-License-Identifier: MIT
#include "app/api/joint_api.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/api/api_text.hpp"
#include "app/joint/joint_json.hpp"
#include "app/joint/joint_nec.hpp"

namespace {

using namespace gndfit;

std::string fit_text(const char* text, const char* frequencies_mhz, const char* model) {
  const Outcome<std::vector<double>> mhz = api_frequencies(frequencies_mhz);
  if (mhz.failed()) return whole_input_error_json(mhz.failure().reason);
  const Outcome<ModelChoice> choice = api_model(model);
  if (choice.failed()) return whole_input_error_json(choice.failure().reason);
  JointInput input;
  std::string_view rest = text != nullptr ? text : "";
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    input.take_line(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  const std::vector<Failure> errors = input.errors();
  if (!errors.empty()) return errors_json(errors);
  const Outcome<JointSolution> solution = solve_joint(input, mhz.value(), choice.value());
  if (solution.failed()) return whole_input_error_json(solution.failure().reason);
  JsonWriter json = begin_api_json();
  write_joint_members(json, solution.value());
  json.name("nec_cards").string(joint_nec_cards(solution.value()));
  return json.end_object().text();
}

}  // namespace

extern "C" const char* gndfit_joint_json(const char* text) {
  return api_result(fit_text(text, nullptr, "messier"));
}

extern "C" const char* gndfit_joint_json_at(const char* text, const char* frequencies_mhz) {
  return api_result(fit_text(text, frequencies_mhz != nullptr ? frequencies_mhz : "", "messier"));
}

extern "C" const char* gndfit_joint_model_json_at(const char* text, const char* frequencies_mhz,
                                                  const char* model) {
  return api_result(fit_text(text, frequencies_mhz, model));
}
