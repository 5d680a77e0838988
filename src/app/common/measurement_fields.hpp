// SPDX-License-Identifier: MIT
#pragma once
// The numbers of one measurement line, read as the console reads them:
// blanks, tabs or commas separate the fields, the console's number forms.
// Shared by the text outputs' lines (the console's widths) and the joint
// fit's (doubles throughout).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gndfit {

enum class FieldWidths {
  console,  // the frequency a double, the rest singles, as the console stores them
  doubles,
};

// Every field of `line` (its line end removed or not) as a number, a
// single widened to double where `widths` asks for singles; nothing for a
// line to skip: blank, or starting with #.
std::optional<std::vector<double>> read_measurement_fields(std::string_view line,
                                                           FieldWidths widths);

// "<field> must be a finite positive number" for the first field that is
// not, named by its place (frequency, permittivity, conductivity, then
// their uncertainties); empty when every field is.
std::string first_field_not_positive(const std::vector<double>& values);

}  // namespace gndfit
