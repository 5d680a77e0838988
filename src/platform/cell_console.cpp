// SPDX-License-Identifier: MIT
#include "platform/cell_console.hpp"

#include <algorithm>

namespace gndfit {

CellConsole::CellConsole(int columns, int rows)
    : size_{static_cast<std::int16_t>(columns), static_cast<std::int16_t>(rows)},
      cells_(static_cast<std::size_t>(columns) * rows),
      window_{0, 0, static_cast<std::int16_t>(columns - 1), static_cast<std::int16_t>(rows - 1)} {}

std::string CellConsole::row_text(int y) const {
  std::string s;
  for (int x = 0; x < size_.x; ++x) s += cell(x, y).ch;
  return s;
}

void CellConsole::get_buffer_info(BufferInfo& info) const {
  info.size = size_;
  info.cursor = cursor_;
  info.attributes = attr_;
  info.window = window_;
}

// Like the console, the buffer may not become smaller than the window.
bool CellConsole::set_buffer_size(Coord size) {
  if (size.x <= window_.right - window_.left || size.y <= window_.bottom - window_.top) {
    return false;
  }
  std::vector<Cell> next(static_cast<std::size_t>(size.x) * size.y);
  for (int y = 0; y < std::min(size.y, size_.y); ++y)
    for (int x = 0; x < std::min(size.x, size_.x); ++x)
      next[static_cast<std::size_t>(y) * size.x + x] = cell(x, y);
  cells_ = std::move(next);
  size_ = size;
  cursor_.x = std::min<std::int16_t>(cursor_.x, static_cast<std::int16_t>(size.x - 1));
  cursor_.y = std::min<std::int16_t>(cursor_.y, static_cast<std::int16_t>(size.y - 1));
  return true;
}

bool CellConsole::set_window_rect(CellRect r) {
  if (r.left < 0 || r.top < 0 || r.right >= size_.x || r.bottom >= size_.y || r.left > r.right ||
      r.top > r.bottom || r.right - r.left >= largest_window.x ||
      r.bottom - r.top >= largest_window.y) {
    return false;
  }
  window_ = r;
  return true;
}

// Fills run along rows from a start cell, wrapping to the next row and
// stopping at the end of the buffer, as the console's fill calls do.
bool CellConsole::fill(Cell cell, int count, Coord at) {
  if (!inside(at.x, at.y)) return false;
  std::size_t i = index(at.x, at.y);
  for (int n = 0; n < count && i < cells_.size(); ++n, ++i) cells_[i] = cell;
  return true;
}

bool CellConsole::write_cells(const Cell* cells, int count, Coord at) {
  if (!inside(at.x, at.y)) return false;
  for (int n = 0; n < count && at.x + n < size_.x; ++n) cells_[index(at.x + n, at.y)] = cells[n];
  return true;
}

bool CellConsole::scroll(CellRect src, Coord dest, Cell fill) {
  src.left = std::max<std::int16_t>(src.left, 0);
  src.top = std::max<std::int16_t>(src.top, 0);
  src.right = std::min<std::int16_t>(src.right, static_cast<std::int16_t>(size_.x - 1));
  src.bottom = std::min<std::int16_t>(src.bottom, static_cast<std::int16_t>(size_.y - 1));
  if (src.left > src.right || src.top > src.bottom) return false;
  const int w = src.right - src.left + 1, h = src.bottom - src.top + 1;
  keep_rows_leaving_top(src, dest);
  std::vector<Cell> copy;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) copy.push_back(cell(src.left + x, src.top + y));
  auto covered = [&](int x, int y) {
    return x >= dest.x && x < dest.x + w && y >= dest.y && y < dest.y + h;
  };
  for (int y = src.top; y <= src.bottom; ++y)
    for (int x = src.left; x <= src.right; ++x)
      if (!covered(x, y)) cells_[index(x, y)] = fill;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inside(dest.x + x, dest.y + y))
        cells_[index(dest.x + x, dest.y + y)] = copy[static_cast<std::size_t>(y) * w + x];
  return true;
}

// Whole rows moved up onto the window's top row push the rows above the
// source out of the screen: they are kept, in order, for the terminal's
// scrollback.
void CellConsole::keep_rows_leaving_top(CellRect src, Coord dest) {
  if (!keep_rows_left_) return;
  const bool whole_rows = src.left <= window_.left && src.right >= window_.right;
  if (!whole_rows || dest.y != window_.top || dest.x != src.left || src.top <= dest.y) return;
  for (int y = dest.y; y < src.top; ++y) {
    if (rows_left_.size() == kRowsLeftLimit) rows_left_.pop_front();
    rows_left_.emplace_back(
        cells_.begin() + static_cast<std::ptrdiff_t>(index(window_.left, y)),
        cells_.begin() + static_cast<std::ptrdiff_t>(index(window_.right, y)) + 1);
  }
}

std::deque<std::vector<Cell>> CellConsole::take_rows_left() {
  std::deque<std::vector<Cell>> rows;
  rows.swap(rows_left_);
  return rows;
}

bool CellConsole::set_cursor_position(Coord at) {
  if (!inside(at.x, at.y)) return false;
  cursor_ = at;
  return true;
}

}  // namespace gndfit
