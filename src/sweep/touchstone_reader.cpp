// SPDX-License-Identifier: MIT
#include "sweep/touchstone_reader.hpp"

#include <cmath>
#include <numbers>
#include <optional>

#include "sweep/complex_quotient.hpp"
#include "sweep/portable_math.hpp"
#include "sweep/sweep_text.hpp"

namespace gndfit {
namespace {

enum class Parameter { s, y, z };
enum class Format { db, ma, ri };

struct Options {
  double hertz_per_unit = 1e9;
  Parameter parameter = Parameter::s;
  Format format = Format::ma;
  double resistance = 50.0;
};

// The option line's words; each kind may be given once.
Options parse_option_line(std::string_view text, long line) {
  Options options;
  bool unit = false, parameter = false, format = false, resistance = false;
  const std::vector<std::string_view> words = split_blank(text.substr(1));
  auto once = [line](bool& seen, std::string_view word) {
    if (seen) throw SweepLineError(line, "option line: " + quoted(word) + " repeats a setting");
    seen = true;
  };
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string word = lower_case(words[i]);
    if (word == "hz" || word == "khz" || word == "mhz" || word == "ghz") {
      once(unit, words[i]);
      options.hertz_per_unit = word == "hz" ? 1.0 : word == "khz" ? 1e3 : word == "mhz" ? 1e6 : 1e9;
    } else if (word == "s" || word == "y" || word == "z") {
      once(parameter, words[i]);
      options.parameter = word == "s" ? Parameter::s : word == "y" ? Parameter::y : Parameter::z;
    } else if (word == "h" || word == "g") {
      throw SweepLineError(line,
                           "option line: " + shown_text(words[i]) +
                               " parameters describe a two-port; gndfit reads one-port sweeps");
    } else if (word == "db" || word == "ma" || word == "ri") {
      once(format, words[i]);
      options.format = word == "db" ? Format::db : word == "ma" ? Format::ma : Format::ri;
    } else if (word == "r") {
      once(resistance, words[i]);
      if (i + 1 == words.size() || !parse_number(words[i + 1], options.resistance) ||
          !(options.resistance > 0.0)) {
        throw SweepLineError(line, "option line: R needs a positive resistance in ohms");
      }
      ++i;
    } else {
      throw SweepLineError(line, "option line: unknown word " + quoted(words[i]));
    }
  }
  return options;
}

std::complex<double> pair_value(Format format, double a, double b) {
  const double radians = b * std::numbers::pi / 180.0;
  switch (format) {
    case Format::db:
      return portable::polar(portable::from_decibels(a), radians);
    case Format::ma:
      return portable::polar(a, radians);
    case Format::ri:
      break;
  }
  return {a, b};
}

// The admittance a parameter value stands for.  `normalised`: version 1's
// Z and Y, given as z/R and y*R.
std::complex<double> admittance(const Options& options, std::complex<double> value, bool normalised,
                                long line) {
  const double r = options.resistance;
  switch (options.parameter) {
    case Parameter::s:
      if (value == std::complex<double>(-1.0, 0.0)) {
        throw SweepLineError(line, "S = -1 is a short circuit: no probe reads so");
      }
      return quotient(1.0 - value, r * (1.0 + value));
    case Parameter::y:
      return normalised ? value / r : value;
    case Parameter::z:
      if (value == 0.0) throw SweepLineError(line, "Z = 0 is a short circuit: no probe reads so");
      return quotient(1.0, normalised ? value * r : value);
  }
  return {};
}

// The text of a line before its comment.
std::string_view without_comment(std::string_view line) {
  return trim(line.substr(0, line.find('!')));
}

class Reader {
 public:
  explicit Reader(std::string_view text) : lines_(split_lines(text)) {}

  std::vector<SweepPoint> read() {
    next_content();
    if (at_end()) throw SweepLineError(line_number(), "the file holds no option line and no data");
    if (is_keyword(current(), "[version]")) {
      read_version();
    } else {
      read_version_1();
    }
    return std::move(points_);
  }

 private:
  bool at_end() const { return index_ >= lines_.size(); }
  long line_number() const {
    return static_cast<long>(std::min(index_, lines_.empty() ? 0 : lines_.size() - 1)) + 1;
  }
  std::string_view current() const { return without_comment(lines_[index_]); }
  // On to the next line with something on it other than a comment.
  void next_content() {
    while (!at_end() && current().empty()) ++index_;
  }
  void advance() {
    ++index_;
    next_content();
  }
  static bool is_keyword(std::string_view text, std::string_view keyword) {
    return lower_case(text.substr(0, keyword.size())) == keyword;
  }
  static std::string keyword_of(std::string_view text) {
    return shown_text(text.substr(0, text.find(']') + 1));
  }
  std::string_view argument(std::string_view text) const {
    return trim(text.substr(text.find(']') + 1));
  }

  void read_version_1() {
    if (current()[0] != '#') {
      throw SweepLineError(line_number(),
                           "expected the option line ('# MHz S MA R 50' or the like)");
    }
    options_ = parse_option_line(current(), line_number());
    advance();
    for (; !at_end(); advance()) {
      // Option lines after the first are ignored, as version 1 has it.
      if (current()[0] == '#') continue;
      if (current()[0] == '[') {
        throw SweepLineError(
            line_number(), "keyword " + keyword_of(current()) + " in a file without [Version] 2.0");
      }
      read_row(true);
    }
    if (points_.empty()) throw SweepLineError(line_number(), "the file holds no data");
  }

