// SPDX-License-Identifier: MIT
#include "app/common/json_text.hpp"

#include <cmath>
#include <cstdio>

#include "number/shortest.hpp"

namespace gndfit {

namespace {

void append_escape(std::string& out, unsigned code) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", code);
  out += escape;
}

bool continuation(std::string_view text, std::size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at `at` (2 to 4 bytes, no
// overlong form, no surrogate, nothing above U+10FFFF) and its code point;
// 0 when there is none.
std::size_t utf8_sequence(std::string_view text, std::size_t at, unsigned& code) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  unsigned low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + 1 >= text.size()) return 0;
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if (!continuation(text, at + i)) return 0;
    code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
  }
  return length;
}

}  // namespace

// ASCII only: UTF-8 text (file names, say) as the \u escapes of its code
// points; a byte that is not part of well-formed UTF-8 as the code point
// of the same number, so that any bytes still give valid JSON.
void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    unsigned code = 0;
    if (c == '"' || c == '\\') {
      out += '\\';
      out += text[i];
    } else if (c < 0x20 || c == 0x7F) {
      append_escape(out, c);
    } else if (c < 0x80) {
      out += text[i];
    } else if (const std::size_t length = utf8_sequence(text, i, code); length > 0) {
      if (code >= 0x10000) {  // a surrogate pair
        append_escape(out, 0xD800 + ((code - 0x10000) >> 10));
        append_escape(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        append_escape(out, code);
      }
      i += length - 1;
    } else {
      append_escape(out, c);
    }
  }
  out += '"';
}

namespace {

template <typename T>
std::string finite_or_null(T value) {
  return std::isfinite(value) ? shortest(value) : "null";
}

}  // namespace

void JsonWriter::separate() {
  if (follows_value_) out_ += ',';
  follows_value_ = true;
}

JsonWriter& JsonWriter::open(char bracket) {
  separate();
  out_ += bracket;
  follows_value_ = false;
  return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
  out_ += bracket;
  follows_value_ = true;
  return *this;
}

JsonWriter& JsonWriter::begin_object() { return open('{'); }
JsonWriter& JsonWriter::end_object() { return close('}'); }
JsonWriter& JsonWriter::begin_array() { return open('['); }
JsonWriter& JsonWriter::end_array() { return close(']'); }

// The name's own separator; its value then follows with none.
JsonWriter& JsonWriter::name(std::string_view name) {
  separate();
  append_json_string(out_, name);
  out_ += ':';
  follows_value_ = false;
  return *this;
}

JsonWriter& JsonWriter::number(double value) {
  separate();
  out_ += finite_or_null(value);
  return *this;
}

JsonWriter& JsonWriter::number(float value) {
  separate();
  out_ += finite_or_null(value);
  return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
  separate();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
  separate();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
  separate();
  append_json_string(out_, text);
  return *this;
}

JsonWriter& JsonWriter::null() {
  separate();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::number_or_null(bool present, double value) {
  return present ? number(value) : null();
}

JsonWriter& JsonWriter::json(std::string_view text) {
  separate();
  out_ += text;
  return *this;
}

}  // namespace gndfit
