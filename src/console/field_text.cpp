// SPDX-License-Identifier: MIT
#include "console/field_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "number/exact_rounding.hpp"

namespace gndfit {
namespace {

constexpr int kFallbackCarets = 3;
// Non-finite values are laid out as the number 1.1234 with their own sign;
// the digits after the 1 are then replaced.
constexpr std::uint64_t kNonFiniteDigits = 11234;
constexpr std::int32_t kNonFiniteExponent = -4;

// The digits of n, without leading zeros; empty for 0.
std::string_view digits_of(std::uint64_t n, char (&buffer)[20]) {
  if (n == 0) return {};
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
  return {buffer, static_cast<std::size_t>(end - buffer)};
}

// The rounded number as digit strings in the work area: integer digits
// without leading zeros (empty when the integer part is 0) and exactly
// `decimals` decimal digits.
void round_to_decimals(std::uint64_t digits, std::int32_t exponent, int decimals, MaskWork& w) {
  std::uint64_t rounded = digits;
  std::int64_t scale = exponent;
  const std::int64_t drop = -std::int64_t{exponent} - decimals;
  if (drop > 0) {
    rounded = drop > 19 ? 0 : drop_digits_half_up(digits, static_cast<int>(drop));
    scale = -decimals;
  }
  char buffer[20];
  const std::string_view s = digits_of(rounded, buffer);
  w.integer.clear();
  w.decimals.clear();
  const auto wanted = static_cast<std::size_t>(decimals);
  if (scale >= 0) {
    if (!s.empty()) {
      w.integer.append(s);
      w.integer.append(static_cast<std::size_t>(scale), '0');
    }
    w.decimals.append(wanted, '0');
    return;
  }
  const auto fraction = static_cast<std::size_t>(-scale);
  if (s.size() <= fraction) {
    w.decimals.append(fraction - s.size(), '0');
    w.decimals.append(s);
  } else {
    w.integer.append(s.substr(0, s.size() - fraction));
    w.decimals.append(s.substr(s.size() - fraction));
  }
  w.decimals.append(wanted - fraction, '0');
}

const std::string& with_separators(const std::string& integer, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < integer.size(); ++i) {
    if (i > 0 && (integer.size() - i) % 3 == 0) out += ',';
    out += integer[i];
  }
  return out;
}

const char* non_finite_tag(DecimalNumber::Kind kind) {
  switch (kind) {
    case DecimalNumber::Kind::infinite:
      return "#INF";
    case DecimalNumber::Kind::indefinite:
      return "#IND";
    default:
      return "#NAN";
  }
}

// Replaces the decimals shown after the leading 1 of a non-finite value;
// returns whether % must be written in front.
bool mark_non_finite(std::string& decimals, DecimalNumber::Kind kind) {
  if (decimals.size() >= 4) {
    const std::size_t zeros = decimals.size() - 4;
    decimals = non_finite_tag(kind);
    decimals.append(zeros, '0');
    return false;
  }
  if (!decimals.empty()) {
    const std::size_t zeros = decimals.size() - 1;
    decimals = "$";
    decimals.append(zeros, '0');
  }
  return true;
}

// Appends the mantissa part of a field (integer digits, point, decimals)
// with the leading zero, the dollar, the sign in front and the fill, over
// `places`.
void assemble(const MaskField& f, MaskWork& w, int places, bool negative) {
  const std::string& integer = f.separators ? with_separators(w.integer, w.separated) : w.integer;
  int used = static_cast<int>(integer.size());
  const bool leading_zero = integer.empty() && places - used >= 1;
  if (leading_zero) ++used;
  std::string& text = w.text;
  text.append(static_cast<std::size_t>(std::max(0, places - used)), f.fill);
  if (!f.sign_trail) {
    if (negative)
      text += '-';
    else if (f.sign_lead)
      text += '+';
  }
  if (f.dollar) text += '$';
  if (leading_zero) text += '0';
  text += integer;
  if (f.dec_places >= 0) {
    text += '.';
    text += w.decimals;
  }
}

void append_trailing_sign(const MaskField& f, bool negative, std::string& text) {
  if (f.sign_trail) text += negative ? '-' : f.plus ? '+' : ' ';
}

int digit_places(const MaskField& f, bool negative) {
  return negative && !f.sign_lead && !f.sign_trail ? f.int_places - 1 : f.int_places;
}

// The text starts with a place for the % that marks an overflow.
void start_text(MaskWork& w) { w.text.assign(1, '%'); }
std::string_view finish_text(const MaskWork& w, bool percent) {
  return std::string_view(w.text).substr(percent ? 0 : 1);
}

// The `significant` digits of the exponent form's mantissa, rounded half up
// (a carry to 10^significant keeps the count), into w.mantissa; the
// exponent that goes with them once `decimals` of them follow the point.
std::int64_t round_mantissa(const DecimalNumber& n, int significant, int decimals, MaskWork& w) {
  std::string& mantissa = w.mantissa;
  mantissa.clear();
  char buffer[20];
  if (n.digits == 0) return 0;
  if (significant <= 0) return std::int64_t{n.exponent} + decimal_digit_count(n.digits);
  const int count = decimal_digit_count(n.digits);
  if (count <= significant) {
    mantissa.append(digits_of(n.digits, buffer));
    mantissa.append(static_cast<std::size_t>(significant - count), '0');
    return std::int64_t{n.exponent} - (significant - count) + decimals;
  }
  std::uint64_t m = drop_digits_half_up(n.digits, count - significant);
  std::int64_t e = std::int64_t{n.exponent} + count - significant;
  if (decimal_digit_count(m) > significant) {  // carry to 10^significant
    m /= 10;
    ++e;
  }
  mantissa.append(digits_of(m, buffer));
  return e + decimals;
}

// "E", the sign and the exponent's digits, `exponent_digits` wide (a % in
// front where they do not fit).
void append_exponent(std::string& text, std::int64_t exponent, int exponent_digits) {
  char buffer[20];
  const std::string_view magnitude =
      digits_of(static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent), buffer);
  const std::size_t magnitude_size = std::max<std::size_t>(1, magnitude.size());
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  if (static_cast<int>(magnitude_size) > exponent_digits) {
    text += '%';
  } else {
    text.append(static_cast<std::size_t>(exponent_digits) - magnitude_size, '0');
  }
  if (magnitude.empty()) text += '0';
  text += magnitude;
}

