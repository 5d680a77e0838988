// SPDX-License-Identifier: MIT
#pragma once
// Pieces of JSON text: strings escaped to ASCII, numbers in their shortest
// round-trip form, null where JSON has no number.
#include <string>
#include <string_view>

namespace gndfit {

void append_json_string(std::string& out, std::string_view text);
void append_json_number(std::string& out, double value);
// "name": with the separator before it unless it opens an object.
void append_json_name(std::string& out, std::string_view name);

}  // namespace gndfit
