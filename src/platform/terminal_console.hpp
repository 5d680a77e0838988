// SPDX-License-Identifier: MIT
#pragma once
// A POSIX terminal as the console: the screen buffer is a cell grid in
// memory, drawn on the terminal (only what changed) whenever the program
// is about to wait; keys are read without echo or line editing and decoded
// into key-event records.  Ctrl+C still interrupts (the terminal turns it
// into SIGINT, a control event), as processed console input does.  The
// terminal is given back as it was at exit.
#include <termios.h>

#include <atomic>
#include <deque>
#include <mutex>

#include "platform/cell_console.hpp"
#include "platform/code_page.hpp"
#include "platform/posix_stream_console.hpp"
#include "platform/terminal_keys.hpp"
#include "platform/terminal_screen.hpp"
#include "platform/us_keyboard.hpp"
#include "platform/wake_up_pipe.hpp"

namespace gndfit {

class TerminalConsole : public PosixStreamConsole {
 public:
  TerminalConsole();
  ~TerminalConsole() override;

  bool get_buffer_info(BufferInfo& info) override {
    model_.get_buffer_info(info);
    return true;
  }
  bool get_largest_window(Coord& size) override {
    size = model_.largest_window;
    return true;
  }
  bool set_buffer_size(Coord size) override { return model_.set_buffer_size(size); }
  bool set_window_rect(CellRect rect) override { return model_.set_window_rect(rect); }
  bool set_text_attribute(std::uint16_t attr) override {
    model_.set_text_attribute(attr);
    return true;
  }
  bool fill(Cell cell, int count, Coord at) override { return model_.fill(cell, count, at); }
  bool write_cells(const Cell* cells, int count, Coord at) override {
    return model_.write_cells(cells, count, at);
  }
  bool scroll(CellRect source, Coord dest, Cell fill) override {
    return model_.scroll(source, dest, fill);
  }
  bool set_cursor_position(Coord at) override { return model_.set_cursor_position(at); }
  bool get_cursor_visible(bool& visible) override {
    visible = model_.cursor_visible();
    return true;
  }
  bool set_cursor_visible(bool visible) override {
    model_.set_cursor_visible(visible);
    return true;
  }
  void beep(int hz, int ms) override;
  void flush_output() override;
  bool get_input_mode(std::uint32_t& mode) override {
    mode = input_mode_;
    return true;
  }
  bool set_input_mode(std::uint32_t mode) override {
    input_mode_ = mode;
    return true;
  }
  bool peek_input(InputRecord& record) override;
  bool read_input(InputRecord& record) override;
  int map_vk_to_char(int virtual_key) override { return us_layout_char(virtual_key); }
  bool set_title(std::string_view title) override;
  int end_of_input_key() override { return 4; }     // Ctrl+D, the Unix habit
  // Asleep until a byte, a signal or a resize: a program at rest at its
  // prompt costs nothing.  An unfinished key sequence still waits at most
  // `poll_ms` per look, so that a lone Esc is taken as the Esc key.
  void wait_for_input(int poll_ms) override;
  bool stdin_is_typed() override { return false; }  // it is a console

 protected:
  void before_exit() override;
  void output_failed(int error) override;
  bool takes_job_control() const override { return true; }
  // Ctrl+Z: the terminal is given back as at the end, then the process
  // stops; when continued it takes the terminal again and draws it whole.
  // A resize wakes the main thread, whose next frame fits the new size.
  void job_control(int signal_number) override;

 private:
  explicit TerminalConsole(Coord size);  // the terminal's size, read once
  void read_keys();
  void enter_raw_mode();
  std::string leave_bytes();
  [[noreturn]] void hang_up();
  void restore_terminal();

  CellConsole model_;
  const bool utf8_;                    // the user's locale: typed and shown as UTF-8
  std::deque<InputRecord> keys_read_;  // decoded, not yet taken
  std::uint32_t input_mode_ = 0x01F7;  // kept for the program; the terminal has its own modes
  TerminalScreen screen_;
  TerminalKeyDecoder keys_;
  Utf8ToCp437 utf8_in_;
  std::string decoded_;
  termios saved_{};
  bool raw_ = false;
  std::atomic<bool> title_pushed_{false};  // read on the way out, on any thread
  // Held while bytes go to the terminal and while it is given back for a
  // suspend, so that no frame is written into the shell's terminal.
  std::mutex drawing_;
  std::string title_;         // under drawing_
  bool given_back_ = false;   // under drawing_: suspended, terminal restored
  bool waited_once_ = false;  // a sequence was still unfinished at the last look
  std::string frame_;
  WakeUpPipe wake_;  // the signal thread wakes a waiting main thread through it
};

// True when standard input and output are both terminals.
bool stdio_is_terminal();
// True when the terminal can be drawn on: TERM set, not empty, not "dumb".
bool terminal_can_draw();

}  // namespace gndfit