std::string_view exponent_form(const MaskField& f, const DecimalNumber& n, bool fallback,
                               MaskWork& w) {
  const bool non_finite = n.kind != DecimalNumber::Kind::finite;
  const int decimals = std::max(0, f.dec_places);
  bool percent = fallback;
  int places = digit_places(f, n.negative);
  if (places == -1 || (places == 0 && decimals == 0)) {
    ++places;
    percent = true;
  }
  int significant = places + decimals;
  if (!n.negative && !f.sign_lead && !f.sign_trail && places > 0 && significant > 1) {
    --significant;
  }
  const std::int64_t exponent = round_mantissa(n, significant, decimals, w);
  const std::string& mantissa = w.mantissa;
  w.integer.clear();
  w.decimals.clear();
  if (mantissa.empty()) {
    w.decimals.append(static_cast<std::size_t>(decimals), '0');
  } else {
    const std::size_t int_count = mantissa.size() - static_cast<std::size_t>(decimals);
    w.integer.append(mantissa, 0, int_count);
    w.decimals.append(mantissa, int_count);
  }
  if (non_finite) percent |= mark_non_finite(w.decimals, n.kind);

  start_text(w);
  assemble(f, w, places, n.negative);
  append_exponent(w.text, exponent, fallback ? 1 : f.carets - 2);
  if (fallback) w.text.append(static_cast<std::size_t>(f.carets), '^');
  append_trailing_sign(f, n.negative, w.text);
  return finish_text(w, percent);
}

// The width the rounded integer digits take in the field.
int integer_width(const MaskField& f, const MaskWork& w) {
  int width = static_cast<int>(w.integer.size());
  if (f.separators && width > 0) width += (width - 1) / 3;
  return width;
}

// The fixed form once the rounded digits are in the work area.
std::string_view fixed_text(const MaskField& f, bool negative, DecimalNumber::Kind kind, int width,
                            MaskWork& w) {
  const int places = digit_places(f, negative);
  const bool overflow = width > places;
  bool percent = overflow;
  if (kind != DecimalNumber::Kind::finite) percent |= mark_non_finite(w.decimals, kind);
  start_text(w);
  assemble(f, w, overflow ? width : places, negative);
  w.text.append(static_cast<std::size_t>(f.carets), '^');
  append_trailing_sign(f, negative, w.text);
  return finish_text(w, percent);
}

std::string_view fixed_form(const MaskField& f, const DecimalNumber& n, MaskWork& w) {
  const int decimals = std::max(0, f.dec_places);
  round_to_decimals(n.digits, n.exponent, decimals, w);
  const int width = integer_width(f, w);
  if (width > digit_places(f, n.negative) + 3) return exponent_form(f, n, true, w);
  return fixed_text(f, n.negative, n.kind, width, w);
}

