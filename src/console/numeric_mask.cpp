#include "console/numeric_mask.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "console/text_screen.hpp"

namespace gndfit {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr int kMaxFieldPlaces = 2036;
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
    case DecimalNumber::Kind::infinite: return "#INF";
    case DecimalNumber::Kind::indefinite: return "#IND";
    default: return "#NAN";
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
    if (negative) text += '-';
    else if (f.sign_lead) text += '+';
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
  std::string& mantissa = w.mantissa;  // `significant` digits
  mantissa.clear();
  std::int64_t exponent = 0;
  char buffer[20];
  if (n.digits != 0 && significant > 0) {
    const int count = decimal_digit_count(n.digits);
    if (count > significant) {
      std::uint64_t m = drop_digits_half_up(n.digits, count - significant);
      std::int64_t e = std::int64_t{n.exponent} + count - significant;
      if (decimal_digit_count(m) > significant) {  // carry to 10^significant
        m /= 10;
        ++e;
      }
      mantissa.append(digits_of(m, buffer));
      exponent = e + decimals;
    } else {
      mantissa.append(digits_of(n.digits, buffer));
      mantissa.append(static_cast<std::size_t>(significant - count), '0');
      exponent = std::int64_t{n.exponent} - (significant - count) + decimals;
    }
  } else if (n.digits != 0) {
    exponent = std::int64_t{n.exponent} + decimal_digit_count(n.digits);
  }
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

