// SPDX-License-Identifier: MIT
#include "app/common/measurement_fields.hpp"

#include <cmath>

#include "console/input_source.hpp"

namespace gndfit {

std::optional<std::vector<double>> read_measurement_fields(std::string_view line,
                                                           FieldWidths widths) {
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // a CR LF line end
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == '#') return std::nullopt;
  InputSource fields;
  fields.use_line(std::string(line));
  std::vector<double> values;
  // The bound stops the loop should a read ever take nothing from the line.
  while (fields.line_has_field() && values.size() <= line.size()) {
    double value = 0.0;
    if (widths == FieldWidths::doubles || values.empty()) {
      fields.read_double(value);
    } else {
      float single = 0.0f;
      fields.read_single(single);
      value = single;
    }
    values.push_back(value);
  }
  return values;
}

std::string first_field_not_positive(const std::vector<double>& values) {
  static constexpr const char* kNames[] = {"frequency", "permittivity", "conductivity",
                                           "permittivity uncertainty", "conductivity uncertainty"};
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!std::isfinite(values[i]) || !(values[i] > 0.0)) {
      const std::string name = i < std::size(kNames) ? kNames[i] : "field " + std::to_string(i + 1);
      return name + " must be a finite positive number";
    }
  }
  return {};
}

}  // namespace gndfit
