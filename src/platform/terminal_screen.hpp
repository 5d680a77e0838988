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
//   BEL              the bell
//   ESC ] 0 ; text BEL   the window title
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cell_console.hpp"

namespace gndfit {

class TerminalScreen {
 public:
  // Appends to `out` what makes a terminal of the given size show the
  // console's window and cursor.
  void present(const CellConsole& console, int columns, int rows, std::string& out);
  // Forgets what the terminal shows: the next frame is drawn whole.
  void invalidate() { drawn_ = false; }
  // Leaves the terminal usable after the program: default colours, the
  // cursor shown on the line below the window.
  void release(std::string& out);
  // The same in a hurry, on the way out after a signal: nothing is known
  // of where the terminal's cursor is.
  static void reset(std::string& out) { out += "\x1b[0m\x1b[?25h\r\n"; }
  static void bell(std::string& out) { out += '\a'; }
  static void title(std::string_view text, std::string& out) {
    out += "\x1b]0;";
    out += text;
    out += '\a';
  }

 private:
  void move_to(int row, int column, std::string& out);
  void set_attribute(std::uint16_t attr, std::string& out);

  bool drawn_ = false;
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
