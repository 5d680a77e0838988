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

namespace {

template <typename T>
void append_finite_or_null(std::string& out, T value) {
  out += std::isfinite(value) ? shortest(value) : "null";
}

}  // namespace

void append_json_number(std::string& out, double value) { append_finite_or_null(out, value); }

void append_json_number(std::string& out, float value) { append_finite_or_null(out, value); }

void append_json_name(std::string& out, std::string_view name) {
  if (!out.empty() && out.back() != '{') out += ',';
  append_json_string(out, name);
  out += ':';
}

void append_json_field(std::string& out, std::string_view name, double value) {
  append_json_name(out, name);
  append_json_number(out, value);
}

void append_json_field(std::string& out, std::string_view name, float value) {
  append_json_name(out, name);
  append_json_number(out, value);
}

}  // namespace gndfit
