// SPDX-License-Identifier: MIT
#include "console/text_screen.hpp"

#include <algorithm>
#include <cstring>

namespace gndfit {
namespace {
constexpr std::size_t kRunLimit = 1024;  // characters placed per gathered run
constexpr int kZoneWidth = 14;
constexpr std::uint32_t kProcessedInput = 0x0001;

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

// The control characters a write acts on; every other byte is placed.
namespace control_char {
constexpr unsigned char bell = 7;
constexpr unsigned char backspace = 8;
constexpr unsigned char tab = 9;
constexpr unsigned char line_feed = 10;
constexpr unsigned char carriage_return = 13;
}  // namespace control_char
}  // namespace

// Per-call state of console_write: the view as a buffer rectangle, the
// cursor, the buffer size and the attribute in force.
struct TextScreen::WriteContext {
  int left, right, top, bottom;
  int x, y;
  int buffer_width, buffer_height;
  std::uint16_t attr;
  bool view_is_partial;
  bool view_moved = false;
};

void TextScreen::ensure_processed_input() {
  if (processed_input_set_) return;
  processed_input_set_ = true;
  // Processed input: Ctrl+C arrives as a control event, not as a key.
  std::uint32_t mode = 0;
  if (device_.get_input_mode(mode)) device_.set_input_mode(mode | kProcessedInput);
}

void TextScreen::read_area() {
  BufferInfo info;
  area_ = device_.get_buffer_info(info)
              ? Area{0, info.window.top, i16(info.size.x - 1), info.window.bottom}
              : Area{};
  area_known_ = true;
}

void TextScreen::ensure_screen() {
  ensure_processed_input();
  if (!area_known_) read_area();
  if (file0_.set_up) return;
  file0_.set_up = true;
  file0_.print_column = std::max(0, screen_get_cursor().column - 1);
  file0_.line_width = screen_get_size().columns;
}

ScreenSize TextScreen::screen_get_size() {
  if (output_is_raw()) return {80, 25};
  return {area_.right - area_.left + 1, area_.bottom - area_.top + 1};
}

CursorCell TextScreen::screen_get_cursor() {
  BufferInfo info;
  if (!device_.get_buffer_info(info)) return {0, 0};
  return {info.cursor.x - area_.left + 1, info.cursor.y - area_.top + 1};
}

int TextScreen::view_top_row() { return view_top_ < 0 ? 1 : view_top_; }

int TextScreen::view_bottom_row() {
  return view_bottom_ < 0 ? screen_get_size().rows : view_bottom_;
}

std::int32_t TextScreen::screen_set_size(std::int32_t columns, std::int32_t rows) {
  ensure_screen();
  if (!output_is_raw()) {
    Coord largest{};
    device_.get_largest_window(largest);
    const int width = area_.right - area_.left + 1;
    const int height = area_.bottom - area_.top + 1;
    const int new_columns = columns > 0 ? columns : width;
    const int new_rows = rows > 0 ? rows : height;
    const CellRect window{0, 0, i16(std::min(new_columns, int{largest.x}) - 1),
                           i16(std::min(new_rows, int{largest.y}) - 1)};
    if (window.right < width - 1 || window.bottom < height - 1) {
      // Shrink the window first so that the buffer can shrink under it.
      device_.set_window_rect({0, 0, i16(std::min<int>(window.right, width - 1)),
                               i16(std::min<int>(window.bottom, height - 1))});
    }
    device_.set_buffer_size({i16(new_columns), i16(new_rows)});
    device_.set_window_rect(window);
    read_area();
    area_frozen_ = true;
  }
  if (columns > 0) file0_.line_width = columns;
  if (columns > 0 || rows > 0) {
    screen_set_view(0, 0, true);
    return 0;
  }
  const ScreenSize size = screen_get_size();
  return size.columns | (size.rows << 16);
}

std::int32_t TextScreen::screen_set_view(int top, int bottom, bool home) {
  const int current_top = view_top_row();
  const int current_bottom = view_bottom_row();
  if (top < 0 && bottom < 0) return (current_bottom << 16) | current_top;
  const int height = screen_get_size().rows;
  const int t = top == 0 ? 1 : top < 0 ? current_top : top;
  const int b = bottom == 0 ? height : bottom < 0 ? current_bottom : bottom;
  if (t > b || b > height) return 0;
  view_top_ = t;
  view_bottom_ = b;
  if (!area_frozen_) read_area();
  if (home) screen_locate(t, 1, cursor::keep);
  return b * 65536 + t;
}

void TextScreen::screen_clear(std::int32_t mode) {
  ensure_screen();
  if (!output_is_raw() && mode != 1) {
    int first = area_.top, last = area_.bottom;
    if (mode == 2 || mode == kClearTextView) {
      first = area_.top + view_top_row() - 1;
      last = area_.top + view_bottom_row() - 1;
    }
    BufferInfo info;
    const std::uint16_t attr = device_.get_buffer_info(info) ? info.attributes : 7;
    const int width = area_.right - area_.left + 1;
    for (int y = last; y >= first; --y) {
      device_.fill({' ', attr}, width, {area_.left, i16(y)});
    }
    device_.set_cursor_position({area_.left, i16(first)});
    pending_wrap_ = false;
  }
  file0_.print_column = 0;
}

std::int32_t TextScreen::screen_set_color(int foreground, int background, int flags) {
  const std::int32_t previous = foreground_ | (background_ << 16);
  if (!(flags & colour_flags::keep_foreground)) foreground_ = foreground & 15;
  if (!(flags & colour_flags::keep_background)) background_ = background & 15;
  ensure_processed_input();
  if (!area_known_) read_area();
  // Raw output has no colours: only a console is told the attribute, whose
  // number is the palette index itself.
  if (!output_is_raw()) {
    device_.set_text_attribute(static_cast<std::uint16_t>(foreground_ + 16 * background_));
  }
  return previous;
}

std::int32_t TextScreen::screen_locate(int row, int column, int visibility) {
  ensure_screen();
  const CursorCell current = screen_get_cursor();
  bool was_visible = false;
  device_.get_cursor_visible(was_visible);
  const std::int32_t visible_bit = was_visible ? cursor::was_visible_bit : 0;
  if (visibility >= 0) device_.set_cursor_visible(visibility != 0);
  const bool bad_row = row != 0 && (row < view_top_row() || row > view_bottom_row());
  const bool bad_column = column != 0 && (column < 1 || column > screen_get_size().columns);
  if (bad_row || bad_column) {
    return (current.column & 0xFF) | ((current.row & 0xFF) << 8) | visible_bit;
  }
  const int r = row != 0 ? row : current.row;
  const int c = column != 0 ? column : current.column;
  device_.set_cursor_position({i16(c + area_.left - 1), i16(r + area_.top - 1)});
  pending_wrap_ = false;
  if (column != 0) file0_.print_column = column - 1;
  return (c & 0xFF) | ((r & 0xFF) << 8) | visible_bit;
}

void TextScreen::print_text(int file, std::string_view text, int flags) {
  if (file != 0) return;  // only the console takes text
  ensure_screen();
  if (!text.empty()) {
    console_write(text.data(), text.size(), 0);
    update_print_column(text);
  }
  apply_line_end(flags);
}

void TextScreen::print_cstring(int file, const char* text, int flags) {
  print_text(file, std::string_view(text, std::strlen(text)), flags);
}

void TextScreen::print_line_end(int file, int flags) { print_text(file, {}, flags); }

void TextScreen::update_print_column(std::string_view written) {
  std::size_t after_break = written.size();
  while (after_break > 0 && written[after_break - 1] != '\r' && written[after_break - 1] != '\n')
    --after_break;
  if (after_break == 0) {
    file0_.print_column += static_cast<int>(written.size());
  } else {
    file0_.print_column = static_cast<int>(written.size() - after_break);
  }
  if (file0_.line_width != 0 && file0_.print_column >= file0_.line_width) {
    file0_.print_column %= file0_.line_width;  // divides only when it wraps
  }
}

void TextScreen::write_counted(std::string_view text) {
  console_write(text.data(), text.size(), 0);
  update_print_column(text);
}

void TextScreen::apply_line_end(int flags) {
  if (line_end::writes_new_line(flags)) {
    write_counted("\r\n");
  } else if (flags & line_end::next_zone) {
    const int c = file0_.print_column;
    const int zone = ((c + kZoneWidth) / kZoneWidth) * kZoneWidth + 1;
    if (file0_.line_width != 0 && zone > file0_.line_width) {
      write_counted("\r\n");
    } else {
      write_counted(std::string(static_cast<std::size_t>(zone - (c + 1)), ' '));
    }
  }
}

void TextScreen::write_raw(const char* text, std::size_t length) {
  while (length > 0) {
    std::size_t written = 0;
    if (!device_.write_raw(text, length, written) || written == 0) return;
    text += written;
    length -= written;
  }
}

void TextScreen::scroll(WriteContext& ctx, int n) {
  if (!ctx.view_is_partial && ctx.buffer_height - 1 > ctx.bottom) {
    // The window first slides down over rows the buffer still has.
    const int m = std::min(n, ctx.buffer_height - 1 - ctx.bottom);
    ctx.top += m;
    ctx.bottom += m;
    ctx.view_moved = true;
    n -= m;
    if (n == 0) return;
  }
  const CellRect area =
      ctx.view_is_partial ? CellRect{i16(ctx.left), i16(ctx.top), i16(ctx.right), i16(ctx.bottom)}
                          : CellRect{0, 0, i16(ctx.buffer_width - 1), i16(ctx.buffer_height - 1)};
  const int height = area.bottom - area.top + 1;
  const int view_width = ctx.right - ctx.left + 1;
  auto blank_rows = [&](int first, int last) {
    for (int y = first; y <= last; ++y) {
      device_.fill({' ', ctx.attr}, view_width, {i16(ctx.left), i16(y)});
    }
  };
  if (n >= height) {
    blank_rows(ctx.top, ctx.bottom);
  } else {
    device_.scroll({area.left, i16(area.top + n), area.right, area.bottom}, {area.left, area.top},
                   Cell{' ', ctx.attr});
    // The console fills only source cells the destination does not cover,
    // which leaves some freed rows untouched when more than half scrolls.
    if (2 * n > height) blank_rows(area.bottom - n + 1, area.bottom);
  }
  ctx.y = ctx.bottom;
}

void TextScreen::place_run(WriteContext& ctx, const char* run, int length) {
  Cell cells[kRunLimit];
  while (length > 0) {
    if (ctx.x > ctx.right) {
      ctx.x = ctx.left;
      ++ctx.y;
    }
    const int piece = std::min(length, ctx.right - ctx.x + 1);
    if (ctx.y > ctx.bottom) scroll(ctx, ctx.y - ctx.bottom);
    for (int i = 0; i < piece; ++i) cells[i] = Cell{run[i], ctx.attr};
    if (!device_.write_cells(cells, piece, {i16(ctx.x), i16(ctx.y)})) return;
    run += piece;
    length -= piece;
    ctx.x += piece;
    if (ctx.x == ctx.right + 1) {
      ctx.x = ctx.left;
      ++ctx.y;
    }
  }
}

TextScreen::WriteContext TextScreen::begin_write() {
  const int view_top = view_top_row(), view_bottom = view_bottom_row();
  WriteContext ctx{};
  ctx.left = area_.left;
  ctx.right = area_.right;
  ctx.top = area_.top + view_top - 1;
  ctx.bottom = area_.top + view_bottom - 1;
  ctx.view_is_partial = view_top != 1 || view_bottom != area_.bottom - area_.top + 1;
  BufferInfo info;
  if (device_.get_buffer_info(info)) {
    ctx.x = info.cursor.x;
    ctx.y = info.cursor.y;
    ctx.buffer_width = info.size.x;
    ctx.buffer_height = info.size.y;
    ctx.attr = info.attributes;
  } else {
    ctx.x = ctx.left;
    ctx.y = ctx.top;
    ctx.buffer_width = 80;
    ctx.buffer_height = 25;
    ctx.attr = 7;
  }
  if (pending_wrap_) {
    pending_wrap_ = false;
    ctx.x = ctx.left;
    ++ctx.y;
    if (ctx.y > ctx.bottom) scroll(ctx, ctx.y - ctx.bottom);
  }
  return ctx;
}

// The characters, in runs of printable ones; the control characters act.
void TextScreen::write_characters(WriteContext& ctx, const char* text, std::size_t length) {
  char gathered[kRunLimit];
  int count = 0;
  auto flush = [&] {
    place_run(ctx, gathered, count);
    count = 0;
  };
  auto gather = [&](char ch) {
    gathered[count++] = ch;
    if (count == static_cast<int>(kRunLimit)) flush();
  };
  for (std::size_t i = 0; i < length; ++i) {
    const char ch = text[i];
    switch (static_cast<unsigned char>(ch)) {
      case control_char::bell:
        device_.beep(kBellHz, kBellMs);
        break;
      case control_char::backspace:
        flush();
        if (ctx.x > ctx.left) --ctx.x;
        break;
      case control_char::tab: {  // blanks to the next multiple of 8
        const int offset = ctx.x - ctx.left;
        for (int n = ((offset + 8) & ~7) - offset; n > 0; --n) gather(' ');
        break;
      }
      case control_char::line_feed:
        flush();
        ctx.x = ctx.left;
        ++ctx.y;
        if (ctx.y > ctx.bottom) scroll(ctx, ctx.y - ctx.bottom);
        break;
      case control_char::carriage_return:
        flush();
        ctx.x = ctx.left;
        break;
      default:
        gather(ch);
    }
  }
  flush();
}

void TextScreen::end_write(WriteContext& ctx) {
  if (ctx.x == ctx.left && ctx.y == ctx.bottom + 1) {
    // Ended exactly on the bottom-right cell: park there, wrap on next write.
    ctx.x = ctx.right;
    ctx.y = ctx.bottom;
    pending_wrap_ = true;
  } else if (ctx.y > ctx.bottom) {
    scroll(ctx, ctx.y - ctx.bottom);
  }
  device_.set_cursor_position({i16(ctx.x), i16(ctx.y)});
  if (ctx.view_moved && !ctx.view_is_partial) {
    device_.set_window_rect({i16(ctx.left), i16(ctx.top), i16(ctx.right), i16(ctx.bottom)});
  }
  if (!area_frozen_) read_area();
}

void TextScreen::console_write(const char* text, std::size_t length, int flags) {
  if (length == 0 && !(flags & kWriteEvenIfEmpty)) return;
  ensure_processed_input();
  if (output_is_raw()) {
    write_raw(text, length);
    return;
  }
  WriteContext ctx = begin_write();
  write_characters(ctx, text, length);
  end_write(ctx);
}

}  // namespace gndfit
