// SPDX-License-Identifier: MIT
#pragma once
// Numbers through picture masks such as "##.#": literal characters around
// numeric fields of # places, an optional point, and the further field
// characters , ** $$ + - ^ & _.  This is the mask's parser and its cache of
// steps; the text of each field is field_text's.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/field_text.hpp"

namespace gndfit {

class TextScreen;

// What formatting one value does to a mask from one position: the literal
// run before the field, the field, the literal run after it, and where the
// next value starts.
struct MaskStep {
  std::size_t start = std::string::npos;
  std::string lead;
  MaskField field;
  std::string trail;
  std::size_t next = 0;
};

// What follows a formatted value: nothing, a line end, the next print zone;
// a negative value marks the statement's last value (the mask is done).
namespace value_end {
inline constexpr int none = 0;
inline constexpr int new_line = 1;
inline constexpr int next_zone = 2;
inline constexpr int new_line_and_zone = 3;  // both bits: taken as a line end
inline constexpr bool is_last(int options) { return options < 0; }
}  // namespace value_end

class NumericMask {
 public:
  explicit NumericMask(TextScreen& screen) : screen_(&screen) {}
  // Text only (append_single): no screen to print on.
  NumericMask() = default;

  void begin_mask(std::string_view mask);
  void format_single(int file, float value, int options);
  void format_double(int file, double value, int options);
  void end_mask(int file);
  // Appends to `out` what begin_mask, format_single and end_mask would
  // write for one value, so that a caller can send a row at once.
  void append_single(std::string& out, std::string_view mask, float value);

  bool loaded() const { return loaded_; }

 private:
  void format_number(int file, double value, bool is_single, int options);
  void compose_value(double value, bool is_single, std::string& out);
  void write_literals(int file);
  void collect_literals(std::string& run);
  const MaskStep& step_from_here();
  int intern(std::string_view mask);
  MaskField scan_field();
  bool starts_field(std::size_t at) const;
  char at(std::size_t i) const { return i < limit() && i < mask_.size() ? mask_[i] : '\0'; }
  std::size_t limit() const { return position_ + static_cast<std::size_t>(remaining_); }

  TextScreen* screen_ = nullptr;
  std::string_view mask_;  // the loaded mask: the text of one of known_
  bool loaded_ = false;
  std::size_t position_ = 0;
  std::int32_t remaining_ = 0;
  MaskWork work_;
  // The masks in use, each with the steps worked out for its positions.
  struct KnownMask {
    std::string text;
    std::array<MaskStep, 4> steps;
    std::size_t next_victim = 0;
  };
  std::array<KnownMask, 8> known_;
  std::size_t known_used_ = 0;
  std::size_t next_mask_victim_ = 0;
  int mask_id_ = -1;
  MaskStep work_step_;
};

}  // namespace gndfit
