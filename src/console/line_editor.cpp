// SPDX-License-Identifier: MIT
#include "console/line_editor.hpp"

#include <algorithm>

namespace gndfit {
namespace {

constexpr KeyCode kTab = 9;
constexpr KeyCode kBackspace = 8;
constexpr KeyCode kEsc = 27;
constexpr KeyCode kEnter = 13;
constexpr KeyCode kLineFeed = 10;
constexpr KeyCode kLeft = extended_key(0x4B);
constexpr KeyCode kRight = extended_key(0x4D);
constexpr KeyCode kHome = extended_key(0x47);
constexpr KeyCode kEnd = extended_key(0x4F);
constexpr KeyCode kUp = extended_key(0x48);
constexpr KeyCode kDown = extended_key(0x50);
constexpr KeyCode kDelete = extended_key(0x53);

// Floor division and a remainder in 0 .. d-1, also for negative n.
int floor_div(int n, int d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

}  // namespace

CursorCell advance_cell(CursorCell at, int delta, int width) {
  const int index = (at.row - 1) * width + (at.column - 1) + delta;
  const int row = floor_div(index, width);
  return {index - row * width + 1, row + 1};
}

void move_cursor_by(TextScreen& screen, CursorCell& at, int delta, ScreenSize size) {
  at = advance_cell(at, delta, size.columns);
  if (at.column == 1 && at.row == size.rows + 1) {
    // Just past the bottom-right corner: scroll one row to get there.
    screen.screen_locate(size.rows, size.columns, cursor::keep);
    screen.console_write("\r\n", 2, 0);
    return;
  }
  screen.screen_locate(at.row, at.column, cursor::keep);
}

std::string LineEditor::edit_line() {
  size_ = screen_.screen_get_size();
  const bool was_visible =
      (screen_.screen_locate(0, 0, cursor::keep) & cursor::was_visible_bit) != 0;
  hide_cursor();
  show_cursor();
  line_.clear();
  edit_pos_ = 0;
  input_ended_ = false;
  for (;;) {
    const CursorCell at = screen_.screen_get_cursor();
    const KeyCode code = wait_for_key();
    if (code == kNoKey) continue;
    const bool finished = act_on(code, at);
    show_cursor();
    if (finished) break;
  }
  CursorCell at = screen_.screen_get_cursor();
  move(at, static_cast<int>(line_.size()) - edit_pos_);
  screen_.screen_locate(0, 0, was_visible ? cursor::show : cursor::hide);
  return std::move(line_);
}

KeyCode LineEditor::wait_for_key() {
  screen_.flush();  // the echo must be out before we wait
  while (!keys_.key_available()) screen_.device().wait_for_input(kKeyPollMs);
  return keys_.take_key();
}

bool LineEditor::act_on(KeyCode code, CursorCell at) {
  const int line_len = static_cast<int>(line_.size());
  const int width = size_.columns;
  if (code >= 32 && code <= 255) {
    insert(std::string(1, static_cast<char>(code)), at);
  } else if (code == kTab) {
    insert(std::string(static_cast<std::size_t>(8 - edit_pos_ % 8), ' '), at);
  } else if (code == kBackspace) {
    if (edit_pos_ > first_reachable(at)) {
      move(at, -1);
      --edit_pos_;
      delete_at_edit_pos(at);
    }
  } else if (code == kDelete) {
    if (edit_pos_ < line_len)
      delete_at_edit_pos(at);
    else
      screen_.device().beep(kBellHz, kBellMs);
  } else if (code == kEsc) {
    erase_line(at);
  } else if (code == kLeft) {
    if (edit_pos_ > first_reachable(at)) {
      move(at, -1);
      --edit_pos_;
    }
  } else if (code == kRight) {
    if (edit_pos_ < line_len) {
      move(at, 1);
      ++edit_pos_;
    }
  } else if (code == kHome) {
    const int start = first_reachable(at);
    move(at, start - edit_pos_);
    edit_pos_ = start;
  } else if (code == kEnd) {
    move(at, line_len - edit_pos_);
    edit_pos_ = line_len;
  } else if (code == kUp) {
    if (edit_pos_ - width >= first_reachable(at)) {
      move(at, -width);
      edit_pos_ -= width;
    }
  } else if (code == kDown) {
    if (edit_pos_ + width <= line_len) {
      move(at, width);
      edit_pos_ += width;
    }
  } else if (code == kEnter || code == kLineFeed) {
    return true;
  } else if (code == screen_.device().end_of_input_key() && line_.empty()) {
    input_ended_ = true;
    return true;
  }
  // Every other code (Insert, function keys, other control codes, the
  // close key) does nothing.
  return false;
}

void LineEditor::insert(const std::string& bytes, CursorCell at) {
  hide_cursor();
  const int n = static_cast<int>(bytes.size());
  const int line_len = static_cast<int>(line_.size());
  const int tail = line_len - edit_pos_;
  line_.insert(static_cast<std::size_t>(edit_pos_), bytes);
  write(line_.substr(static_cast<std::size_t>(edit_pos_)));
  CursorCell end = screen_.screen_get_cursor();
  const bool parked = screen_.pending_wrap();

  if (tail == 0) {
    move(at, n);
  } else {
    const CursorCell would_end = advance_cell(at, n + tail, size_.columns);
    const int h = size_.rows;
    const bool scrolled = would_end.row > h + 1 || (would_end.row == h + 1 && would_end.column > 1);
    if (!scrolled) {
      move(at, n);
    } else {
      // A write that ends on the bottom-right cell leaves the cursor parked
      // on its last byte, not after it: count from the cell after it.
      if (parked) end = advance_cell(end, 1, size_.columns);
      if (advance_cell(end, -tail, size_.columns).row >= 1) {
        move(end, -tail);
      } else {
        // The old tail is longer than the screen: the edit point has
        // scrolled away, so the edit position goes to the end of the line
        // with the cursor.
        if (parked) move(end, 0);
        edit_pos_ = line_len + n;
        return;
      }
    }
  }
  edit_pos_ += n;
}

void LineEditor::delete_at_edit_pos(CursorCell at) {
  hide_cursor();
  line_.erase(static_cast<std::size_t>(edit_pos_), 1);
  write(line_.substr(static_cast<std::size_t>(edit_pos_)) + ' ');
  screen_.screen_locate(at.row, at.column, cursor::keep);
}

void LineEditor::erase_line(CursorCell at) {
  const int start = first_reachable(at);
  move(at, start - edit_pos_);
  edit_pos_ = start;
  const int shown = static_cast<int>(line_.size()) - start;
  if (line_.empty()) return;
  hide_cursor();
  write(std::string(static_cast<std::size_t>(shown), ' '));
  screen_.screen_locate(at.row, at.column, cursor::keep);
  line_.clear();
  edit_pos_ = 0;
}

int LineEditor::first_reachable(CursorCell at) const {
  return std::max(0, edit_pos_ - ((at.row - 1) * size_.columns + (at.column - 1)));
}

}  // namespace gndfit
