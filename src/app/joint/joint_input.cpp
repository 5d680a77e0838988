// SPDX-License-Identifier: MIT
#include "app/joint/joint_input.hpp"

#include "app/common/measurement_fields.hpp"

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
  const std::optional<std::vector<double>> fields =
      read_measurement_fields(text, FieldWidths::doubles);
  if (!fields) return;  // blank or comment
  const std::vector<double>& values = *fields;
  if (values.size() != 3 && values.size() != 5) {
    fail("expected 3 or 5 numbers, got " + std::to_string(values.size()));
    return;
  }
  if (const std::string fault = first_field_not_positive(values); !fault.empty()) {
    fail(fault);
    return;
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
