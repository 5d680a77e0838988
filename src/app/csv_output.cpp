#include "app/csv_output.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/joint_solution.hpp"
#include "console/input_source.hpp"
#include "platform/c_number.hpp"

namespace gndfit {

namespace {

// The shortest text that reads back to the same value: the fewest
// significant digits, in printf's %g form or without the exponent where
// that is no longer.  Written with the C library's printf and strtod, so
// the same text on every platform.
template <typename T>
std::string shortest_text(T value, int max_digits) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const auto v = static_cast<double>(value);
  char text[64];
  int digits = 1;
  for (;; ++digits) {  // max_digits always reads back
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    if (digits == max_digits) break;
    const T back = sizeof(T) == sizeof(float) ? static_cast<T>(parse_c_float(text))
                                              : static_cast<T>(parse_c_double(text));
    if (back == value) break;
  }
  // The same digits without an exponent, where %g can show them so and
  // that is no longer (10 rather than 1e+01).
  std::string best = text;
  std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  if (exponent >= digits && exponent < 40) {  // beyond, the exponent form is shorter
    std::snprintf(text, sizeof text, "%.*g", exponent + 1, v);
    if (std::strlen(text) <= best.size()) best = text;
  }
  return best;
}

}  // namespace

std::string shortest(double value) { return shortest_text(value, 17); }
std::string shortest(float value) { return shortest_text(value, 9); }

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

CsvWriter::CsvWriter(std::span<const float> frequencies, std::ostream& out, std::ostream& errors)
    : frequencies_(frequencies),
      out_(out),
      errors_(errors),
      lines_(errors, [this](const Measurement& m, long line_number) {
        write_rows(m);
        warn_if_unphysical(m, line_number);
      }) {}

void CsvWriter::warn_if_unphysical(const Measurement& m, long line_number) {
  const JointModel model = exact_model({m.frequency_mhz, m.permittivity, m.conductivity_ms});
  if (!below_vacuum(model)) return;
  const JointWarning w = below_vacuum_warning(model.base_permittivity);
  errors_ << "gndfit: line " << line_number << ": warning: " << w.code << ": " << w.text << '\n';
}

void CsvWriter::write_header() {
  out_ << "measured_mhz,measured_permittivity,measured_conductivity_ms_per_m,frequency_mhz,"
          "permittivity,conductivity_ms_per_m,conductivity_s_per_m,relative_skin_depth\n";
}

void CsvWriter::write_rows(const Measurement& m) {
  const std::string measured =
      shortest(m.frequency_mhz) + ',' + shortest(m.permittivity) + ',' + shortest(m.conductivity_ms);
  for (const BandValues& b : fit_and_evaluate(fit_, m, frequencies_)) {
    out_ << measured << ',' << shortest(b.band_mhz) << ',' << shortest(b.model.permittivity) << ','
         << shortest(b.model.conductivity_ms) << ','
         << shortest(static_cast<double>(b.model.conductivity_ms) / 1000.0) << ','
         << shortest(b.relative_skin_depth) << '\n';
  }
}

void write_nec_cards(std::ostream& out, std::span<const BandValues> bands) {
  for (const BandValues& b : bands) {
    out << "GN 2 0 0 0 " << shortest(b.model.permittivity) << ' '
        << shortest(static_cast<double>(b.model.conductivity_ms) / 1000.0) << '\n'
        << "FR 0 1 0 0 " << shortest(b.band_mhz) << " 0\n"
        << "XQ\n";
  }
}

}  // namespace gndfit
