// SPDX-License-Identifier: MIT
#include "sweep/sweep_text.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "number/decimal_text.hpp"

namespace gndfit {

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool parse_number(std::string_view field, double& value) {
  if (!field.empty() && field[0] == '+') field.remove_prefix(1);
  // Only what a decimal number is made of: no "inf", "nan" or hexadecimal.
  return read_decimal(field, value);
}

std::string_view trim(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = field.find_last_not_of(" \t");
  return field.substr(first, last - first + 1);
}

std::vector<std::string_view> split_blank(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (true) {
    i = line.find_first_not_of(" \t", i);
    if (i == std::string_view::npos) return fields;
    const std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
    fields.push_back(line.substr(i, end - i));
    i = end;
  }
}

std::string lower_case(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string brief_number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string frequency_range_text(double lowest_mhz, double highest_mhz, std::size_t count) {
  if (count == 1) return "at " + brief_number(lowest_mhz) + " MHz (1 point)";
  return "from " + brief_number(lowest_mhz) + " to " + brief_number(highest_mhz) + " MHz (" +
         std::to_string(count) + " points)";
}

}  // namespace gndfit
