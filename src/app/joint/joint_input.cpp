// SPDX-License-Identifier: MIT
#include "app/joint/joint_input.hpp"

#include "app/common/measurement_fields.hpp"

namespace gndfit {

void JointInput::fail(const std::string& reason) { errors_.push_back({current_, reason}); }

void JointInput::start_file(const std::string& source) { current_ = {source, 0}; }

namespace {

// The header lines of gndfit --probe's CSV (without and with u_gamma):
// the first line of a file of its points, which --joint reads as they are.
bool is_probe_csv_header(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text == "frequency_mhz,permittivity,conductivity_ms_per_m" ||
         text ==
             "frequency_mhz,permittivity,conductivity_ms_per_m,permittivity_u,"
             "conductivity_u_ms_per_m";
}

}  // namespace

void JointInput::take_line(std::string_view text) {
  ++current_.line;
  if (current_.line == 1 && is_probe_csv_header(text)) return;
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
             ? "uncertainties given, but " + location_text(first_of_kind_) + " has none"
             : "no uncertainties given, but " + location_text(first_of_kind_) + " has them");
    return;
  }
  LocatedMeasurement m{values[0], values[1], values[2]};
  m.where = current_;
  if (kind == Kind::with_uncertainties) {
    m.permittivity_u = values[3];
    m.conductivity_u = values[4];
  }
  measurements_.push_back(m);
}

std::vector<Failure> JointInput::errors() const {
  std::vector<Failure> all = errors_;
  if (all.empty() && measurements_.empty())
    all.push_back({Location{""}, "no measurement in the input"});
  return all;
}

void JointInput::add(const LocatedMeasurement& measurement, bool with_uncertainties) {
  if (kind_ == Kind::unknown) {
    kind_ = with_uncertainties ? Kind::with_uncertainties : Kind::plain;
    first_of_kind_ = measurement.where;
  }
  measurements_.push_back(measurement);
}

}  // namespace gndfit
