// SPDX-License-Identifier: MIT
#include "app/joint_input.hpp"

#include <cmath>

#include "console/input_source.hpp"

namespace gndfit {

std::string joint_place(const JointOrigin& origin) {
  const std::string line = "line " + std::to_string(origin.line);
  return origin.file == "-" ? line : origin.file + ":" + line;
}

std::string joint_message(const JointInputError& error) {
  return error.origin.line > 0 ? joint_place(error.origin) + ": " + error.reason : error.reason;
}

void JointInput::fail(const std::string& reason) { errors_.push_back({current_, reason}); }

void JointInput::start_file(const std::string& file) { current_ = {file, 0}; }

void JointInput::take_line(std::string_view text) {
  ++current_.line;
  while (!text.empty() && text.back() == '\r') text.remove_suffix(1);  // a CR LF line end
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos || text[first] == '#') return;  // blank or comment
  InputSource fields;
  fields.use_line(std::string(text));
  std::vector<double> values;
  while (fields.line_has_field() && values.size() <= text.size()) {
    double value = 0.0;
    fields.read_double(value);
    values.push_back(value);
  }
  if (values.size() != 3 && values.size() != 5) {
    fail("expected 3 or 5 numbers, got " + std::to_string(values.size()));
    return;
  }
  static constexpr const char* kNames[] = {"frequency", "permittivity", "conductivity",
                                           "permittivity uncertainty", "conductivity uncertainty"};
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!std::isfinite(values[i]) || !(values[i] > 0.0)) {
      fail(std::string(kNames[i]) + " must be a finite positive number");
      return;
    }
  }
  const Kind kind = values.size() == 5 ? Kind::with_uncertainties : Kind::plain;
  if (kind_ == Kind::unknown) {
    kind_ = kind;
    first_of_kind_ = current_;
  } else if (kind != kind_) {
    fail(kind == Kind::with_uncertainties
             ? "uncertainties given, but " + joint_place(first_of_kind_) + " has none"
             : "no uncertainties given, but " + joint_place(first_of_kind_) + " has them");
    return;
  }
  JointMeasurement m{values[0], values[1], values[2]};
  if (kind == Kind::with_uncertainties) {
    m.permittivity_u = values[3];
    m.conductivity_u = values[4];
  }
  measurements_.push_back(m);
  origins_.push_back(current_);
}

std::vector<JointInputError> JointInput::errors() const {
  std::vector<JointInputError> all = errors_;
  if (all.empty() && measurements_.empty()) {
    all.emplace_back();
    all.back().reason = "no measurement in the input";
  }
  return all;
}

void JointInput::add(const JointMeasurement& measurement, const JointOrigin& origin) {
  if (kind_ == Kind::unknown) {
    kind_ = Kind::plain;
    first_of_kind_ = origin;
  }
  measurements_.push_back(measurement);
  origins_.push_back(origin);
}

}  // namespace gndfit
