// SPDX-License-Identifier: MIT
#pragma once
// Pieces of JSON text: strings escaped to ASCII, numbers in their shortest
// round-trip form at their own precision, null where JSON has no number.
#include <string>
#include <string_view>

namespace gndfit {

void append_json_string(std::string& out, std::string_view text);
void append_json_number(std::string& out, double value);
// A single's own shortest text (13.1, not the 13.100000381469727 of the
// same value widened to double).
void append_json_number(std::string& out, float value);
// "name": with the separator before it unless it opens an object.
void append_json_name(std::string& out, std::string_view name);
// "name":value, as the two above write them.
void append_json_field(std::string& out, std::string_view name, double value);
void append_json_field(std::string& out, std::string_view name, float value);

}  // namespace gndfit
