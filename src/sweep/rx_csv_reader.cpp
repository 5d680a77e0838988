// SPDX-License-Identifier: MIT
#include "sweep/rx_csv_reader.hpp"

#include <string>

#include "sweep/complex_quotient.hpp"
#include "sweep/sweep_text.hpp"

namespace gndfit {
namespace {

char separator_of(std::string_view line) {
  if (line.find('\t') != std::string_view::npos) return '\t';
  if (line.find(';') != std::string_view::npos) return ';';
  return ',';
}

std::vector<std::string> split_fields(std::string_view line, char separator) {
  std::vector<std::string> fields;
  while (true) {
    const std::size_t end = line.find(separator);
    std::string_view text = trim(line.substr(0, end));
    // Some exports quote every field.
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
      text = trim(text.substr(1, text.size() - 2));
    }
    std::string field(text);
    if (separator != ',') {
      for (char& c : field) {
        if (c == ',') c = '.';
      }
    }
    fields.push_back(std::move(field));
    if (end == std::string_view::npos) return fields;
    line.remove_prefix(end + 1);
  }
}

// All fields numbers: false, and `numbers` partly filled, when one is not.
bool parse_fields(const std::vector<std::string>& fields, std::vector<double>& numbers) {
  numbers.assign(fields.size(), 0.0);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!parse_number(fields[i], numbers[i])) return false;
  }
  return true;
}

std::vector<SweepPoint> read_rows(std::string_view text) {
  const std::vector<std::string_view> lines = split_lines(text);
  std::vector<SweepPoint> points;
  char separator = 0;
  bool first = true;
  std::vector<double> numbers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const long line = static_cast<long>(i) + 1;
    if (trim(lines[i]).empty()) continue;
    if (separator == 0) separator = separator_of(lines[i]);
    const std::vector<std::string> fields = split_fields(lines[i], separator);
    const bool numeric = parse_fields(fields, numbers);
    if (first && !numeric) {  // the header
      first = false;
      continue;
    }
    first = false;
    if (!numeric) {
      for (const std::string& field : fields) {
        double ignored = 0;
        if (!parse_number(field, ignored)) {
          throw SweepLineError(line, "'" + field + "' is not a number");
        }
      }
    }
    if (numbers.size() != 3) {
      throw SweepLineError(line, "expected 3 numbers (frequency in MHz, R and X in ohms), got " +
                                     std::to_string(numbers.size()));
    }
    const std::complex<double> impedance(numbers[1], numbers[2]);
    if (impedance == 0.0)
      throw SweepLineError(line, "R = X = 0 is a short circuit: no probe reads so");
    points.push_back({numbers[0], quotient(1.0, impedance), line});
  }
  if (points.empty()) {
    throw SweepLineError(static_cast<long>(lines.empty() ? 1 : lines.size()),
                         "the file holds no data");
  }
  return points;
}

}  // namespace

SweepRead read_rx_csv(std::string_view text) {
  return points_or_line_error([text] { return read_rows(text); });
}

}  // namespace gndfit
