// SPDX-License-Identifier: MIT
#include "console/input_source.hpp"

#include <cstdlib>
#include <type_traits>

#include "platform/c_number.hpp"

namespace gndfit {
namespace {

bool is_blank(int c) { return c == ' ' || c == '\t'; }

int digit_value(int c, int radix) {
  int v = 99;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  return v < radix ? v : -1;
}

// Integer conversion in the width of T, wrapping for radix forms
// (&H hex, &O or & octal, &B binary) and exact for the short decimal forms.
template <typename T>
T convert_integer(const char* text, int length) {
  using U = std::make_unsigned_t<T>;
  int i = 0;
  while (i < length && text[i] == ' ') ++i;
  const int left = length - i;
  if (left <= 0) return 0;
  U value = 0;
  if (left >= 2 && text[i] == '&') {
    int radix = 8;
    int start = i + 1;
    switch (text[i + 1]) {
      case 'H':
      case 'h':
        radix = 16;
        start = i + 2;
        break;
      case 'O':
      case 'o':
        radix = 8;
        start = i + 2;
        break;
      case 'B':
      case 'b':
        radix = 2;
        start = i + 2;
        break;
      default:
        break;
    }
    for (int j = start; j < length; ++j) {
      const int d = digit_value(static_cast<unsigned char>(text[j]), radix);
      if (d < 0) break;
      value = static_cast<U>(value * static_cast<U>(radix) + static_cast<U>(d));
    }
    return static_cast<T>(value);
  }
  while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = static_cast<U>(value * 10u + static_cast<U>(text[i] - '0'));
  }
  return negative ? static_cast<T>(U{0} - value) : static_cast<T>(value);
}

}  // namespace

std::int32_t convert_int32(const char* text, int length) {
  return convert_integer<std::int32_t>(text, length);
}

std::int64_t convert_int64(const char* text, int length) {
  return convert_integer<std::int64_t>(text, length);
}

// strtod gives the nearest double with ties to even, and takes hex floats,
// INF, INFINITY and NAN(...).  The program never changes the numeric locale,
// so its decimal point stays '.'.
double convert_real(const char* text) { return parse_c_double(text); }

void InputSource::use_line(std::string line) {
  stream_ = false;
  line_ = std::move(line);
  read_pos_ = 0;
}

void InputSource::use_stream() {
  stream_ = true;
  line_.clear();
  read_pos_ = 0;
}

bool InputSource::line_has_field() {
  const auto size = static_cast<std::int32_t>(line_.size());
  while (read_pos_ < size && is_blank(static_cast<unsigned char>(line_[static_cast<std::size_t>(read_pos_)])))
    ++read_pos_;
  return read_pos_ < size;
}

int InputSource::source_get() {
  if (stream_) {
    if (given_back_count_ > 0) return given_back_[--given_back_count_];
    return device_ != nullptr ? device_->read_stdin_byte() : kEndOfData;
  }
  if (read_pos_ >= static_cast<std::int32_t>(line_.size())) return kEndOfData;
  return static_cast<unsigned char>(line_[static_cast<std::size_t>(read_pos_++)]);
}

void InputSource::source_unget(int byte) {
  if (stream_) {
    if (byte != kEndOfData && given_back_count_ < 4) given_back_[given_back_count_++] = byte;
    return;
  }
  if (read_pos_ > 0) --read_pos_;
}

bool InputSource::stream_exhausted() {
  const int c = source_get();
  if (c == kEndOfData) return true;
  source_unget(c);
  return false;
}

// After a field: blanks are skipped, then one comma or line end is consumed
// and anything else is left to begin the next field.
void InputSource::finish_field(int terminator) {
  while (is_blank(terminator)) terminator = source_get();
  if (terminator == ',' || terminator == '\n' || terminator == kEndOfData) return;
  if (terminator == '\r') {
    const int next = source_get();
    if (next != '\n') source_unget(next);
    return;
  }
  source_unget(terminator);
}

int InputSource::next_field(char* buffer, int limit, bool& is_real) {
  is_real = false;
  int c = source_get();
  while (is_blank(c)) c = source_get();
  int stored = 0;
  buffer[0] = '\0';
  if (c == kEndOfData) return 0;
  bool quoted = false, radix = false;
  for (;;) {
    if (c == kEndOfData || (!quoted && is_blank(c))) break;
    if (c == '\n' || (!quoted && c == ',')) {
      buffer[stored] = '\0';
      return stored;
    }
    if (c == '\r') {
      const int next = source_get();
      if (next != '\n') source_unget(next);
      buffer[stored] = '\0';
      return stored;
    }
    if (c == '"' && (quoted || stored == 0)) {
      quoted = !quoted;
    } else {
      char byte = static_cast<char>(c);
      if (c == '&')
        radix = true;
      else if ((c == '.' || c == 'E' || c == 'e') && !radix)
        is_real = true;
      else if ((c == 'D' || c == 'd') && !radix) {
        byte = c == 'D' ? 'E' : 'e';
        is_real = true;
      }
      buffer[stored++] = byte;
      if (stored == limit) {
        c = source_get();
        break;
      }
    }
    c = source_get();
  }
  buffer[stored] = '\0';
  finish_field(c);
  return stored;
}

namespace {
// A field's number: an integer (exact up to 64 bits) or a real.
struct FieldValue {
  bool integer;
  std::int64_t whole;
  double real;
};

FieldValue read_field(InputSource& source) {
  char buffer[kFieldLimit + 1];
  bool is_real = false;
  const int n = source.next_field(buffer, kFieldLimit, is_real);
  if (is_real) return {false, 0, convert_real(buffer)};
  if (n <= 9) return {true, convert_int32(buffer, n), 0.0};
  if (n <= 18 || buffer[0] == '&') return {true, convert_int64(buffer, n), 0.0};
  return {false, 0, convert_real(buffer)};
}
}  // namespace

int InputSource::read_double(double& destination) {
  const FieldValue v = read_field(*this);
  destination = v.integer ? static_cast<double>(v.whole) : v.real;
  return 0;
}

// An integer goes to the nearest single in one rounding; a real is rounded
// twice, to double by the conversion and then to single.
int InputSource::read_single(float& destination) {
  const FieldValue v = read_field(*this);
  destination = v.integer ? static_cast<float>(v.whole) : static_cast<float>(v.real);
  return 0;
}

}  // namespace gndfit
