#pragma once
// What the terminal shows, cell by cell, and the bytes that bring it up to
// date with the console's window: only cells that changed are written, as
// a front buffer against the console's cells.
//
// Escape sequences emitted (ECMA-48 / xterm):
//   ESC [ 2 J        clear the screen (first frame only)
//   ESC [ r ; c H    move the cursor to row r, column c (1-based)
//   ESC [ 0 ; f ; b m   colours: f 30-37 or 90-97, b 40-47 or 100-107
//   ESC [ ? 25 l / h    hide / show the cursor
#include <cstdint>
#include <string>
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
