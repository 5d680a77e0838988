#pragma once
// A console held in memory: a cell grid with a window, a cursor, the current
// attribute, captured raw output, a log of beeps and a queue of input
// records.  Tests drive the program through it; a terminal backend can use it
// as its cell model and add only rendering.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/console_device.hpp"
#include "platform/handler_list.hpp"

namespace gndfit {

class MemoryConsole : public ConsoleDevice {
 public:
  // A console of the given buffer size whose window shows all of it.
  MemoryConsole(int columns = 80, int rows = 25);
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
  Coord largest_window{200, 60};
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
  int slept_ms = 0;
  bool control_events_ended = false;
  // Runs on every sleep, so a test can deliver keys or events to a waiter.
  std::function<void(MemoryConsole&)> on_sleep;

  int columns() const { return size_.x; }
  int rows() const { return size_.y; }
  const Cell& cell(int x, int y) const { return cells_[index(x, y)]; }
  // The characters of one buffer row, trailing blanks kept.
  std::string row_text(int y) const;
  Coord cursor() const { return cursor_; }
  bool cursor_visible() const { return visible_; }
  std::uint16_t attribute() const { return attr_; }
  SmallRect window_rect() const { return window_; }
  // Delivers a control event to the handlers, last registered first, until
  // one returns true.  Returns whether one did.
  bool raise(ControlEvent event) { return handlers.run(event); }

  bool get_buffer_info(BufferInfo& info) override;
  bool get_largest_window(Coord& size) override;
  bool set_buffer_size(Coord size) override;
  bool set_window_rect(SmallRect rect) override;
  bool set_text_attribute(std::uint16_t attr) override;
  bool fill_attribute(std::uint16_t attr, int count, Coord at) override;
  bool fill_character(char ch, int count, Coord at) override;
  bool write_cells(const Cell* cells, int count, Coord at) override;
  bool scroll(SmallRect source, Coord dest, Cell fill) override;
  bool set_cursor_position(Coord at) override;
  bool get_cursor_visible(bool& visible) override;
  bool set_cursor_visible(bool visible) override;
  void beep(int hz, int ms) override;
  bool write_raw(const char* bytes, std::size_t count, std::size_t& written) override;
  void flush_output() override {}
  bool get_input_mode(std::uint32_t& mode) override;
  bool set_input_mode(std::uint32_t mode) override;
  bool peek_input(InputRecord& record) override;
  bool read_input(InputRecord& record) override;
  int map_vk_to_char(int virtual_key) override;
  int swap_case(int ch) override;
  int read_stdin_byte() override;
  void sleep_ms(int ms) override {
    slept_ms += ms;
    if (on_sleep) on_sleep(*this);
  }
  bool set_title(std::string_view text) override;
  bool has_window() override { return window; }
  bool move_window(int x, int y) override;
  bool remove_size_and_maximize() override;
  bool get_window_rect(SmallRect& rect) override;
  ControlHandlerId add_control_handler(ControlHandler handler) override {
    return handlers.add(std::move(handler));
  }
  bool remove_control_handler(ControlHandlerId id) override { return handlers.remove(id); }
  void end_control_events() override { control_events_ended = true; }

 private:
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * size_.x + x; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < size_.x && y < size_.y; }
  template <typename Fn>
  bool fill_run(int count, Coord at, Fn&& fn);

  Coord size_;
  std::vector<Cell> cells_;
  SmallRect window_;
  Coord cursor_;
  bool visible_ = true;
  std::uint16_t attr_ = 7;
};

}  // namespace gndfit
