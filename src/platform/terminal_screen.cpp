// SPDX-License-Identifier: MIT
#include "platform/terminal_screen.hpp"

#include <algorithm>
#include <array>

#include "platform/code_page.hpp"

namespace gndfit {

// What the terminal shows is unknown (never drawn, or scrolled under us):
// no real cell equals it, so the next frame writes the cell.
constexpr Cell kUnknownCell{'\0', 0xFFFF};
namespace {

// Console colour bits (blue 1, green 2, red 4) to the ANSI colour number
// (red 1, green 2, blue 4).
constexpr std::array<int, 8> kAnsiColour = {0, 4, 2, 6, 1, 5, 3, 7};

// A cell's byte as the terminal shows it: in UTF-8 the CP437 character,
// else the byte itself; control codes as blanks.
void append_cell_char(char ch, bool utf8, std::string& out) {
  const auto b = static_cast<unsigned char>(ch);
  if (b < 32 || b == 127) {
    out += ' ';
  } else if (b < 128 || !utf8) {
    out += static_cast<char>(b);
  } else {
    append_utf8(cp437_to_unicode(b), out);
  }
}

}  // namespace

std::string sgr_for_attribute(std::uint16_t attr) {
  const int fg = attr & 15, bg = (attr >> 4) & 15;
  const int fg_code = (fg & 8 ? 90 : 30) + kAnsiColour[static_cast<std::size_t>(fg & 7)];
  const int bg_code = (bg & 8 ? 100 : 40) + kAnsiColour[static_cast<std::size_t>(bg & 7)];
  return "\x1b[0;" + std::to_string(fg_code) + ";" + std::to_string(bg_code) + "m";
}

void TerminalScreen::move_to(int row, int column, std::string& out) {
  if (row == row_ && column == column_) return;
  out += "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(column + 1) + "H";
  row_ = row;
  column_ = column;
}

void TerminalScreen::set_attribute(std::uint16_t attr, std::string& out) {
  if (attr == attr_ || !colours_) return;
  out += sgr_for_attribute(attr);
  attr_ = attr;
}

void TerminalScreen::present(const CellConsole& console, int columns, int rows, std::string& out) {
  const CellRect w = console.window_rect();
  const int width = std::min(columns, w.right - w.left + 1);
  const int height = std::min(rows, w.bottom - w.top + 1);
  if (!drawn_ || width != columns_ || height != rows_) {
    columns_ = width;
    rows_ = height;
    rows_shown_.store(height);
    shown_.assign(static_cast<std::size_t>(width) * height, kUnknownCell);
    attr_ = 0xFFFF;
    if (colours_) out += "\x1b[0m";
    out += "\x1b[2J";
    row_ = column_ = -1;
    drawn_ = true;
  }
  bool hidden_for_drawing = false;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Cell& want = console.cell(w.left + x, w.top + y);
      Cell& have = shown_[static_cast<std::size_t>(y) * width + x];
      if (have.ch == want.ch && have.attr == want.attr) continue;
      if (!hidden_for_drawing && cursor_visible_) {
        out += "\x1b[?25l";  // no cursor flickering across the screen
        hidden_for_drawing = true;
      }
      move_to(y, x, out);
      set_attribute(want.attr, out);
      append_cell_char(want.ch, utf8_, out);
      have = want;
      column_ = x + 1 < width ? x + 1 : -1;  // the last column leaves it unknown
      if (column_ < 0) row_ = -1;
    }
  }
  const int full_width = w.right - w.left + 1, full_height = w.bottom - w.top + 1;
  if ((columns < full_width || rows < full_height) && !notice_given_) {
    give_size_notice(full_width, full_height, columns, rows, out);
  }
  const Coord c = console.cursor();
  const int cy = c.y - w.top, cx = c.x - w.left;
  const bool inside = cy >= 0 && cy < height && cx >= 0 && cx < width;
  if (inside) move_to(cy, cx, out);
  const bool visible = console.cursor_visible() && inside;
  if (visible != cursor_visible_ || hidden_for_drawing) {
    out += visible ? "\x1b[?25h" : "\x1b[?25l";
    cursor_visible_ = visible;
  }
}

void TerminalScreen::scroll_out(const std::deque<std::vector<Cell>>& rows, std::string& out) {
  if (rows.empty() || !drawn_) return;
  out += "\x1b[1;" + std::to_string(rows_) + "r";
  row_ = column_ = -1;
  for (const std::vector<Cell>& line : rows) {
    move_to(0, 0, out);
    const int width = std::min(columns_, static_cast<int>(line.size()));
    for (int x = 0; x < width; ++x) {
      set_attribute(line[static_cast<std::size_t>(x)].attr, out);
      append_cell_char(line[static_cast<std::size_t>(x)].ch, utf8_, out);
    }
    if (width < columns_) out += "\x1b[K";
    out += "\x1b[S";
    row_ = column_ = -1;
  }
  out += "\x1b[r";  // the whole screen again; the cursor goes home
  row_ = column_ = -1;
  // Every cell must be written again: mark them all unknown.
  for (Cell& c : shown_) c = kUnknownCell;
}

std::string TerminalScreen::size_notice(int need_columns, int need_rows, int columns, int rows) {
  return "gndfit: the table needs a terminal of " + std::to_string(need_columns) + " x " +
         std::to_string(need_rows) + "; this one is " + std::to_string(columns) + " x " +
         std::to_string(rows) + ".";
}

// Once per run, on the line below the screen when the terminal has one
// (the screen's rows stay as they are); else it is owed to the way out.
void TerminalScreen::give_size_notice(int need_columns, int need_rows, int columns, int rows,
                                      std::string& out) {
  notice_given_ = true;
  const std::string text = size_notice(need_columns, need_rows, columns, rows);
  if (rows <= need_rows) {
    owed_[0].store(need_columns);
    owed_[1].store(need_rows);
    owed_[2].store(columns);
    owed_[3].store(rows);
    owed_set_.store(true);  // release: the sizes are in place
    return;
  }
  move_to(need_rows, 0, out);
  set_attribute(7, out);
  out += text.substr(0, static_cast<std::size_t>(columns));
  row_ = column_ = -1;
}

std::string TerminalScreen::owed_notice() const {
  if (!owed_set_.load()) return {};
  return size_notice(owed_[0].load(), owed_[1].load(), owed_[2].load(), owed_[3].load());
}

void TerminalScreen::leave(int rows, bool pop_title, bool colours, std::string& out) {
  if (colours) out += "\x1b[0m";
  if (rows > 0) out += "\x1b[" + std::to_string(rows + 1) + ";1H";
  out += "\x1b[?25h\r\n";
  if (pop_title) out += "\x1b[23;0t";
}

}  // namespace gndfit
