// SPDX-License-Identifier: MIT
#pragma once
// The console for tests: the console's cell rules (CellConsole) plus what a
// test sets and inspects: captured raw output, a log of beeps, a queue of
// input records, standard-input bytes, a window with a fixed 800 x 400
// rectangle, control handlers, an ASCII case swap and a sleep hook.  A
// redirected one answers as a console does when its streams are files.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/cell_console.hpp"
#include "platform/console_device.hpp"
#include "platform/handler_list.hpp"

namespace gndfit {

class MemoryConsole : public ConsoleDevice {
 public:
  // A console of the given buffer size whose window shows all of it.
  MemoryConsole(int columns = 80, int rows = 25) : cells_(columns, rows) {}
  // Output and input that are not a console (redirected streams).
  static MemoryConsole redirected(std::string stdin_bytes = {});

  struct Beep {
    int hz;
    int ms;
  };

  // What tests set and inspect.
  bool output_console = true;
  bool input_console = true;
  bool fail_buffer_info = false;
  std::uint32_t input_mode = 0x01F7;
  std::string raw_output;
  std::vector<Beep> beeps;
  std::deque<InputRecord> input;
  std::string stdin_bytes;
  std::size_t stdin_pos = 0;
  std::string title;
  bool window = true;
  int window_x = 0, window_y = 0;
  bool size_and_maximize_removed = false;
  ControlHandlerList handlers;
  bool control_events_ended = false;
  int slept_ms = 0;
  int end_key = -1;          // what end_of_input_key answers
  bool typed_stdin = false;  // what stdin_is_typed answers
  // Runs on every sleep, so a test can deliver keys or events to a waiter.
  std::function<void(MemoryConsole&)> on_sleep;

  CellConsole& cells() { return cells_; }
  const CellConsole& cells() const { return cells_; }
  int columns() const { return cells_.columns(); }
  int rows() const { return cells_.rows(); }
  const Cell& cell(int x, int y) const { return cells_.cell(x, y); }
  std::string row_text(int y) const { return cells_.row_text(y); }
  Coord cursor() const { return cells_.cursor(); }
  bool cursor_visible() const { return cells_.cursor_visible(); }
  std::uint16_t attribute() const { return cells_.attribute(); }
  CellRect window_rect() const { return cells_.window_rect(); }
  // Delivers a control event to the handlers, last registered first, until
  // one returns true.  Returns whether one did.
  bool raise(ControlEvent event) { return handlers.run(event); }

  bool get_buffer_info(BufferInfo& info) override;
  bool get_largest_window(Coord& size) override;
  bool set_buffer_size(Coord size) override {
    return output_console && cells_.set_buffer_size(size);
  }
  bool set_window_rect(CellRect rect) override {
    return output_console && cells_.set_window_rect(rect);
  }
  bool set_text_attribute(std::uint16_t attr) override;
  bool fill(Cell cell, int count, Coord at) override {
    return output_console && cells_.fill(cell, count, at);
  }
  bool write_cells(const Cell* cells, int count, Coord at) override {
    return output_console && cells_.write_cells(cells, count, at);
  }
  bool scroll(CellRect source, Coord dest, Cell fill) override {
    return output_console && cells_.scroll(source, dest, fill);
  }
  bool set_cursor_position(Coord at) override {
    return output_console && cells_.set_cursor_position(at);
  }
  bool get_cursor_visible(bool& visible) override;
  bool set_cursor_visible(bool visible) override;
  void beep(int hz, int ms) override { beeps.push_back({hz, ms}); }
  bool write_raw(const char* bytes, std::size_t count, std::size_t& written) override;
  void flush_output() override {}
  bool get_input_mode(std::uint32_t& mode) override;
  bool set_input_mode(std::uint32_t mode) override;
  bool peek_input(InputRecord& record) override;
  bool read_input(InputRecord& record) override;
  int map_vk_to_char(int virtual_key) override;
  int read_stdin_byte() override;
  int end_of_input_key() override { return end_key; }
  bool stdin_is_typed() override { return typed_stdin; }
  void sleep_ms(int ms) override {
    slept_ms += ms;
    if (on_sleep) on_sleep(*this);
  }
  bool set_title(std::string_view text) override;
  bool has_window() override { return window; }
  bool move_window(int x, int y) override;
  bool remove_size_and_maximize() override;
  bool get_window_rect(PixelRect& rect) override;
  ControlHandlerId add_control_handler(ControlHandler handler) override {
    return handlers.add(std::move(handler));
  }
  bool remove_control_handler(ControlHandlerId id) override { return handlers.remove(id); }
  void end_control_events() override { control_events_ended = true; }

 private:
  CellConsole cells_;
};

}  // namespace gndfit
