// SPDX-License-Identifier: MIT
#pragma once
// The text of one numeric field for one value: the field's layout (# places,
// point, fill, dollar, signs, separators, exponent carets, free format) and
// the work area the text is built in.  A number too wide for its field is
// written in full with % in front, or in exponent form when it is far too
// wide.
#include <cstdint>
#include <string>
#include <string_view>

#include "number/decimal_number.hpp"

namespace gndfit {

struct MaskField {
  std::int32_t int_places = 0;
  std::int32_t dec_places = -1;  // -1: no point
  char fill = ' ';
  bool dollar = false;
  bool sign_lead = false;
  bool sign_trail = false;
  bool plus = false;
  bool separators = false;
  int carets = 0;
  bool free_format = false;
};

// The mask state's work area: buffers reused from value to value, so that
// formatting allocates nothing once they have grown to the masks in use.
struct MaskWork {
  std::string integer;    // integer digits of the rounded value
  std::string separated;  // the same with thousands separators
  std::string decimals;   // decimal digits
  std::string mantissa;   // significant digits of the exponent form
  std::string text;       // the field's text
  std::string literals;   // a run of literal mask characters
  std::string line;       // literals, field and literals of one value
};

// Formats one value through one field; the text written for it, held in
// the work area until the next value.
std::string_view format_field(const MaskField& field, const DecimalNumber& number, MaskWork& work);
// The same for a binary value, as format_single and format_double write it,
// appended to `out`.
void append_value(const MaskField& field, double value, bool is_single, MaskWork& work,
                  std::string& out);

}  // namespace gndfit
