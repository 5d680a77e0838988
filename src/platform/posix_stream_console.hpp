#pragma once
// POSIX standard input and output as raw byte streams, for redirected
// input or output: the program behaves as with a file.  SIGINT, SIGHUP and
// SIGTERM arrive as console control events on a thread of their own.  The
// terminal console builds on it.
#include "platform/console_device.hpp"
#include "platform/handler_list.hpp"
#include "platform/input_buffer.hpp"
#include "platform/locale_case.hpp"
#include "platform/output_buffer.hpp"

namespace gndfit {

class PosixStreamConsole : public ConsoleDevice {
 public:
  PosixStreamConsole();
  ~PosixStreamConsole() override;

  bool get_buffer_info(BufferInfo&) override { return false; }
  bool get_largest_window(Coord&) override { return false; }
  bool set_buffer_size(Coord) override { return false; }
  bool set_window_rect(SmallRect) override { return false; }
  bool set_text_attribute(std::uint16_t) override { return false; }
  bool fill_attribute(std::uint16_t, int, Coord) override { return false; }
  bool fill_character(char, int, Coord) override { return false; }
  bool write_cells(const Cell*, int, Coord) override { return false; }
  bool scroll(SmallRect, Coord, Cell) override { return false; }
  bool set_cursor_position(Coord) override { return false; }
  bool get_cursor_visible(bool&) override { return false; }
  bool set_cursor_visible(bool) override { return false; }
  void beep(int, int) override {}
  bool write_raw(const char* bytes, std::size_t count, std::size_t& written) override;
  void flush_output() override;
  bool get_input_mode(std::uint32_t&) override { return false; }
  bool set_input_mode(std::uint32_t) override { return false; }
  bool peek_input(InputRecord&) override { return false; }
  bool read_input(InputRecord&) override { return false; }
  int map_vk_to_char(int) override { return 0; }
  int swap_case(int ch) override { return swap_case_in_locale(ch); }
  int read_stdin_byte() override { return input_.next_byte(); }
  void sleep_ms(int ms) override;
  bool set_title(std::string_view) override { return false; }
  bool has_window() override { return false; }
  bool move_window(int, int) override { return false; }
  bool remove_size_and_maximize() override { return false; }
  bool get_window_rect(SmallRect&) override { return false; }
  bool add_control_handler(ControlHandler handler) override {
    handlers_.add(handler);
    return true;
  }
  bool remove_control_handler(ControlHandler handler) override { return handlers_.remove(handler); }

  // Runs the handlers for an event, last registered first, until one
  // returns true; then the process ends as the console would end it.
  [[noreturn]] void deliver(ControlEvent event, int exit_status);

 protected:
  // Runs on the signal thread just before the process ends.
  virtual void before_exit() {}
  OutputBuffer& output() { return output_; }

 private:
  OutputBuffer output_;
  InputBuffer input_;
  ControlHandlerList handlers_;
};

}  // namespace gndfit
