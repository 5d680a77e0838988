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

namespace {

constexpr std::size_t kMostShownCharacters = 40;

// The length of the UTF-8 sequence at the start of `text`, 0 when it is
// not one (a stray continuation byte, an overlong form, a surrogate, past
// U+10FFFF, or cut short).
std::size_t utf8_length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned long least = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2, least = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3, least = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4, least = 0x10000;
  else
    return 0;
  if (text.size() < length) return 0;
  unsigned long code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void append_escaped(std::string& out, std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += "\\x";
    out += digits[b >> 4];
    out += digits[b & 15];
  }
}

}  // namespace

std::string shown_text(std::string_view text) {
  std::string shown;
  std::size_t characters = 0;
  while (!text.empty()) {
    if (characters == kMostShownCharacters) return shown + "...";
    const std::size_t length = utf8_length(text);
    const std::string_view character = text.substr(0, length == 0 ? 1 : length);
    const auto lead = static_cast<unsigned char>(character[0]);
    const bool control =
        lead < 0x20 || lead == 0x7F ||
        (lead == 0xC2 && length == 2 && static_cast<unsigned char>(character[1]) < 0xA0);  // C1
    if (length == 0 || control) {
      append_escaped(shown, character);
    } else {
      shown += character;
    }
    text.remove_prefix(character.size());
    ++characters;
  }
  return shown;
}

std::string quoted(std::string_view text) {
  std::string shown = "'";
  shown += shown_text(text);
  shown += '\'';
  return shown;
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
