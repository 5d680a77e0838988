#pragma once
// A POSIX terminal as the console: the screen buffer is a cell grid in
// memory, drawn on the terminal (only what changed) whenever the program
// is about to wait; keys are read without echo or line editing and decoded
// into key-event records.  Ctrl+C still interrupts (the terminal turns it
// into SIGINT, a control event), as processed console input does.  The
// terminal is given back as it was at exit.
#include <termios.h>

#include "platform/memory_console.hpp"
#include "platform/posix_stream_console.hpp"
#include "platform/terminal_keys.hpp"
#include "platform/terminal_screen.hpp"

namespace gndfit {

class TerminalConsole : public PosixStreamConsole {
 public:
  TerminalConsole();
  ~TerminalConsole() override;

  bool get_buffer_info(BufferInfo& info) override { return model_.get_buffer_info(info); }
  bool get_largest_window(Coord& size) override { return model_.get_largest_window(size); }
  bool set_buffer_size(Coord size) override { return model_.set_buffer_size(size); }
  bool set_window_rect(SmallRect rect) override { return model_.set_window_rect(rect); }
  bool set_text_attribute(std::uint16_t attr) override { return model_.set_text_attribute(attr); }
  bool fill_attribute(std::uint16_t attr, int count, Coord at) override {
    return model_.fill_attribute(attr, count, at);
  }
  bool fill_character(char ch, int count, Coord at) override {
    return model_.fill_character(ch, count, at);
  }
  bool write_cells(const Cell* cells, int count, Coord at) override {
    return model_.write_cells(cells, count, at);
  }
  bool scroll(SmallRect source, Coord dest, Cell fill) override {
    return model_.scroll(source, dest, fill);
  }
  bool set_cursor_position(Coord at) override { return model_.set_cursor_position(at); }
  bool get_cursor_visible(bool& visible) override { return model_.get_cursor_visible(visible); }
  bool set_cursor_visible(bool visible) override { return model_.set_cursor_visible(visible); }
  void beep(int hz, int ms) override;
  void flush_output() override;
  bool get_input_mode(std::uint32_t& mode) override { return model_.get_input_mode(mode); }
  bool set_input_mode(std::uint32_t mode) override { return model_.set_input_mode(mode); }
  bool peek_input(InputRecord& record) override;
  bool read_input(InputRecord& record) override;
  int map_vk_to_char(int virtual_key) override { return model_.map_vk_to_char(virtual_key); }
  bool set_title(std::string_view title) override;

 protected:
  void before_exit() override;
  void output_failed(int error) override;

 private:
  explicit TerminalConsole(Coord size);  // the terminal's size, read once
  void read_keys();
  [[noreturn]] void hang_up();
  void restore_terminal();

  MemoryConsole model_;
  TerminalScreen screen_;
  TerminalKeyDecoder keys_;
  termios saved_{};
  bool raw_ = false;
  bool waited_once_ = false;  // a sequence was still unfinished at the last look
  std::string frame_;
};

// True when standard input and output are both terminals.
bool stdio_is_terminal();

}  // namespace gndfit
