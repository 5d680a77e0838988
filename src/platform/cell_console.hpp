// SPDX-License-Identifier: MIT
#pragma once
// A console screen buffer held in memory, with the console's own rules:
// a grid of character and attribute cells, a window onto it that never
// grows past the largest window, a buffer that never shrinks below the
// window, fills that run on across rows and stop at the end of the buffer,
// scrolling with a fill for the uncovered cells, a cursor that stays inside
// the buffer, and the current text attribute.  The terminal console draws
// from it; the tests' in-memory console is built on it.
#include <deque>
#include <string>
#include <vector>

#include "platform/console_device.hpp"

namespace gndfit {

class CellConsole {
 public:
  // A buffer of the given size whose window shows all of it.
  CellConsole(int columns, int rows);

  Coord largest_window{200, 60};

  void get_buffer_info(BufferInfo& info) const;
  bool set_buffer_size(Coord size);
  bool set_window_rect(CellRect rect);  // absolute coordinates
  void set_text_attribute(std::uint16_t attr) { attr_ = attr; }
  bool fill(Cell cell, int count, Coord at);
  bool write_cells(const Cell* cells, int count, Coord at);  // one row
  bool scroll(CellRect source, Coord dest, Cell fill);
  // With `keep` on, rows that scrolling pushes off the window's top are kept
  // (for a terminal's scrollback); off, as at start, nothing is copied.
  void keep_rows_leaving(bool keep) { keep_rows_left_ = keep; }
  // The rows kept since the last take, oldest first (at most
  // kRowsLeftLimit, the newest).
  std::deque<std::vector<Cell>> take_rows_left();
  static constexpr std::size_t kRowsLeftLimit = 10000;
  bool set_cursor_position(Coord at);
  void set_cursor_visible(bool visible) { visible_ = visible; }

  int columns() const { return size_.x; }
  int rows() const { return size_.y; }
  const Cell& cell(int x, int y) const { return cells_[index(x, y)]; }
  // The characters of one buffer row, trailing blanks kept.
  std::string row_text(int y) const;
  Coord cursor() const { return cursor_; }
  bool cursor_visible() const { return visible_; }
  std::uint16_t attribute() const { return attr_; }
  CellRect window_rect() const { return window_; }

 private:
  void keep_rows_leaving_top(CellRect src, Coord dest);
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * size_.x + x; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < size_.x && y < size_.y; }

  Coord size_;
  std::vector<Cell> cells_;
  CellRect window_;
  Coord cursor_;
  bool visible_ = true;
  std::uint16_t attr_ = 7;
  bool keep_rows_left_ = false;
  std::deque<std::vector<Cell>> rows_left_;
};

}  // namespace gndfit
