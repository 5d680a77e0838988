// SPDX-License-Identifier: MIT
#include "sweep/rx_csv_reader.hpp"

#include <optional>
#include <string>

#include "sweep/complex_quotient.hpp"
#include "sweep/sweep_text.hpp"

namespace gndfit {
namespace {

constexpr double kHighestUnnamedMhz = 1000.0;

char separator_of(std::string_view line) {
  if (line.find('\t') != std::string_view::npos) return '\t';
  if (line.find(';') != std::string_view::npos) return ';';
  return ',';
}

// The fields of a line, a field in double quotes keeping the separators
// inside it ("" being a quote); a decimal comma becomes a point where the
// separator is not a comma, or inside quotes.  Empty fields at the end
// (a spreadsheet's leftovers) are dropped.
std::vector<std::string> split_fields(std::string_view line, char separator) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted_field = false, in_quotes = false;
  const auto finish = [&] {
    std::string text(trim(field));
    if (separator != ',' || quoted_field) {
      for (char& c : text) {
        if (c == ',') c = '.';
      }
    }
    fields.push_back(std::move(text));
    field.clear();
    quoted_field = false;
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (in_quotes) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        in_quotes = false;
      }
    } else if (c == '"' && trim(field).empty()) {
      in_quotes = quoted_field = true;
      field.clear();
    } else if (c == separator) {
      finish();
    } else {
      field += c;
    }
  }
  finish();
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

// All fields numbers: false, and `numbers` partly filled, when one is not.
bool parse_fields(const std::vector<std::string>& fields, std::vector<double>& numbers) {
  numbers.assign(fields.size(), 0.0);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!parse_number(fields[i], numbers[i])) return false;
  }
  return true;
}

// A header field's name: its leading ASCII letters in lower case, after
// any '#' ("R (ohm)" is "r", "#Frequency(MHz)" "frequency"); the rest of
// the text, in whatever encoding, is not looked at.
std::string name_of(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == '#' || field[i] == ' ')) ++i;
  std::string name;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) break;
    name += static_cast<char>(c | 0x20);
  }
  return name;
}

// Hertz per unit of the frequency column from its header field
// ("Frequency(Hz)", "Freq [kHz]", "Frequency (GHz)"), or nothing.
std::optional<double> unit_of(std::string_view field) {
  const std::string text = lower_case(field);
  if (text.find("ghz") != std::string::npos) return 1e9;
  if (text.find("mhz") != std::string::npos) return 1e6;
  if (text.find("khz") != std::string::npos) return 1e3;
  if (text.find("hz") != std::string::npos) return 1.0;
  return std::nullopt;
}

// Where the three numbers are in a row, and the frequency's unit.
struct Columns {
  std::size_t frequency = 0, resistance = 1, reactance = 2;
  std::size_t count = 3;  // the fields of a row
  bool by_name = false;
  double hertz_per_unit = 1e6;
  bool unit_named = false;

  // As the Touchstone reader has it: exact for MHz, one rounding else.
  double in_mhz(double value) const {
    const double h = hertz_per_unit;
    return h >= 1e6 ? value * (h / 1e6) : value / (1e6 / h);
  }
};

Columns columns_of(const std::vector<std::string>& header, long line) {
  Columns columns;
  // More than three: the columns found by name, the frequency's by
  // default the first.
  std::optional<std::size_t> r, x;
  for (std::size_t i = 0; header.size() > 3 && i < header.size(); ++i) {
    const std::string name = name_of(header[i]);
    if (name.starts_with("freq") && columns.frequency == 0) columns.frequency = i;
    if (!r && (name == "rs" || name == "r" || name == "resistance")) r = i;
    if (!x && (name == "xs" || name == "x" || name == "reactance")) x = i;
  }
  if (columns.frequency < header.size()) {
    if (const std::optional<double> unit = unit_of(header[columns.frequency])) {
      columns.hertz_per_unit = *unit;
      columns.unit_named = true;
    }
  }
  if (header.size() <= 3) return columns;
  if (!r || !x) {
    throw SweepLineError(line, "a header of " + std::to_string(header.size()) +
                                   " columns names no R (Rs, R, Resistance) and X (Xs, X, "
                                   "Reactance) columns");
  }
  columns.resistance = *r;
  columns.reactance = *x;
  columns.count = header.size();
  columns.by_name = true;
  return columns;
}

// A spreadsheet's first line naming the separator: "sep=;".
std::optional<char> separator_line(std::string_view line) {
  std::string_view text = trim(line);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  if (text.size() == 5 && lower_case(text.substr(0, 4)) == "sep=") return text[4];
  return std::nullopt;
}

bool blank(const std::vector<std::string>& fields) {
  for (const std::string& f : fields) {
    if (!f.empty()) return false;
  }
  return true;
}

std::vector<SweepPoint> read_rows(std::string_view text) {
  const std::vector<std::string_view> lines = split_lines(text);
  std::vector<SweepPoint> points;
  std::optional<char> named_separator;
  char separator = 0;
  bool first = true;
  Columns columns;
  std::vector<double> numbers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const long line = static_cast<long>(i) + 1;
    if (trim(lines[i]).empty()) continue;
    if (first && !named_separator) {
      if ((named_separator = separator_line(lines[i]))) continue;
    }
    // The header's separator is its own: one analyser writes
    // "#Frequency(MHz);R;X" above comma-separated rows.
    const char this_separator = named_separator  ? *named_separator
                                : separator != 0 ? separator
                                                 : separator_of(lines[i]);
    const std::vector<std::string> fields = split_fields(lines[i], this_separator);
    if (blank(fields)) continue;  // a row of empty fields
    const bool numeric = parse_fields(fields, numbers);
    if (first && !numeric) {  // the header
      first = false;
      columns = columns_of(fields, line);
      continue;
    }
    first = false;
    separator = this_separator;
    if (!numeric) {
      for (const std::string& field : fields) {
        double ignored = 0;
        if (!parse_number(field, ignored)) {
          throw SweepLineError(line, quoted(field) + " is not a number");
        }
      }
    }
    if (numbers.size() != columns.count) {
      throw SweepLineError(line, columns.by_name
                                     ? "expected " + std::to_string(columns.count) +
                                           " numbers, as the header has columns, got " +
                                           std::to_string(numbers.size())
                                     : "expected 3 numbers (frequency in MHz, R and X in ohms), "
                                       "got " +
                                           std::to_string(numbers.size()));
    }
    const double frequency = columns.in_mhz(numbers[columns.frequency]);
    if (!columns.unit_named && frequency > kHighestUnnamedMhz) {
      throw SweepLineError(line, "the frequency " + brief_number(frequency) +
                                     " is above 1000 MHz: the file looks like kHz or Hz; a CSV "
                                     "without a unit is read in MHz, so name the unit with a "
                                     "header line such as 'Frequency (Hz),R,X'");
    }
    const std::complex<double> impedance(numbers[columns.resistance], numbers[columns.reactance]);
    if (impedance == 0.0)
      throw SweepLineError(line, "R = X = 0 is a short circuit: no probe reads so");
    points.push_back({frequency, quotient(1.0, impedance), line});
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
