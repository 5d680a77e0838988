// SPDX-License-Identifier: MIT
#pragma once
// The text screen: the one path by which the program shows anything.  It
// places characters straight into the console's cells with its own handling
// of BEL, BS, TAB, LF and CR, wraps at the right edge, scrolls the text view,
// and defers the wrap after the bottom-right cell.  When output is not a
// console, the bytes go out unchanged instead.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/console_device.hpp"

namespace gndfit {

namespace line_end {
inline constexpr int none = 0;
inline constexpr int new_line = 1;      // bit 0: write CR LF
inline constexpr int next_zone = 2;     // bit 1: advance to the next print zone
inline constexpr int new_line_too = 4;  // bit 2: also CR LF
inline constexpr bool writes_new_line(int flags) {
  return (flags & (new_line | new_line_too)) != 0;
}
}  // namespace line_end

// screen_set_color's flags: which of the two colours to leave as they are.
namespace colour_flags {
inline constexpr int set_both = 0;
inline constexpr int keep_foreground = 1;
inline constexpr int keep_background = 2;
}  // namespace colour_flags

// screen_locate's visibility argument, and the bit of its result that
// says whether the cursor was visible.
namespace cursor {
inline constexpr int keep = -1;
inline constexpr int hide = 0;
inline constexpr int show = 1;
inline constexpr std::int32_t was_visible_bit = 1 << 16;
}  // namespace cursor

inline constexpr int kWriteEvenIfEmpty = 8;  // console_write flag bit 3
// screen_clear's mode that clears the text view only (its high 16 bits set).
inline constexpr std::int32_t kClearTextView = static_cast<std::int32_t>(0xFFFF0000u);

// Columns and rows, or a 1-based (column, row) position.
struct ScreenSize {
  int columns;
  int rows;
};
struct CursorCell {
  int column;
  int row;
  friend bool operator==(CursorCell, CursorCell) = default;
};

class TextScreen {
 public:
  explicit TextScreen(ConsoleDevice& device) : device_(device) {}

  std::int32_t screen_set_size(std::int32_t columns, std::int32_t rows);
  void screen_clear(std::int32_t mode);
  std::int32_t screen_set_color(int foreground, int background, int flags);
  void print_text(int file, std::string_view text, int flags);
  void print_cstring(int file, const char* text, int flags);
  void print_line_end(int file, int flags);
  void console_write(const char* text, std::size_t length, int flags);
  std::int32_t screen_locate(int row, int column, int visibility);
  ScreenSize screen_get_size();
  CursorCell screen_get_cursor();
  std::int32_t screen_set_view(int top, int bottom, bool home);

  // Sends buffered raw output on; called before any wait and at every exit.
  void flush() { device_.flush_output(); }
  ConsoleDevice& device() { return device_; }
  bool pending_wrap() const { return pending_wrap_; }
  int print_column() const { return file0_.print_column; }
  int line_width() const { return file0_.line_width; }
  int foreground() const { return foreground_; }

 private:
  struct Area {
    std::int16_t left = 0, top = 0, right = 0, bottom = 0;
  };
  struct ConsoleFile {
    bool set_up = false;
    int print_column = 0;
    int line_width = 0;
  };
  struct WriteContext;

  void ensure_processed_input();
  void ensure_screen();
  void read_area();
  // No console to place cells in: the bytes go out as they are.
  bool output_is_raw() const { return area_.left == area_.right || area_.top == area_.bottom; }
  int view_top_row();
  int view_bottom_row();
  void write_raw(const char* text, std::size_t length);
  void write_counted(std::string_view text);
  void update_print_column(std::string_view written);
  void apply_line_end(int flags);
  // console_write's three steps: the view and cursor as they stand, the
  // characters, and the cursor (and a moved view) given to the console.
  WriteContext begin_write();
  void write_characters(WriteContext& ctx, const char* text, std::size_t length);
  void end_write(WriteContext& ctx);
  void place_run(WriteContext& ctx, const char* run, int length);
  void scroll(WriteContext& ctx, int n);

  ConsoleDevice& device_;
  bool processed_input_set_ = false;
  Area area_;
  bool area_known_ = false;
  bool area_frozen_ = false;
  int view_top_ = -1;  // 1-based rows of the area, -1 unset
  int view_bottom_ = -1;
  int foreground_ = 7;
  int background_ = 0;
  bool pending_wrap_ = false;
  ConsoleFile file0_;
};

}  // namespace gndfit
