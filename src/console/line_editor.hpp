// SPDX-License-Identifier: MIT
#pragma once
// The line editor behind the prompt: takes key codes, echoes and edits one
// line on the text screen and returns it when Enter (13) or Ctrl+J (10)
// arrives.  Typing always inserts; the line has no length limit.  The cursor
// is read back from the screen before every key, nothing about the screen
// is cached.
//
// Lines longer than the screen: once the start of the line has scrolled off
// the top, the editor refuses to move the edit position onto a cell that is
// no longer on the screen (Left, Backspace and Up there do nothing; Home and
// Esc go to the first cell still shown, and Esc then empties the whole
// line).  So the cursor always stands on the edit position's cell.
#include <string>

#include "console/key_input.hpp"
#include "console/text_screen.hpp"

namespace gndfit {

inline constexpr int kKeyPollMs = 25;

// The cell d cells on from `at` on a screen W cells wide; rows are not
// clamped, so the result may lie above row 1 or below the bottom row.
CursorCell advance_cell(CursorCell at, int delta, int width);
// Moves `at` by d cells and puts the cursor there.  The cell just past the
// bottom-right corner scrolls the screen one row and lands on column 1 of
// the bottom row; a target off the screen leaves the cursor where it is.
void move_cursor_by(TextScreen& screen, CursorCell& at, int delta, ScreenSize size);

class LineEditor {
 public:
  LineEditor(TextScreen& screen, KeyInput& keys) : screen_(screen), keys_(keys) {}

  std::string edit_line();
  // True when the last line was ended by the device's end-of-input key on
  // an empty line rather than by Enter.
  bool input_ended() const { return input_ended_; }

 private:
  KeyCode wait_for_key();
  // Returns true when the key finishes the line.
  bool act_on(KeyCode code, CursorCell at);
  void insert(const std::string& bytes, CursorCell at);
  void delete_at_edit_pos(CursorCell at);
  void erase_line(CursorCell at);
  void move(CursorCell& at, int delta) { move_cursor_by(screen_, at, delta, size_); }
  int first_reachable(CursorCell at) const;
  void hide_cursor() { screen_.screen_locate(0, 0, cursor::hide); }
  void show_cursor() { screen_.screen_locate(0, 0, cursor::show); }
  void write(const std::string& bytes) { screen_.console_write(bytes.data(), bytes.size(), 0); }

  TextScreen& screen_;
  KeyInput& keys_;
  ScreenSize size_{80, 25};
  std::string line_;
  int edit_pos_ = 0;
  bool input_ended_ = false;
};

}  // namespace gndfit
