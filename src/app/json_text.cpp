// SPDX-License-Identifier: MIT
#include "app/json_text.hpp"

#include <cmath>
#include <cstdio>

#include "number/shortest.hpp"

namespace gndfit {

void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += ch;
    }
  }
  out += '"';
}

void append_json_number(std::string& out, double value) {
  out += std::isfinite(value) ? shortest(value) : "null";
}

void append_json_name(std::string& out, std::string_view name) {
  if (!out.empty() && out.back() != '{') out += ',';
  append_json_string(out, name);
  out += ':';
}

}  // namespace gndfit
