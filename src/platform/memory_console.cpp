#include "platform/memory_console.hpp"

#include <algorithm>
#include <cctype>

#include "platform/us_keyboard.hpp"

namespace gndfit {

MemoryConsole::MemoryConsole(int columns, int rows)
    : size_{static_cast<std::int16_t>(columns), static_cast<std::int16_t>(rows)},
      cells_(static_cast<std::size_t>(columns) * rows),
      window_{0, 0, static_cast<std::int16_t>(columns - 1),
              static_cast<std::int16_t>(rows - 1)} {}

MemoryConsole MemoryConsole::redirected(std::string bytes) {
  MemoryConsole c;
  c.output_console = false;
  c.input_console = false;
  c.window = false;
  c.stdin_bytes = std::move(bytes);
  return c;
}

std::string MemoryConsole::row_text(int y) const {
  std::string s;
  for (int x = 0; x < size_.x; ++x) s += cell(x, y).ch;
  return s;
}

bool MemoryConsole::get_buffer_info(BufferInfo& info) {
  if (!output_console || fail_buffer_info) return false;
  info.size = size_;
  info.cursor = cursor_;
  info.attributes = attr_;
  info.window = window_;
  return true;
}

bool MemoryConsole::get_largest_window(Coord& size) {
  if (!output_console) return false;
  size = largest_window;
  return true;
}

// Like the console, the buffer may not become smaller than the window.
bool MemoryConsole::set_buffer_size(Coord size) {
  if (!output_console || size.x <= window_.right - window_.left ||
      size.y <= window_.bottom - window_.top) {
    return false;
  }
  std::vector<Cell> next(static_cast<std::size_t>(size.x) * size.y);
  for (int y = 0; y < std::min(size.y, size_.y); ++y)
    for (int x = 0; x < std::min(size.x, size_.x); ++x)
      next[static_cast<std::size_t>(y) * size.x + x] = cell(x, y);
  cells_ = std::move(next);
  size_ = size;
  cursor_.x = std::min<std::int16_t>(cursor_.x, static_cast<std::int16_t>(size.x - 1));
  cursor_.y = std::min<std::int16_t>(cursor_.y, static_cast<std::int16_t>(size.y - 1));
  return true;
}

bool MemoryConsole::set_window_rect(SmallRect r) {
  if (!output_console || r.left < 0 || r.top < 0 || r.right >= size_.x ||
      r.bottom >= size_.y || r.left > r.right || r.top > r.bottom ||
      r.right - r.left >= largest_window.x || r.bottom - r.top >= largest_window.y) {
    return false;
  }
  window_ = r;
  return true;
}

bool MemoryConsole::set_text_attribute(std::uint16_t attr) {
  if (!output_console) return false;
  attr_ = attr;
  return true;
}

// Fills run along rows from a start cell, wrapping to the next row and
// stopping at the end of the buffer, as the console's fill calls do.
template <typename Fn>
bool MemoryConsole::fill_run(int count, Coord at, Fn&& fn) {
  if (!output_console || !inside(at.x, at.y)) return false;
  std::size_t i = index(at.x, at.y);
  for (int n = 0; n < count && i < cells_.size(); ++n, ++i) fn(cells_[i]);
  return true;
}

bool MemoryConsole::fill_attribute(std::uint16_t attr, int count, Coord at) {
  return fill_run(count, at, [attr](Cell& c) { c.attr = attr; });
}

bool MemoryConsole::fill_character(char ch, int count, Coord at) {
  return fill_run(count, at, [ch](Cell& c) { c.ch = ch; });
}

bool MemoryConsole::write_cells(const Cell* cells, int count, Coord at) {
  if (!output_console || !inside(at.x, at.y)) return false;
  for (int n = 0; n < count && at.x + n < size_.x; ++n) cells_[index(at.x + n, at.y)] = cells[n];
  return true;
}

bool MemoryConsole::scroll(SmallRect src, Coord dest, Cell fill) {
  if (!output_console) return false;
  src.left = std::max<std::int16_t>(src.left, 0);
  src.top = std::max<std::int16_t>(src.top, 0);
  src.right = std::min<std::int16_t>(src.right, static_cast<std::int16_t>(size_.x - 1));
  src.bottom = std::min<std::int16_t>(src.bottom, static_cast<std::int16_t>(size_.y - 1));
  if (src.left > src.right || src.top > src.bottom) return false;
  const int w = src.right - src.left + 1, h = src.bottom - src.top + 1;
  std::vector<Cell> copy;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) copy.push_back(cell(src.left + x, src.top + y));
  auto covered = [&](int x, int y) {
    return x >= dest.x && x < dest.x + w && y >= dest.y && y < dest.y + h;
  };
  for (int y = src.top; y <= src.bottom; ++y)
    for (int x = src.left; x <= src.right; ++x)
      if (!covered(x, y)) cells_[index(x, y)] = fill;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inside(dest.x + x, dest.y + y))
        cells_[index(dest.x + x, dest.y + y)] = copy[static_cast<std::size_t>(y) * w + x];
  return true;
}

bool MemoryConsole::set_cursor_position(Coord at) {
  if (!output_console || !inside(at.x, at.y)) return false;
  cursor_ = at;
  return true;
}

bool MemoryConsole::get_cursor_visible(bool& visible) {
  if (!output_console) return false;
  visible = visible_;
  return true;
}

bool MemoryConsole::set_cursor_visible(bool visible) {
  if (!output_console) return false;
  visible_ = visible;
  return true;
}

void MemoryConsole::beep(int hz, int ms) { beeps.push_back({hz, ms}); }

bool MemoryConsole::write_raw(const char* bytes, std::size_t count, std::size_t& written) {
  raw_output.append(bytes, count);
  written = count;
  return true;
}

bool MemoryConsole::get_input_mode(std::uint32_t& mode) {
  if (!input_console) return false;
  mode = input_mode;
  return true;
}

bool MemoryConsole::set_input_mode(std::uint32_t mode) {
  if (!input_console) return false;
  input_mode = mode;
  return true;
}

bool MemoryConsole::peek_input(InputRecord& record) {
  if (!input_console || input.empty()) return false;
  record = input.front();
  return true;
}

bool MemoryConsole::read_input(InputRecord& record) {
  if (!input_console || input.empty()) return false;
  record = input.front();
  input.pop_front();
  return true;
}

int MemoryConsole::map_vk_to_char(int vk) { return us_layout_char(vk); }

int MemoryConsole::swap_case(int ch) {
  if (ch >= 'a' && ch <= 'z') return ch - 32;
  if (ch >= 'A' && ch <= 'Z') return ch + 32;
  return ch;
}

int MemoryConsole::read_stdin_byte() {
  if (stdin_pos >= stdin_bytes.size()) return -1;
  return static_cast<unsigned char>(stdin_bytes[stdin_pos++]);
}

bool MemoryConsole::set_title(std::string_view text) {
  if (!window) return false;
  title = text;
  return true;
}

bool MemoryConsole::move_window(int x, int y) {
  if (!window) return false;
  window_x = x;
  window_y = y;
  return true;
}

bool MemoryConsole::remove_size_and_maximize() {
  if (!window) return false;
  size_and_maximize_removed = true;
  return true;
}

bool MemoryConsole::get_window_rect(SmallRect& rect) {
  if (!window) return false;
  rect = {static_cast<std::int16_t>(window_x), static_cast<std::int16_t>(window_y),
          static_cast<std::int16_t>(window_x + 800), static_cast<std::int16_t>(window_y + 400)};
  return true;
}

}  // namespace gndfit
