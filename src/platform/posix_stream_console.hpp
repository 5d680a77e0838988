// SPDX-License-Identifier: MIT
#pragma once
// POSIX standard input and output as raw byte streams, for redirected
// input or output: the program behaves as with a file.  The control
// signals arrive as console control events on a thread of their own.  The
// terminal console builds on it.
//
// Nothing is lost and no failure is hidden: a write that would block waits
// (also on a non-blocking descriptor), and a read likewise; a failed read
// or write ends the run with one line on standard error and status 1; a
// broken pipe ends it by SIGPIPE, silently, as a Unix filter ends.
#include <mutex>
#include <optional>

#include "platform/console_device.hpp"
#include "platform/control_signals.hpp"
#include "platform/handler_list.hpp"
#include "platform/input_buffer.hpp"
#include "platform/output_buffer.hpp"

namespace gndfit {

class PosixStreamConsole : public ConsoleDevice {
 public:
  // `typed`: standard input is a terminal that is read line by line in its
  // own mode (one that cannot be drawn on, such as TERM=dumb).
  explicit PosixStreamConsole(bool typed = false);
  // Batch use with the input from `reader` (files named on the command
  // line) instead of standard input.
  explicit PosixStreamConsole(InputBuffer::Reader reader);
  ~PosixStreamConsole() override;

  bool get_buffer_info(BufferInfo&) override { return false; }
  bool get_largest_window(Coord&) override { return false; }
  bool set_buffer_size(Coord) override { return false; }
  bool set_window_rect(CellRect) override { return false; }
  bool set_text_attribute(std::uint16_t) override { return false; }
  bool fill(Cell, int, Coord) override { return false; }
  bool write_cells(const Cell*, int, Coord) override { return false; }
  bool scroll(CellRect, Coord, Cell) override { return false; }
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
  int read_stdin_byte() override { return input_.next_byte(); }
  int end_of_input_key() override { return -1; }
  bool stdin_is_typed() override { return typed_; }
  void sleep_ms(int ms) override;
  bool set_title(std::string_view) override { return false; }
  bool has_window() override { return false; }
  bool move_window(int, int) override { return false; }
  bool remove_size_and_maximize() override { return false; }
  bool get_window_rect(PixelRect&) override { return false; }
  ControlHandlerId add_control_handler(ControlHandler handler) override;
  bool remove_control_handler(ControlHandlerId id) override { return handlers_.remove(id); }
  void end_control_events() override { signals_.reset(); }
  // The same from whichever thread asks: the signal thread cannot stop
  // itself, and needs not, as it is the one that ends the process then.
  void end_control_events_unless_on_signal_thread() {
    if (!signals_ || !signals_->is_current()) end_control_events();
  }

  // Ends the run as a control event does: the handlers run, last
  // registered first, until one returns true; what is complete of the
  // output is sent; then the process ends by the signal.
  [[noreturn]] void deliver(ControlEvent event, int signal_number);

 protected:
  // Runs just before the process ends, on whichever thread ends it.
  virtual void before_exit() {}
  // A console that must act on suspend and resume (SIGTSTP, SIGCONT) says
  // so; it then receives them on the signal thread.
  virtual bool takes_job_control() const { return false; }
  virtual void job_control(int /*signal_number*/) {}
  // A write to standard output failed with this error number.
  virtual void output_failed(int error);
  // The first caller goes on to end the process; any other waits here for
  // the end, so two ways out never run at once.
  void begin_ending() { ending_.lock(); }
  [[noreturn]] void fail(const char* action, int error);
  PosixStreamConsole(InputBuffer::Reader reader, bool typed);
  std::size_t read_standard_input(unsigned char* bytes, std::size_t count);
  OutputBuffer& output() { return output_; }

 private:
  OutputBuffer output_;
  InputBuffer input_;
  ControlHandlerList handlers_;
  const bool typed_;
  std::mutex ending_;
  std::optional<ControlSignalThread> signals_;  // last: stopped first
};

// Standard descriptors that are closed at start get /dev/null, opened the
// other way round (standard output read-only, standard input write-only),
// so that their use fails with EBADF, as it would have, and no file that
// the program opens later takes their number.
void occupy_closed_standard_descriptors();

// Writes all the bytes to a descriptor, waiting while it would block.  In
// bounded mode it gives up when the descriptor accepts nothing for 100 ms.
WriteResult write_fully(int fd, const char* bytes, std::size_t count, OutputBuffer::Mode mode);

}  // namespace gndfit
