// SPDX-License-Identifier: MIT
#include "console/numeric_mask.hpp"

#include <algorithm>

#include "console/text_screen.hpp"

namespace gndfit {
namespace {

constexpr int kMaxFieldPlaces = 2036;  // a longer field is cut to this

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
  screen_->print_text(file, work_.line, line_end::none);
  if (options == value_end::new_line || options == value_end::new_line_and_zone) {
    screen_->print_line_end(file, line_end::new_line);
  }
  if (options == value_end::next_zone) screen_->print_line_end(file, line_end::next_zone);
  if (value_end::is_last(options)) loaded_ = false;
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
    case '#':
    case '!':
    case '&':
    case '\\':
      return true;
    case '$':
      return n1 == '$';
    case '*':
      return n1 == '*';
    case '.':
      return n1 == '#';
    case '+':
      return n1 == '#' || (n1 == '$' && n2 == '$') || (n1 == '*' && n2 == '*') ||
             (n1 == '.' && n2 == '#');
    default:
      return false;
  }
}

void NumericMask::write_literals(int file) {
  collect_literals(work_.literals);
  if (!work_.literals.empty()) screen_->print_text(file, work_.literals, line_end::none);
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

namespace {
// Keeps a field within its limit of places: decimals go first, then the
// point, then integer places.
void keep_within_limit(MaskField& f) {
  const int excess = f.int_places + (f.dec_places >= 0 ? 1 + f.dec_places : 0) - kMaxFieldPlaces;
  if (excess <= 0) return;
  if (f.dec_places >= 0) {
    const int cut = std::min(excess, f.dec_places + 1);
    f.dec_places = cut == f.dec_places + 1 ? -1 : f.dec_places - cut;
  }
  f.int_places = std::min(f.int_places, kMaxFieldPlaces);
}
}  // namespace

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
  keep_within_limit(f);
  return f;
}

}  // namespace gndfit