  void read_version() {
    const std::string_view version = argument(current());
    if (version != "2.0" && version != "2.1") {
      throw SweepLineError(line_number(), "[Version] " + shown_text(version) +
                                              ": gndfit reads Touchstone 1 and 2.0");
    }
    advance();
    if (at_end() || current()[0] != '#') {
      throw SweepLineError(line_number(), "expected the option line after [Version]");
    }
    options_ = parse_option_line(current(), line_number());
    advance();
    read_keywords();
    read_network_data();
  }

  // The keywords between the option line and [Network Data].
  void read_keywords() {
    std::optional<long> frequencies;
    bool ports = false;
    for (; !at_end(); advance()) {
      const std::string_view text = current();
      if (is_keyword(text, "[network data]")) break;
      if (is_keyword(text, "[number of ports]")) {
        double n = 0;
        if (!parse_number(argument(text), n) || n != 1.0) {
          throw SweepLineError(line_number(), "[Number of Ports] " + shown_text(argument(text)) +
                                                  ": gndfit reads one-port sweeps");
        }
        ports = true;
      } else if (is_keyword(text, "[number of frequencies]")) {
        double n = 0;
        if (!parse_number(argument(text), n) || !(n >= 1.0) || n != std::floor(n)) {
          throw SweepLineError(line_number(),
                               "[Number of Frequencies] needs a whole number above 0");
        }
        frequencies = static_cast<long>(n);
      } else if (is_keyword(text, "[reference]")) {
        read_reference(argument(text));
      } else if (is_keyword(text, "[matrix format]")) {
        const std::string form = lower_case(argument(text));
        if (form != "full" && form != "lower" && form != "upper") {
          throw SweepLineError(line_number(), "[Matrix Format] must be Full, Lower or Upper");
        }
      } else if (is_keyword(text, "[begin information]")) {
        skip_to("[end information]");
      } else if (is_keyword(text, "[two-port data order]") ||
                 is_keyword(text, "[number of noise frequencies]") ||
                 is_keyword(text, "[mixed-mode order]")) {
        throw SweepLineError(line_number(),
                             keyword_of(text) + " belongs to a file of more than one port");
      } else {
        throw SweepLineError(line_number(),
                             "unknown keyword or line " + quoted(text) + " before [Network Data]");
      }
    }
    if (!ports) throw SweepLineError(line_number(), "the file has no [Number of Ports]");
    if (!frequencies)
      throw SweepLineError(line_number(), "the file has no [Number of Frequencies]");
    expected_frequencies_ = *frequencies;
  }

  // [Reference]: one resistance for the one port, on its line or the next.
  void read_reference(std::string_view rest) {
    if (rest.empty()) {
      advance();
      if (at_end()) throw SweepLineError(line_number(), "[Reference] needs a resistance");
      rest = current();
    }
    const std::vector<std::string_view> values = split_blank(rest);
    if (values.size() != 1 || !parse_number(values[0], options_.resistance) ||
        !(options_.resistance > 0.0)) {
      throw SweepLineError(line_number(),
                           "[Reference] needs one positive resistance for the one port");
    }
  }

  void skip_to(std::string_view keyword) {
    const long start = line_number();
    for (advance(); !at_end(); advance()) {
      if (is_keyword(current(), keyword)) return;
    }
    throw SweepLineError(start, "no " + std::string(keyword) + " after this line");
  }

  void read_network_data() {
    if (at_end()) throw SweepLineError(line_number(), "the file has no [Network Data]");
    const long keyword_line = line_number();
    for (advance(); !at_end(); advance()) {
      const std::string_view text = current();
      if (text[0] == '[') {
        if (is_keyword(text, "[end]")) break;
        if (is_keyword(text, "[noise data]")) {
          throw SweepLineError(line_number(), "[Noise Data] belongs to a two-port file");
        }
        throw SweepLineError(line_number(),
                             "keyword " + keyword_of(text) + " inside [Network Data]");
      }
      read_row(false);
    }
    if (at_end()) throw SweepLineError(line_number(), "the file ends without [End]");
    if (points_.empty()) throw SweepLineError(keyword_line, "[Network Data] holds no data");
    if (static_cast<long>(points_.size()) != expected_frequencies_) {
      throw SweepLineError(line_number(), "[Number of Frequencies] is " +
                                              std::to_string(expected_frequencies_) + " but " +
                                              std::to_string(points_.size()) + " rows were read");
    }
  }

  // Scaled by a power of ten exactly where it can be: 1.8 MHz stays 1.8.
  double in_mhz(double frequency) const {
    const double h = options_.hertz_per_unit;
    return h >= 1e6 ? frequency * (h / 1e6) : frequency / (1e6 / h);
  }

  void read_row(bool normalised) {
    const long line = line_number();
    const std::vector<std::string_view> fields = split_blank(current());
    double numbers[3] = {};
    for (std::size_t i = 0; i < fields.size() && i < 3; ++i) {
      if (!parse_number(fields[i], numbers[i])) {
        throw SweepLineError(line, quoted(fields[i]) + " is not a number");
      }
    }
    if (fields.size() == 9) {
      throw SweepLineError(line,
                           "9 numbers on a row: a two-port file; gndfit reads one-port sweeps");
    }
    if (fields.size() != 3) {
      throw SweepLineError(line, "expected 3 numbers (frequency and one parameter), got " +
                                     std::to_string(fields.size()));
    }
    const std::complex<double> value = pair_value(options_.format, numbers[1], numbers[2]);
    points_.push_back({in_mhz(numbers[0]), admittance(options_, value, normalised, line), line,
                       options_.resistance});
  }

  std::vector<std::string_view> lines_;
  std::size_t index_ = 0;
  Options options_;
  long expected_frequencies_ = 0;
  std::vector<SweepPoint> points_;
};

}  // namespace

SweepRead read_touchstone(std::string_view text) {
  return points_or_line_error([text] { return Reader(text).read(); });
}

}  // namespace gndfit
