// SPDX-License-Identifier: MIT
#include "number/shortest.hpp"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "number/ieee_format.hpp"
#include "platform/c_number.hpp"
#include "platform/library_chars.hpp"

namespace gndfit {

namespace {

// Room for the longest text: a sign, 17 digits, a point, e-308; or the
// plain form of a value below 1e40.
constexpr std::size_t kTextRoom = 64;

// A decimal as printf's %.*e gives it at `precision` significant digits:
// the digits (trailing zeros dropped, one digit kept) and the power of ten
// of the first.
struct DecimalDigits {
  bool negative = false;
  char digits[kTextRoom] = {};
  int count = 0;
  int exponent = 0;
  int precision = 0;
};

// Reads the exponent form [-]d[.ddd]e(+|-)XX.
DecimalDigits read_exponent_form(const char* first, const char* last) {
  DecimalDigits d;
  const char* p = first;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; *p != 'e'; ++p) {
    if (*p != '.') d.digits[d.count++] = *p;
  }
  ++p;
  const bool negative_exponent = *p++ == '-';
  int exponent = 0;
  for (; p != last; ++p) exponent = exponent * 10 + (*p - '0');
  d.exponent = negative_exponent ? -exponent : exponent;
  d.precision = d.count;
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
  return d;
}

// printf's %g layout of the digits at their precision: without the
// exponent when it is from -4 to below the precision, trailing zeros and a
// bare point dropped.
char* write_general_form(char* out, const DecimalDigits& d) {
  if (d.negative) *out++ = '-';
  const int x = d.exponent;
  if (x >= -4 && x < d.precision) {
    if (x < 0) {
      *out++ = '0';
      *out++ = '.';
      for (int i = -1; i > x; --i) *out++ = '0';
      for (int i = 0; i < d.count; ++i) *out++ = d.digits[i];
      return out;
    }
    for (int i = 0; i <= x; ++i) *out++ = i < d.count ? d.digits[i] : '0';
    if (d.count > x + 1) {
      *out++ = '.';
      for (int i = x + 1; i < d.count; ++i) *out++ = d.digits[i];
    }
    return out;
  }
  *out++ = d.digits[0];
  if (d.count > 1) {
    *out++ = '.';
    for (int i = 1; i < d.count; ++i) *out++ = d.digits[i];
  }
  *out++ = 'e';
  *out++ = x < 0 ? '-' : '+';
  const int magnitude = x < 0 ? -x : x;
  if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
  *out++ = static_cast<char>('0' + magnitude / 10 % 10);
  *out++ = static_cast<char>('0' + magnitude % 10);
  return out;
}

// printf's %.*e and %.*g of the value, from the C++ library where it has
// them (no locale, no format string to read), else from printf itself.
template <typename T>
char* exponent_form(char* out, T value, int precision) {
  if (char* end = library_exponent_form(out, out + kTextRoom, value, precision)) return end;
  const int n = std::snprintf(out, kTextRoom, "%.*e", precision, static_cast<double>(value));
  return out + n;
}
template <typename T>
char* general_form(char* out, T value, int precision) {
  if (char* end = library_general_form(out, out + kTextRoom, value, precision)) return end;
  const int n = std::snprintf(out, kTextRoom, "%.*g", precision, static_cast<double>(value));
  return out + n;
}

template <typename T>
T read_back(const char* text, const char* end) {
  T value{};
  if (library_read(text, end, value)) return value;
  if constexpr (sizeof(T) == sizeof(float)) {
    return parse_c_float(text);
  } else {
    return parse_c_double(text);
  }
}

// The nearest decimal of `digits`, `digits` + 1, ... significant digits
// until one reads back (the format's maximum always does).
template <typename T>
DecimalDigits first_that_reads_back(T value, int digits, int max_digits) {
  char text[kTextRoom];
  for (;; ++digits) {
    char* end = exponent_form(text, value, digits - 1);
    *end = '\0';
    if (digits == max_digits || read_back<T>(text, end) == value) {
      return read_exponent_form(text, end);
    }
  }
}

// The nearest decimal of the fewest digits that reads back.  The library's
// shortest digits are the nearest of their length that read back; they are
// the nearest of that length outright (what the search above finds) except
// at a power of two, whose lower neighbour is twice as close as its upper:
// there the nearest may not read back, and the search goes on from one
// digit more.
template <typename T>
DecimalDigits shortest_digits(T value, int max_digits) {
  char text[kTextRoom];
  const char* end = library_shortest_exponent_form(text, text + kTextRoom, value);
  if (end == nullptr) return first_that_reads_back(value, 1, max_digits);
  const DecimalDigits d = read_exponent_form(text, end);
  const IeeeFields f = ieee_fields(value);
  if (f.fraction != 0 || f.biased <= 1) return d;
  char nearest[kTextRoom];
  const char* nearest_end = exponent_form(nearest, value, d.count - 1);
  if (std::string_view(nearest, nearest_end - nearest) == std::string_view(text, end - text))
    return d;
  return first_that_reads_back(value, d.count + 1, max_digits);
}

template <typename T>
std::size_t write_shortest(char* out, T value, int max_digits) {
  char* const start = out;
  if (std::isnan(value) || std::isinf(value)) {
    if (std::signbit(value)) *out++ = '-';
    const char* word = std::isnan(value) ? "nan" : "inf";
    for (int i = 0; i < 3; ++i) *out++ = word[i];
    return static_cast<std::size_t>(out - start);
  }
  const DecimalDigits d = shortest_digits(value, max_digits);
  const std::size_t length = static_cast<std::size_t>(write_general_form(out, d) - start);
  // The same value without an exponent, where %g can show it so and that
  // is no longer (10 rather than 1e+01): the value's own digits to the
  // units, so 123456792 for the single nearest 123456789.
  if (d.exponent >= d.precision && d.exponent < 40) {  // beyond, the exponent form is shorter
    char plain[kTextRoom];
    const std::size_t plain_length =
        static_cast<std::size_t>(general_form(plain, value, d.exponent + 1) - plain);
    if (plain_length <= length) {
      for (std::size_t i = 0; i < plain_length; ++i) start[i] = plain[i];
      return plain_length;
    }
  }
  return length;
}

template <typename T>
void append_text(std::string& out, T value, int max_digits) {
  char text[kTextRoom];
  out.append(text, write_shortest(text, value, max_digits));
}

template <typename T>
std::string text_of(T value, int max_digits) {
  char text[kTextRoom];
  return std::string(text, write_shortest(text, value, max_digits));
}

}  // namespace

std::string shortest(double value) { return text_of(value, 17); }
std::string shortest(float value) { return text_of(value, 9); }
void append_shortest(std::string& out, double value) { append_text(out, value, 17); }
void append_shortest(std::string& out, float value) { append_text(out, value, 9); }

}  // namespace gndfit
