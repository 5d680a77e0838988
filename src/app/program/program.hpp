// SPDX-License-Identifier: MIT
#pragma once
// The program: the entry routine's steps, the endless prompt-fit-print loop
// and the three result rows.  One instance per process holds every piece of
// process-wide state; tests build their own on a MemoryConsole.
#include <string>

#include "app/program/table_rows.hpp"
#include "console/input_source.hpp"
#include "console/key_input.hpp"
#include "console/key_queue.hpp"
#include "console/numeric_mask.hpp"
#include "console/prompted_input.hpp"
#include "console/text_screen.hpp"
#include "model/fit_state.hpp"
#include "platform/console_device.hpp"
#include "platform/position_file.hpp"
#include "platform/runtime.hpp"

namespace gndfit {

// The console screen the program sets up: columns and rows.
inline constexpr int kScreenColumns = 109;
inline constexpr int kScreenRows = 19;

class Program {
 public:
  explicit Program(ConsoleDevice& device, std::string position_path = "gndfit.ini");
  ~Program();

  // Before the entry routine: the run-time's start-up and the arguments.
  void start_process(int argc, char** argv);
  // The orderly end: no control event is handled after it, the run-time's
  // handler is removed and every file closed.
  void exit_process();

  // Position file, window set-up, screen, heading and legend.
  void enter();
  // One prompt and, for a valid measurement, its three rows.  False when
  // redirected input has no byte left at the start of the pass, or the
  // user ended the input at the prompt (Ctrl+D at a Unix terminal).
  bool run_pass();
  // Ends the run as a console control event does: the position is saved
  // (when there is a window), the file closed and all output sent.
  void end_run();
  // The measurements shown as a table so far.
  long tables_shown() const { return tables_shown_; }

  // The console control handlers.  The program's saves the position and
  // closes the file; the run-time's, registered first (so it runs after),
  // queues the close key when the session ends and lets the system end the
  // process.
  bool position_handler(ControlEvent event);
  bool runtime_ctrl_handler(ControlEvent event);
  ControlHandlerId position_handler_id() const { return position_handler_id_; }

  ConsoleDevice& device;
  Runtime runtime;
  FitState fit;
  TextScreen screen;
  NumericMask mask;
  InputSource input;
  KeyQueue key_queue;
  KeyInput keys;
  PromptedInput prompted;
  PositionFile position;

 private:
  void setup_window(std::int32_t packed);
  void remove_position_handler();
  void start_up();
  void print_rows();
  void set_colour(int index) { screen.screen_set_color(index, 0, colour_flags::keep_background); }
  void write(std::string_view text, int flags = line_end::none) {
    screen.print_text(0, text, flags);
  }
  void end_line() { screen.print_line_end(0, line_end::new_line); }

  // The table's rows onto this program's screen.
  class ScreenRows : public TableRowSink {
   public:
    explicit ScreenRows(Program& program) : program_(program) {}
    void set_colour(int colour) override { program_.set_colour(colour); }
    void write(std::string_view text, bool ends_line) override {
      program_.write(text, ends_line ? line_end::new_line : line_end::none);
    }
    void end_line() override { program_.end_line(); }

   private:
    Program& program_;
  };

  std::string row_text_;  // one run of a row, reused
  ControlHandlerId position_handler_id_ = 0;
  long tables_shown_ = 0;
};

}  // namespace gndfit
