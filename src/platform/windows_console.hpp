// SPDX-License-Identifier: MIT
#pragma once
// The Windows console behind the seam: the console API for the screen
// buffer, cells, cursor and key events, the window manager for the console
// window, and one native control handler that runs the program's handlers,
// last registered first.  Standard input and output are read and written as
// raw bytes with ReadFile and WriteFile.
#include <vector>

#include "platform/console_device.hpp"
#include "platform/handler_list.hpp"
#include "platform/input_buffer.hpp"
#include "platform/output_buffer.hpp"

namespace gndfit {

class WindowsConsole : public ConsoleDevice {
 public:
  WindowsConsole();
  // Batch use with the input from `reader` (files named on the command
  // line): standard input, console or not, is not read.
  explicit WindowsConsole(InputBuffer::Reader reader);
  ~WindowsConsole() override;
  WindowsConsole(const WindowsConsole&) = delete;
  WindowsConsole& operator=(const WindowsConsole&) = delete;

  bool get_buffer_info(BufferInfo& info) override;
  bool get_largest_window(Coord& size) override;
  bool set_buffer_size(Coord size) override;
  bool set_window_rect(CellRect rect) override;
  bool set_text_attribute(std::uint16_t attr) override;
  bool fill(Cell cell, int count, Coord at) override;
  bool write_cells(const Cell* cells, int count, Coord at) override;
  bool scroll(CellRect source, Coord dest, Cell fill) override;
  bool set_cursor_position(Coord at) override;
  bool get_cursor_visible(bool& visible) override;
  bool set_cursor_visible(bool visible) override;
  void beep(int hz, int ms) override;
  bool write_raw(const char* bytes, std::size_t count, std::size_t& written) override;
  void flush_output() override { output_.flush(); }
  bool get_input_mode(std::uint32_t& mode) override;
  bool set_input_mode(std::uint32_t mode) override;
  bool peek_input(InputRecord& record) override;
  bool read_input(InputRecord& record) override;
  int map_vk_to_char(int virtual_key) override;
  int read_stdin_byte() override { return input_bytes_.next_byte(); }
  int end_of_input_key() override { return -1; }  // Ctrl+D stays a key
  bool stdin_is_typed() override { return false; }
  void sleep_ms(int ms) override;
  bool set_title(std::string_view title) override;
  bool has_window() override { return window_ != nullptr; }
  bool move_window(int x, int y) override;
  bool remove_size_and_maximize() override;
  bool get_window_rect(PixelRect& rect) override;
  ControlHandlerId add_control_handler(ControlHandler handler) override;
  bool remove_control_handler(ControlHandlerId id) override;
  void end_control_events() override;

  // Runs the handlers for one event, last registered first, until one
  // returns true, and sends the output that is complete: the process ends
  // after every event this program handles.
  bool deliver(ControlEvent event);

 private:
  WindowsConsole(InputBuffer::Reader reader, bool reads_files);

  bool reads_files_ = false;
  void* input_ = nullptr;  // HANDLE
  void* output_handle_ = nullptr;
  void* window_ = nullptr;  // HWND
  OutputBuffer output_;
  InputBuffer input_bytes_;
  ControlHandlerList handlers_;
};

}  // namespace gndfit
