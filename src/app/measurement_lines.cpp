// SPDX-License-Identifier: MIT
#include "app/measurement_lines.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "console/input_source.hpp"

namespace gndfit {

void MeasurementLines::skip(const std::string& reason) {
  ++skipped_;
  errors_ << "gndfit: line " << line_number_ << ": " << reason << '\n';
}

void MeasurementLines::take_line(std::string_view line) {
  ++line_number_;
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // a CR LF line end
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == '#') return;  // blank or comment
  // The fields as the console reads them: blanks and commas separate,
  // the same number forms, the first read as a double, the others as
  // singles.
  InputSource fields;
  fields.use_line(std::string(line));
  std::vector<double> values;
  while (fields.line_has_field() && values.size() <= line.size()) {
    double value = 0.0;
    if (values.empty()) {
      fields.read_double(value);
    } else {
      float single = 0.0f;
      fields.read_single(single);
      value = single;
    }
    values.push_back(value);
  }
  if (values.size() != 3) {
    skip("expected 3 numbers, got " + std::to_string(values.size()));
    return;
  }
  static constexpr const char* kNames[] = {"frequency", "permittivity", "conductivity"};
  for (std::size_t i = 0; i < 3; ++i) {
    if (!std::isfinite(values[i]) || !(values[i] > 0.0)) {
      skip(std::string(kNames[i]) + " must be a finite positive number");
      return;
    }
  }
  take_({values[0], static_cast<float>(values[1]), static_cast<float>(values[2])}, line_number_);
}

void MeasurementLines::take_stream(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) take_line(line);
}

}  // namespace gndfit
