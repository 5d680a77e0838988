// SPDX-License-Identifier: MIT
#pragma once
// What the JSON C APIs (the single fit, the joint fit, probe sweeps) share:
// the version of their names, the frequencies a caller asks for, the
// errors of an input, and the one buffer their returned text lives in
// until the next call.
#include <span>
#include <string>
#include <vector>

#include "app/common/json_text.hpp"
#include "app/joint/joint_input.hpp"
#include "located/outcome.hpp"
#include "model/ground_models.hpp"

namespace gndfit {

// The "format" each C API's JSON opens with: 2 since the three share one
// vocabulary (frequency_mhz, permittivity, conductivity_ms_per_m, the base
// permittivity relative).  A change of a name or a unit raises it.
inline constexpr int kApiJsonFormat = 2;

// An API's object opened, with its "format" written.
JsonWriter begin_api_json();

// `list`: positive numbers in MHz separated by commas, as for --freq; a
// null pointer asks for the table's bands.  A failure for an invalid list.
Outcome<std::vector<double>> api_frequencies(const char* list);

// The ground model a caller names: "messier", "alipio-visacro",
// "power-law" or "compare"; a null pointer asks for messier.  A failure
// for another name.
Outcome<ModelChoice> api_model(const char* name);

// {"format": 2, "errors": [{"line", "reason"}]}
std::string errors_json(std::span<const Failure> errors);
// The same for one error of the whole input (line null).
std::string whole_input_error_json(const std::string& reason);
Failure whole_input_error(const std::string& reason);

// `json` kept for the caller, who may read it until the next call.
const char* api_result(std::string json);

}  // namespace gndfit