// The text of a plain field (# places and a point only, blank fill) for a
// value already rounded to its decimals, appended in one go; false where the
// field or the value needs more than that (an overflow, a sign, a comma).
bool append_plain_text(const MaskField& f, std::uint64_t rounded, bool negative,
                       std::string& text) {
  if (f.fill != ' ' || f.dollar || f.sign_lead || f.sign_trail || f.separators || f.carets != 0 ||
      negative) {
    return false;
  }
  char buffer[20];
  const std::string_view digits = digits_of(rounded, buffer);
  const auto decimals = static_cast<std::size_t>(std::max(0, f.dec_places));
  const std::size_t integer = digits.size() > decimals ? digits.size() - decimals : 0;
  const auto places = static_cast<std::size_t>(f.int_places);
  if (integer > places) return false;  // overflow: the general path marks it
  const bool leading_zero = integer == 0 && places >= 1;
  const std::size_t zeros = digits.size() < decimals ? decimals - digits.size() : 0;
  const std::size_t size = places + (f.dec_places >= 0 ? 1 + decimals : 0);
  if (size > 64) return false;  // wide fields take the general path
  char field[64];
  char* at = std::fill_n(field, places - integer - (leading_zero ? 1 : 0), ' ');
  if (leading_zero) *at++ = '0';
  at = std::copy_n(digits.data(), integer, at);
  if (f.dec_places >= 0) {
    *at++ = '.';
    at = std::fill_n(at, zeros, '0');
    at = std::copy(digits.begin() + static_cast<std::ptrdiff_t>(integer), digits.end(), at);
  }
  text.append(field, static_cast<std::size_t>(at - field));
  return true;
}

// Free format: up to 7 significant digits for a single and 16 for a double,
// no trailing zeros, fixed notation in the middle range.
void free_form(const DecimalNumber& n, MaskWork& w) {
  std::string& text = w.text;
  text.clear();
  if (n.negative) text += '-';
  if (n.kind != DecimalNumber::Kind::finite) {
    text += "1.";
    text += non_finite_tag(n.kind);
    return;
  }
  if (n.digits == 0) {
    text += '0';
    return;
  }
  const int keep = n.is_single ? 7 : 16;
  std::uint64_t m = n.digits;
  std::int64_t e = n.exponent;
  const int count = decimal_digit_count(m);
  if (count > keep) {
    m = drop_digits_half_up(m, count - keep);
    e += count - keep;
  }
  while (m % 10 == 0) {
    m /= 10;
    ++e;
  }
  char buffer[20];
  const std::string_view s = digits_of(m, buffer);
  const std::int64_t magnitude =
      e + static_cast<std::int64_t>(s.size()) - 1;  // power of the first digit
  const std::int64_t upper = n.is_single ? 7 : 16;
  if (magnitude >= -3 && magnitude < upper) {
    round_to_decimals(m, static_cast<std::int32_t>(e),
                      static_cast<int>(std::max<std::int64_t>(0, -e)), w);
    text += w.integer.empty() ? "0" : w.integer;
    if (!w.decimals.empty()) {
      text += '.';
      text += w.decimals;
    }
    return;
  }
  text += s.substr(0, 1);
  text += '.';
  text += s.substr(1);
  const std::int64_t shown = magnitude < 0 ? -magnitude : magnitude;
  text += 'E';
  text += magnitude < 0 ? '-' : '+';
  if (shown < 10) text += '0';
  text += digits_of(static_cast<std::uint64_t>(shown), buffer);
}

}  // namespace

std::string_view format_field(const MaskField& field, const DecimalNumber& number, MaskWork& work) {
  DecimalNumber n = number;
  if (n.kind != DecimalNumber::Kind::finite && !field.free_format) {
    n.digits = kNonFiniteDigits;
    n.exponent = kNonFiniteExponent;
  }
  if (field.free_format) {
    free_form(n, work);
    return work.text;
  }
  if (field.carets >= kFallbackCarets) return exponent_form(field, n, false, work);
  return fixed_form(field, n, work);
}

void append_value(const MaskField& field, double value, bool is_single, MaskWork& work,
                  std::string& out) {
  // A fixed field of a finite value: from the binary value when that is
  // certain to give the same digits, which spares the decimal conversion.
  if (!field.free_format && field.carets < kFallbackCarets) {
    std::uint64_t rounded = 0;
    const int decimals = std::max(0, field.dec_places);
    if (round_scaled_exactly(value, decimals, rounded)) {
      const bool negative = std::signbit(value);
      if (append_plain_text(field, rounded, negative, out)) return;
      round_to_decimals(rounded, -decimals, decimals, work);
      const int width = integer_width(field, work);
      if (width <= digit_places(field, negative) + 3) {
        out += fixed_text(field, negative, DecimalNumber::Kind::finite, width, work);
        return;
      }
    }
  }
  out += format_field(field, to_decimal(value, is_single), work);
}

}  // namespace gndfit
