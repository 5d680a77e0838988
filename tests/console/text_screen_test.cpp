// SPDX-License-Identifier: MIT
#include "console/text_screen.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/memory_console.hpp"

namespace gndfit {
namespace {

// A console sized as the program sizes it, with rows that can be filled.
struct SizedScreen {
  MemoryConsole console{80, 25};
  TextScreen screen{console};
  SizedScreen() {
    screen.screen_set_size(109, 19);
    screen.screen_clear(kClearTextView);
  }
  void write(const std::string& s) { screen.console_write(s.data(), s.size(), 0); }
  void locate(int row, int column) { screen.screen_locate(row, column, -1); }
  std::string row(int r) const { return console.row_text(r - 1); }  // 1-based
};

const std::string kBlankRow(109, ' ');
std::string full_row(char c) { return std::string(109, c); }

TEST(TextScreen, SizingGivesA109By19BufferAndWindowWithTheCursorHome) {
  MemoryConsole c(80, 25);
  TextScreen s(c);
  c.set_cursor_position({10, 10});
  EXPECT_EQ(s.screen_set_size(109, 19), 0);
  EXPECT_EQ(c.columns(), 109);
  EXPECT_EQ(c.rows(), 19);
  const CellRect w = c.window_rect();
  EXPECT_EQ(w.left, 0);
  EXPECT_EQ(w.top, 0);
  EXPECT_EQ(w.right, 108);
  EXPECT_EQ(w.bottom, 18);
  EXPECT_EQ(c.cursor().x, 0);
  EXPECT_EQ(c.cursor().y, 0);
  EXPECT_EQ(s.screen_set_view(-1, -1, false), (19 << 16) | 1);
  EXPECT_EQ(s.line_width(), 109);
  EXPECT_EQ(s.screen_set_size(0, 0), 109 | (19 << 16));  // changes nothing
}

TEST(TextScreen, SizeLargerThanTheDisplayKeepsTheBufferAndLimitsTheWindow) {
  MemoryConsole c(80, 25);
  c.cells().largest_window = {100, 15};
  TextScreen s(c);
  s.screen_set_size(109, 19);
  EXPECT_EQ(c.columns(), 109);
  EXPECT_EQ(c.rows(), 19);
  EXPECT_EQ(c.window_rect().right, 99);
  EXPECT_EQ(c.window_rect().bottom, 14);
}

TEST(TextScreen, ClearPaintsTheConsolesOwnAttribute) {
  MemoryConsole c(80, 25);
  TextScreen s(c);
  c.set_text_attribute(0x1E);
  s.screen_set_size(109, 19);
  Cell x{'x', 3};
  c.write_cells(&x, 1, {50, 18});
  c.set_cursor_position({4, 4});
  s.screen_clear(kClearTextView);
  for (int y = 0; y < 19; ++y) {
    EXPECT_EQ(c.row_text(y), kBlankRow);
    for (int col = 0; col < 109; ++col) ASSERT_EQ(c.cell(col, y).attr, 0x1E);
  }
  EXPECT_EQ(c.cursor().x, 0);
  EXPECT_EQ(c.cursor().y, 0);
  EXPECT_EQ(s.print_column(), 0);
}

TEST(TextScreen, ColourSetsTheStoredBackgroundNotTheConsoles) {
  MemoryConsole c;
  c.set_text_attribute(0x1E);
  TextScreen s(c);
  EXPECT_EQ(s.screen_set_color(11, 0, 2), 7);  // previous: foreground 7, background 0
  EXPECT_EQ(c.attribute(), 11);
  EXPECT_EQ(s.screen_set_color(8, 5, 2), 11);
  EXPECT_EQ(c.attribute(), 8);
  EXPECT_EQ(s.screen_set_color(3, 5, 1), 8);  // keeps foreground 8, takes background 5
  EXPECT_EQ(c.attribute(), 8 + 16 * 5);
}

TEST(TextScreen, LineEndOnTheBottomRowScrollsAtOnce) {
  SizedScreen t;
  t.screen.screen_set_color(10, 0, 2);
  t.write("top");
  t.locate(19, 1);
  t.write("bottom\r\n");
  EXPECT_EQ(t.row(18).substr(0, 6), "bottom");
  EXPECT_EQ(t.row(19), kBlankRow);
  EXPECT_EQ(t.console.cell(0, 18).attr, 10);
  EXPECT_EQ(t.console.cursor().x, 0);
  EXPECT_EQ(t.console.cursor().y, 18);
  EXPECT_EQ(t.row(1), kBlankRow);  // "top" scrolled away
}

TEST(TextScreen, FullRowAboveTheBottomWrapsAndALineEndLeavesOneEmptyRow) {
  SizedScreen t;
  t.locate(5, 1);
  t.write(full_row('a'));
  EXPECT_EQ(t.console.cursor().x, 0);
  EXPECT_EQ(t.console.cursor().y, 5);
  EXPECT_FALSE(t.screen.pending_wrap());
  t.write("\r\n");
  EXPECT_EQ(t.row(5), full_row('a'));
  EXPECT_EQ(t.row(6), kBlankRow);
  EXPECT_EQ(t.console.cursor().y, 6);
}

TEST(TextScreen, FullBottomRowParksTheCursorAndWrapsOnTheNextWrite) {
  SizedScreen t;
  t.locate(19, 1);
  t.write(full_row('b'));
  EXPECT_TRUE(t.screen.pending_wrap());
  EXPECT_EQ(t.console.cursor().x, 108);
  EXPECT_EQ(t.console.cursor().y, 18);
  EXPECT_EQ(t.row(19), full_row('b'));  // nothing scrolled
  t.write("\r\n");                      // wraps (one scroll) then the line end scrolls again
  EXPECT_EQ(t.row(17), full_row('b'));
  EXPECT_EQ(t.row(18), kBlankRow);
  EXPECT_EQ(t.row(19), kBlankRow);
  EXPECT_EQ(t.console.cursor().y, 18);
  EXPECT_EQ(t.console.cursor().x, 0);
}

TEST(TextScreen, PendingWrapThenTextStartsAtTheBottomRowsFirstColumn) {
  SizedScreen t;
  t.locate(19, 1);
  t.write(full_row('c'));
  t.write("xy");
  EXPECT_EQ(t.row(18), full_row('c'));
  EXPECT_EQ(t.row(19).substr(0, 3), "xy ");
  EXPECT_EQ(t.console.cursor().x, 2);
}

TEST(TextScreen, LocateAndClearDropThePendingWrap) {
  SizedScreen t;
  t.locate(19, 1);
  t.write(full_row('d'));
  t.locate(3, 3);
  EXPECT_FALSE(t.screen.pending_wrap());
  t.write("z");
  EXPECT_EQ(t.row(19), full_row('d'));
  EXPECT_EQ(t.row(3).substr(0, 3), "  z");
}

TEST(TextScreen, TabAtColumn105WrapsItsSpaces) {
  SizedScreen t;
  t.write(full_row('e'));  // row 1 full, cursor at row 2
  t.write(full_row('f'));
  t.locate(1, 106);  // 0-based column 105
  t.write("\t");
  EXPECT_EQ(t.row(1), full_row('e').substr(0, 105) + "    ");
  EXPECT_EQ(t.row(2).substr(0, 4), "   f");
  EXPECT_EQ(t.console.cursor().x, 3);
  EXPECT_EQ(t.console.cursor().y, 1);
}

TEST(TextScreen, BackspaceAndBell) {
  SizedScreen t;
  t.write("\b");
  EXPECT_EQ(t.console.cursor().x, 0);
  EXPECT_EQ(t.console.cursor().y, 0);
  t.write("ab\b");
  EXPECT_EQ(t.console.cursor().x, 1);
  EXPECT_EQ(t.row(1).substr(0, 2), "ab");
  t.write("\a");
  ASSERT_EQ(t.console.beeps.size(), 1u);
  EXPECT_EQ(t.console.beeps[0].hz, 1000);
  EXPECT_EQ(t.console.beeps[0].ms, 250);
  EXPECT_EQ(t.console.cursor().x, 1);
  t.write("c\ad");  // BEL does not use a cell
  EXPECT_EQ(t.row(1).substr(0, 3), "acd");
}

TEST(TextScreen, OtherControlBytesArePlacedAsCharacters) {
  SizedScreen t;
  t.write(std::string("\0\v\f", 3));
  EXPECT_EQ(t.console.cell(0, 0).ch, '\0');
  EXPECT_EQ(t.console.cell(1, 0).ch, '\v');
  EXPECT_EQ(t.console.cell(2, 0).ch, '\f');
  EXPECT_EQ(t.console.cursor().x, 3);
}

TEST(TextScreen, LongTextIsPlacedInRunsAcrossRows) {
  SizedScreen t;
  std::string text;
  for (int i = 0; i < 3000; ++i) text += static_cast<char>('a' + i % 26);
  t.write(text);
  // 3000 characters: 27 full rows and 57 more; 19 rows shown, so the last
  // row holds characters 2943..2999.
  EXPECT_EQ(t.row(19).substr(0, 57), text.substr(2943));
  EXPECT_EQ(t.row(18), text.substr(2834, 109));
  EXPECT_EQ(t.console.cursor().x, 57);
}

TEST(TextScreen, RedirectedOutputGetsTheExactBytes) {
  MemoryConsole c = MemoryConsole::redirected();
  TextScreen s(c);
  s.screen_set_size(109, 19);
  s.screen_clear(kClearTextView);
  s.screen_set_color(11, 0, 2);
  s.print_text(0, "Gndfit\t\a\b", line_end::new_line);
  s.print_text(0, "x", line_end::none);
  s.screen_locate(3, 3, 0);
  EXPECT_EQ(c.raw_output, "Gndfit\t\a\b\r\nx");
  EXPECT_TRUE(c.beeps.empty());
}

TEST(TextScreen, PrintColumnAndZones) {
  SizedScreen t;
  t.screen.print_text(0, "abc", line_end::next_zone);  // to column 15
  EXPECT_EQ(t.screen.print_column(), 14);
  EXPECT_EQ(t.console.cursor().x, 14);
  t.locate(2, 98);  // print column 97: the next zone starts at 99
  t.screen.print_text(0, "", line_end::next_zone);
  EXPECT_EQ(t.console.cursor().x, 98);
  t.locate(2, 99);  // print column 98: the next zone, 113, is past the line
  t.screen.print_text(0, "", line_end::next_zone);
  EXPECT_EQ(t.console.cursor().x, 0);
  EXPECT_EQ(t.console.cursor().y, 2);
  t.screen.print_text(0, "ab\r\nxyz", line_end::none);
  EXPECT_EQ(t.screen.print_column(), 3);
}

TEST(TextScreen, LocateRejectsPositionsOutsideTheViewButAppliesVisibility) {
  SizedScreen t;
  t.locate(4, 7);
  const std::int32_t r = t.screen.screen_locate(20, 1, 0);
  EXPECT_EQ(r & 0xFF, 7);
  EXPECT_EQ((r >> 8) & 0xFF, 4);
  EXPECT_EQ(r >> 16, 1);  // was visible
  EXPECT_FALSE(t.console.cursor_visible());
  t.screen.screen_locate(1, 110, 1);
  EXPECT_TRUE(t.console.cursor_visible());
  EXPECT_EQ(t.screen.screen_get_cursor().column, 7);
  EXPECT_EQ(t.screen.screen_get_cursor().row, 4);
  EXPECT_EQ(t.screen.screen_set_view(5, 20, false), 0);  // refused
  EXPECT_EQ(t.screen.screen_set_view(8, 3, false), 0);
}

TEST(TextScreen, ViewMovesDownABufferTallerThanTheWindow) {
  MemoryConsole c(80, 50);
  c.set_window_rect({0, 0, 79, 24});
  TextScreen s(c);
  s.screen_clear(0);
  s.screen_locate(25, 1, -1);
  s.print_text(0, "last", line_end::new_line);
  EXPECT_EQ(c.window_rect().top, 1);
  EXPECT_EQ(c.window_rect().bottom, 25);
  EXPECT_EQ(c.cursor().y, 25);
  EXPECT_EQ(c.row_text(24).substr(0, 4), "last");  // nothing moved in the buffer
}

TEST(TextScreen, ScrollingAPartialViewByMoreThanHalfBlanksTheFreedRows) {
  SizedScreen t;
  for (int r = 1; r <= 19; ++r) {
    t.locate(r, 1);
    t.write(std::string(3, static_cast<char>('A' + r)));
  }
  t.screen.screen_set_view(5, 10, false);  // six rows
  t.console.set_cursor_position({0, 13});  // four rows below the view
  t.write("q");
  EXPECT_EQ(t.row(5).substr(0, 3), "JJJ");  // row 9 moved up four
  EXPECT_EQ(t.row(6).substr(0, 3), "KKK");
  for (int r = 7; r <= 9; ++r) EXPECT_EQ(t.row(r), kBlankRow) << r;
  EXPECT_EQ(t.row(10).substr(0, 3), "q  ");
  EXPECT_EQ(t.row(4).substr(0, 3), "EEE");  // outside the view: untouched
  EXPECT_EQ(t.row(11).substr(0, 3), "LLL");

  t.console.set_cursor_position({0, 18});  // eight below: more than the view
  t.write("w");
  for (int r = 5; r <= 9; ++r) EXPECT_EQ(t.row(r), kBlankRow) << r;
  EXPECT_EQ(t.row(10).substr(0, 3), "w  ");
}

TEST(TextScreen, UnreadableConsoleWritesFromTheViewsTopLeft) {
  SizedScreen t;
  t.locate(7, 7);
  t.console.fail_buffer_info = true;
  t.write("hi");
  t.console.fail_buffer_info = false;
  EXPECT_EQ(t.row(1).substr(0, 2), "hi");
  EXPECT_EQ(t.console.cell(0, 0).attr, 7);
}

}  // namespace
}  // namespace gndfit
