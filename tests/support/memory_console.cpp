// SPDX-License-Identifier: MIT
#include "support/memory_console.hpp"

#include "platform/us_keyboard.hpp"

namespace gndfit {

MemoryConsole MemoryConsole::redirected(std::string bytes) {
  MemoryConsole c;
  c.output_console = false;
  c.input_console = false;
  c.window = false;
  c.stdin_bytes = std::move(bytes);
  return c;
}

bool MemoryConsole::get_buffer_info(BufferInfo& info) {
  if (!output_console || fail_buffer_info) return false;
  cells_.get_buffer_info(info);
  return true;
}

bool MemoryConsole::get_largest_window(Coord& size) {
  if (!output_console) return false;
  size = cells_.largest_window;
  return true;
}

bool MemoryConsole::set_text_attribute(std::uint16_t attr) {
  if (!output_console) return false;
  cells_.set_text_attribute(attr);
  return true;
}

bool MemoryConsole::get_cursor_visible(bool& visible) {
  if (!output_console) return false;
  visible = cells_.cursor_visible();
  return true;
}

bool MemoryConsole::set_cursor_visible(bool visible) {
  if (!output_console) return false;
  cells_.set_cursor_visible(visible);
  return true;
}

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

bool MemoryConsole::get_window_rect(PixelRect& rect) {
  if (!window) return false;
  rect = {static_cast<std::int16_t>(window_x), static_cast<std::int16_t>(window_y),
          static_cast<std::int16_t>(window_x + 800), static_cast<std::int16_t>(window_y + 400)};
  return true;
}

}  // namespace gndfit
