// SPDX-License-Identifier: MIT
#pragma once
// Text helpers shared by the sweep readers: lines with any of the line
// ends analysers write, strict numbers, words compared without case.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sweep/sweep_point.hpp"

namespace gndfit {

// The lines of `text` without their ends: LF, CR LF or a lone CR.
std::vector<std::string_view> split_lines(std::string_view text);

// A whole field as a finite decimal number (an optional sign, digits, a
// point, an exponent); false for anything else, "nan" and "inf" included.
bool parse_number(std::string_view field, double& value);

// `field` without the spaces and tabs around it.
std::string_view trim(std::string_view field);

// The fields of `line` separated by runs of spaces and tabs.
std::vector<std::string_view> split_blank(std::string_view line);

std::string lower_case(std::string_view word);

// Thrown inside the readers and turned into a SweepRead's failure at
// their boundary.
class SweepLineError : public std::runtime_error {
 public:
  SweepLineError(long line, const std::string& reason) : std::runtime_error(reason), line_(line) {}
  long line() const { return line_; }

 private:
  long line_;
};

// That boundary: the points `read_points()` returns, or the error it
// throws with its line.
template <typename ReadPoints>
SweepRead points_or_line_error(ReadPoints read_points) {
  try {
    return read_points();
  } catch (const SweepLineError& e) {
    return Failure{Location{"", e.line()}, e.what()};
  }
}

// A file's text as a message may show it: at most 40 characters of it
// (a character being a whole UTF-8 sequence or a byte that is not one,
// counted before escaping; "..." where it is cut), with control bytes,
// C1 controls and bytes that are not UTF-8 written as \xNN, so that no
// text of a file reaches the terminal raw.
std::string shown_text(std::string_view text);
// The same in single quotes.
std::string quoted(std::string_view text);

// The text of a number for a message: at most 6 significant digits.
std::string brief_number(double value);

// Some points' frequencies for a message: "from 6.2 to 30 MHz (41 points)",
// or "at 6.2 MHz (1 point)".
std::string frequency_range_text(double lowest_mhz, double highest_mhz, std::size_t count);

}  // namespace gndfit
