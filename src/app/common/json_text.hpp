// SPDX-License-Identifier: MIT
#pragma once
// JSON text: a writer of objects, arrays, names and values, strings
// escaped to ASCII.
#include <string>
#include <string_view>

namespace gndfit {

// One string as JSON: ASCII only, UTF-8 as the escapes of its code points.
void append_json_string(std::string& out, std::string_view text);

// JSON written in order, each separator placed by the writer: a comma
// before every member or element but the first of its object or array.
// Numbers in their shortest round-trip form at their own precision, null
// where JSON has no number (NaN, infinities).
class JsonWriter {
 public:
  JsonWriter& begin_object();
  JsonWriter& end_object();
  JsonWriter& begin_array();
  JsonWriter& end_array();
  // "name": before the member's value.
  JsonWriter& name(std::string_view name);
  JsonWriter& number(double value);
  // A single's own shortest text (13.1, not the 13.100000381469727 of the
  // same value widened to double).
  JsonWriter& number(float value);
  JsonWriter& integer(long long value);
  JsonWriter& boolean(bool value);
  JsonWriter& string(std::string_view text);
  JsonWriter& null();
  // `value`, or null where it is absent (a standard deviation of one
  // measurement, say).
  JsonWriter& number_or_null(bool present, double value);
  // A value already written as JSON by another writer.
  JsonWriter& json(std::string_view text);

  const std::string& text() const { return out_; }

 private:
  void separate();
  JsonWriter& open(char bracket);
  JsonWriter& close(char bracket);
  std::string out_;
  bool follows_value_ = false;  // a member or element before this one
};

}  // namespace gndfit