  const int exponent_digits = fallback ? 1 : f.carets - 2;
  const std::string_view magnitude =
      digits_of(static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent), buffer);
  const std::size_t magnitude_size = std::max<std::size_t>(1, magnitude.size());
  start_text(w);
  assemble(f, w, places, n.negative);
  std::string& text = w.text;
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  if (static_cast<int>(magnitude_size) > exponent_digits) {
    text += '%';
  } else {
    text.append(static_cast<std::size_t>(exponent_digits) - magnitude_size, '0');
  }
  if (magnitude.empty()) text += '0';
  text += magnitude;
  if (fallback) text.append(static_cast<std::size_t>(f.carets), '^');
  append_trailing_sign(f, n.negative, text);
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
bool append_plain_text(const MaskField& f, std::uint64_t rounded, bool negative, std::string& text) {
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

// |value| 10^decimals rounded half up, worked out exactly from the binary
// value.  The decimal form keeps 16 digits, off from the value by less than
// 6e-16 of it, and is then rounded the same way; so both give the same
// result unless the exact value lies that close to a half, and below 10^15
// the decimal form is always rounded at the field's last place.  False
// where it cannot be sure.
// `scaled` 2^-shift rounded half up, unless it lies within the decimal
// form's error of a half; in 64 bits when the numbers fit, else in 128.
template <typename UInt>
bool round_at_shift(UInt scaled, int shift, std::uint64_t& rounded) {
  constexpr std::uint64_t kLimit = 1'000'000'000'000'000u;  // 10^15
  const UInt integer = scaled >> shift;
  if (integer >= kLimit) return false;
  const UInt rest = scaled - (integer << shift);
  const UInt half = UInt{1} << (shift - 1);
  // The decimal form's error, 2^-45 of the value, in units of `rest`
  // (2^-shift), rounded up.
  const UInt margin = shift >= 45 ? (integer + 1) << (shift - 45)
                                  : ((integer + 1) + (UInt{1} << (45 - shift)) - 1) >> (45 - shift);
  const UInt distance = rest > half ? rest - half : half - rest;
  if (distance < margin) return false;
  rounded = static_cast<std::uint64_t>(integer) + (rest > half ? 1 : 0);
  return true;
}

bool round_scaled_exactly(double value, int decimals, std::uint64_t& rounded) {
  constexpr std::uint64_t kLimit = 1'000'000'000'000'000u;  // 10^15
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF || decimals > 8) return false;
  const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int q = (biased == 0 ? 1 : biased) - 1075;
  const Wide scaled = Wide{m} * power_of_ten(decimals);  // below 2^80
  if (q >= 0) {
    if (q > 10 || (scaled << q) >= kLimit) return false;
    rounded = static_cast<std::uint64_t>(scaled << q);
    return true;
  }
  const int shift = -q;
  if (shift >= 127) {
    rounded = 0;  // below 2^-47
    return true;
  }
  if ((scaled >> 63) == 0 && shift <= 63) {
    return round_at_shift(static_cast<std::uint64_t>(scaled), shift, rounded);
  }
  return round_at_shift(scaled, shift, rounded);
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
  const std::int64_t magnitude = e + static_cast<std::int64_t>(s.size()) - 1;  // power of the first digit
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

std::string_view format_field(const MaskField& field, const DecimalNumber& number,
                              MaskWork& work) {
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

namespace {
bool same_text(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}
}  // namespace

void NumericMask::begin_mask(std::string_view mask) {
  if (mask_id_ < 0 || !same_text(mask_, mask)) mask_id_ = intern(mask);
  mask_ = known_[static_cast<std::size_t>(mask_id_)].text;
  loaded_ = true;
  position_ = 0;
  remaining_ = static_cast<std::int32_t>(mask_.size());
}

// A copy of each mask in use is kept, with the steps worked out for it.
int NumericMask::intern(std::string_view mask) {
  for (std::size_t i = 0; i < known_used_; ++i) {
    if (same_text(known_[i].text, mask)) return static_cast<int>(i);
  }
  const std::size_t slot =
      known_used_ < known_.size() ? known_used_++ : next_mask_victim_++ % known_.size();
  known_[slot].text.assign(mask);
  for (MaskStep& step : known_[slot].steps) step.start = std::string::npos;
  return static_cast<int>(slot);
}

void NumericMask::end_mask(int file) {
  if (loaded_) write_literals(file);
  loaded_ = false;
  remaining_ = 0;
  position_ = 0;
}

void NumericMask::format_single(int file, float value, int options) {
  format_number(file, static_cast<double>(value), true, options);
}

void NumericMask::format_double(int file, double value, int options) {
  format_number(file, value, false, options);
}

void NumericMask::format_number(int file, double value, bool is_single, int options) {
  // The literals before the field, the field and the literals after it go
  // out as one text.
  work_.line.clear();
  compose_value(value, is_single, work_.line);
  screen_.print_text(file, work_.line, line_end::none);
  if (options == 1 || options == 3) screen_.print_line_end(file, line_end::new_line);
  if (options == 2) screen_.print_line_end(file, line_end::next_zone);
  if (options < 0) loaded_ = false;  // last value of a statement: the mask is done
}

void NumericMask::compose_value(double value, bool is_single, std::string& out) {
  if (!loaded_) {
    remaining_ = 0;  // no mask: a field of no places
  } else if (remaining_ == 0) {
    position_ = 0;
    remaining_ = static_cast<std::int32_t>(mask_.size());
  }
  const MaskStep& step = step_from_here();
  out += step.lead;
  append_value(step.field, value, is_single, work_, out);
  out += step.trail;
}

void NumericMask::append_single(std::string& out, std::string_view mask, float value) {
  begin_mask(mask);
  compose_value(static_cast<double>(value), true, out);
  if (loaded_) {  // what end_mask would write
    collect_literals(work_.literals);
    out += work_.literals;
  }
  loaded_ = false;
  remaining_ = 0;
  position_ = 0;
}

// What one value does from the current position of the mask is the same
// every time, so it is worked out once per mask and position and kept.
const MaskStep& NumericMask::step_from_here() {
  const std::size_t start = position_;
  if (!loaded_) {  // no mask: nothing to keep
    work_step_ = MaskStep{};
    work_step_.field = scan_field();
    return work_step_;
  }
  KnownMask& known = known_[static_cast<std::size_t>(mask_id_)];
  for (MaskStep& s : known.steps) {
    if (s.start == start) {
      position_ = s.next;
      remaining_ -= static_cast<std::int32_t>(s.next - start);
      return s;
    }
  }
  MaskStep& s = known.steps[known.next_victim++ % known.steps.size()];
  s.start = start;
  collect_literals(s.lead);
  s.field = scan_field();
  collect_literals(s.trail);
  s.next = position_;
  return s;
}

bool NumericMask::starts_field(std::size_t i) const {
  const char c = at(i), n1 = at(i + 1), n2 = at(i + 2);
  switch (c) {
    case '#': case '!': case '&': case '\\': return true;
    case '$': return n1 == '$';
    case '*': return n1 == '*';
    case '.': return n1 == '#';
    case '+':
      return n1 == '#' || (n1 == '$' && n2 == '$') || (n1 == '*' && n2 == '*') ||
             (n1 == '.' && n2 == '#');
    default: return false;
  }
}

void NumericMask::write_literals(int file) {
  collect_literals(work_.literals);
  if (!work_.literals.empty()) screen_.print_text(file, work_.literals, line_end::none);
}

void NumericMask::collect_literals(std::string& run) {
  run.clear();
  while (remaining_ > 0 && !starts_field(position_)) {
    char c = at(position_);
    if (c == '_' && remaining_ > 1) {
      ++position_;
      --remaining_;
      c = at(position_);
    }
    run += c;
    ++position_;
    --remaining_;
  }
}

MaskField NumericMask::scan_field() {
  MaskField f;
  std::size_t i = position_;
  const std::size_t end = limit();
  bool point = false;
  auto at_start = [&] { return f.int_places == 0 && !point && !f.dollar && f.fill == ' '; };
  while (i < end) {
    const char c = at(i);
    if (at_start() && c == '*' && at(i + 1) == '*') {
      f.int_places += 2;
      f.fill = '*';
      i += 2;
      if (at(i) == '$') {
        f.dollar = true;
        ++i;
      }
    } else if (at_start() && c == '$' && at(i + 1) == '$') {
      f.dollar = true;
      f.int_places += 1;
      i += 2;
    } else if (at_start() && !f.sign_lead && c == '+') {
      f.sign_lead = f.plus = true;
      ++i;
    } else if (at_start() && !f.sign_lead && c == '&') {
      f.free_format = true;
      ++i;
      break;
    } else if (c == '#' && f.carets == 0) {
      point ? ++f.dec_places : ++f.int_places;
      ++i;
    } else if (c == '.' && !point && f.carets == 0) {
      point = true;
      f.dec_places = 0;
      ++i;
    } else if (c == ',' && !point && f.carets == 0) {
      ++f.int_places;
      f.separators = true;
      ++i;
    } else if ((c == '+' || c == '-') && !f.sign_lead && !at_start() &&
               (f.carets == 0 || f.carets >= 3)) {
      f.sign_trail = true;
      f.plus = c == '+';
      ++i;
      break;
    } else if (c == '^' && f.carets < 5) {
      ++f.carets;
      ++i;
    } else {
      break;
    }
  }
  remaining_ -= static_cast<std::int32_t>(i - position_);
  position_ = i;
  // Keep the field within its limit: decimals go first, then the point.
  const int excess = f.int_places + (f.dec_places >= 0 ? 1 + f.dec_places : 0) - kMaxFieldPlaces;
  if (excess > 0) {
    if (f.dec_places >= 0) {
      const int cut = std::min(excess, f.dec_places + 1);
      f.dec_places = cut == f.dec_places + 1 ? -1 : f.dec_places - cut;
    }
    f.int_places = std::min(f.int_places, kMaxFieldPlaces);
  }
  return f;
}

}  // namespace gndfit
