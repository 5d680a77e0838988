// SPDX-License-Identifier: MIT
#include "app/common/measurement_lines.hpp"

#include <optional>
#include <string>
#include <vector>

#include "app/common/measurement_fields.hpp"
#include "located/outcome.hpp"

namespace gndfit {

void MeasurementLines::skip(const std::string& reason) {
  ++skipped_;
  errors_ << "gndfit: " << failure_text({current_, reason}) << '\n';
}

void MeasurementLines::take_line(std::string_view line) {
  ++current_.line;
  const std::optional<std::vector<double>> fields =
      read_measurement_fields(line, FieldWidths::console);
  if (!fields) return;  // blank or comment
  const std::vector<double>& values = *fields;
  if (values.size() != 3) {
    skip("expected 3 numbers, got " + std::to_string(values.size()));
    return;
  }
  if (const std::string fault = first_field_not_positive(values); !fault.empty()) {
    skip(fault);
    return;
  }
  take_({values[0], static_cast<float>(values[1]), static_cast<float>(values[2])}, current_);
}

void MeasurementLines::take_stream(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) take_line(line);
}

}  // namespace gndfit
