// SPDX-License-Identifier: MIT
#pragma once
// What the terminal shows, cell by cell, and the bytes that bring it up to
// date with the console's window: only cells that changed are written, as
// a front buffer against the console's cells.
//
// Every byte sequence the program sends a terminal is made here
// (ECMA-48 / xterm):
//   ESC [ 2 J        clear the screen (first frame only)
//   ESC [ r ; c H    move the cursor to row r, column c (1-based)
//   ESC [ 0 ; f ; b m   colours: f 30-37 or 90-97, b 40-47 or 100-107
//   ESC [ 0 m        default colours
//   ESC [ ? 25 l / h    hide / show the cursor
//   ESC [ 1 ; n r / ESC [ r   scroll region over rows 1-n / the whole screen
//   ESC [ S          scroll the region up one row (the top row into history)
//   ESC [ K          clear to the end of the row
//   BEL              the bell
//   ESC ] 0 ; text BEL   the window title
//   ESC [ 22 ; 0 t / ESC [ 23 ; 0 t   push / pop the title (xterm's stack)
#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cell_console.hpp"

namespace gndfit {

class TerminalScreen {
 public:
  // Without colours no SGR sequence is ever sent (NO_COLOR); the layout is
  // the same.  In UTF-8 a cell's byte is shown as its CP437 character.
  explicit TerminalScreen(bool colours = true, bool utf8 = true) : colours_(colours), utf8_(utf8) {}
  bool colours() const { return colours_; }

  // Appends to `out` what makes a terminal of the given size show the
  // console's window and cursor.
  void present(const CellConsole& console, int columns, int rows, std::string& out);
  // Sends rows that left the top of the screen into the terminal's
  // scrollback, oldest first, before the next frame: each is written on
  // the top row of a scroll region over the screen's rows and scrolled up
  // out of it.  What the screen shows is then drawn again, cell by cell,
  // without clearing (a clear would push the screen into the scrollback).
  void scroll_out(const std::deque<std::vector<Cell>>& rows, std::string& out);
  // Forgets what the terminal shows: the next frame is drawn whole.
  void invalidate() { drawn_ = false; }
  // Rows of the last frame (0 before the first); read by any thread.
  int rows_shown() const { return rows_shown_.load(); }
  // Leaves the terminal as the program found it: default colours, the
  // cursor shown below the `rows` the program drew, and with `pop_title`
  // the title it had.  Safe on any thread: it uses nothing of the screen.
  static void leave(int rows, bool pop_title, bool colours, std::string& out);
  // The notice a terminal too small for the screen gets, once.
  static std::string size_notice(int need_columns, int need_rows, int columns, int rows);
  // A notice the terminal had no row for while the program ran, for the
  // way out (any thread); empty when none is owed.
  std::string owed_notice() const;
  // After a leave: the next frame is drawn whole.
  void left() {
    invalidate();
    cursor_visible_ = true;
  }
  static void bell(std::string& out) { out += '\a'; }
  // Sets the title; with `push_first` the terminal's own is kept on its
  // stack before, for leave() to give back.
  static void title(std::string_view text, bool push_first, std::string& out) {
    if (push_first) out += "\x1b[22;0t";
    out += "\x1b]0;";
    out += text;
    out += '\a';
  }

 private:
  void move_to(int row, int column, std::string& out);
  void give_size_notice(int need_columns, int need_rows, int columns, int rows, std::string& out);
  void set_attribute(std::uint16_t attr, std::string& out);

  const bool colours_;
  const bool utf8_;
  bool drawn_ = false;
  std::atomic<int> rows_shown_{0};
  bool notice_given_ = false;
  // The sizes of an owed notice: needed, then the terminal's; set once.
  std::atomic<int> owed_[4] = {0, 0, 0, 0};
  std::atomic<bool> owed_set_{false};
  int columns_ = 0, rows_ = 0;
  std::vector<Cell> shown_;
  int row_ = -1, column_ = -1;  // where the terminal's cursor is, 0-based
  std::uint16_t attr_ = 0xFFFF;
  bool cursor_visible_ = true;
};

// The SGR sequence for a console attribute (foreground in bits 0-3,
// background in bits 4-7: blue, green, red, intensity).
std::string sgr_for_attribute(std::uint16_t attr);

}  // namespace gndfit
