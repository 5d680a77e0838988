// SPDX-License-Identifier: MIT
#pragma once
// What the JSON C APIs (joint fit, probe sweeps) share: the frequencies a
// caller asks for, the error of a whole input, and the one buffer their
// returned text lives in until the next call.
#include <string>
#include <vector>

#include "located/outcome.hpp"

namespace gndfit {

// `list`: positive numbers in MHz separated by commas, as for --freq; a
// null pointer asks for the table's bands.  A failure for an invalid list.
Outcome<std::vector<double>> api_frequencies(const char* list);

// {"errors": [{"line": null, "reason": ...}]}
std::string whole_input_error_json(const std::string& reason);

// `json` kept for the caller, who may read it until the next call.
const char* api_result(std::string json);

}  // namespace gndfit
