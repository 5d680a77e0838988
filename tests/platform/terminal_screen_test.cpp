// SPDX-License-Identifier: MIT
#include "platform/terminal_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gndfit {
namespace {

// A small terminal that understands what the screen may emit: text, cursor
// moves, colours, clearing and cursor visibility.  Anything else fails.
struct VirtualTerminal {
  int columns, rows;
  std::vector<char> chars;
  std::vector<std::string> colours;
  int row = 0, column = 0;
  bool cursor_visible = true;
  std::string colour = "0";

  VirtualTerminal(int c, int r)
      : columns(c),
        rows(r),
        chars(static_cast<std::size_t>(c * r), '?'),
        colours(static_cast<std::size_t>(c * r), "?") {}

  void feed(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
      if (bytes[i] != '\x1b') {
        ASSERT_LT(row, rows);
        ASSERT_LT(column, columns);
        chars[static_cast<std::size_t>(row * columns + column)] = bytes[i];
        colours[static_cast<std::size_t>(row * columns + column)] = colour;
        if (column + 1 < columns) ++column;
        ++i;
        continue;
      }
      ASSERT_EQ(bytes[i + 1], '[');
      std::size_t end = i + 2;
      while (end < bytes.size() && !(bytes[end] >= 0x40 && bytes[end] <= 0x7E)) ++end;
      ASSERT_LT(end, bytes.size());
      const std::string params = bytes.substr(i + 2, end - i - 2);
      switch (bytes[end]) {
        case 'H': {
          const auto semi = params.find(';');
          row = std::stoi(params.substr(0, semi)) - 1;
          column = std::stoi(params.substr(semi + 1)) - 1;
          break;
        }
        case 'm':
          colour = params;
          break;
        case 'J':
          ASSERT_EQ(params, "2");
          std::fill(chars.begin(), chars.end(), ' ');
          break;
        case 'l':
          ASSERT_EQ(params, "?25");
          cursor_visible = false;
          break;
        case 'h':
          ASSERT_EQ(params, "?25");
          cursor_visible = true;
          break;
        default:
          FAIL() << "unexpected sequence " << bytes.substr(i, end - i + 1);
      }
      i = end + 1;
    }
  }
  std::string row_text(int r) const {
    return std::string(chars.begin() + r * columns, chars.begin() + (r + 1) * columns);
  }
};

void write_text(CellConsole& console, int x, int y, const std::string& text, std::uint16_t attr) {
  std::vector<Cell> cells;
  for (char c : text) cells.push_back({c, attr});
  console.write_cells(cells.data(), static_cast<int>(cells.size()),
                      {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
}

TEST(TerminalScreen, TheTerminalShowsTheWindowsCellsColoursAndCursor) {
  CellConsole console(12, 4);
  TerminalScreen screen;
  VirtualTerminal terminal(12, 4);
  write_text(console, 0, 0, "Gndfit", 7);
  write_text(console, 2, 2, "23.8", 11);
  write_text(console, 7, 2, "2.9", 0x1A);  // bright green on blue
  console.set_cursor_position({5, 3});
  std::string out;
  screen.present(console, 12, 4, out);
  terminal.feed(out);
  EXPECT_EQ(terminal.row_text(0), "Gndfit      ");
  EXPECT_EQ(terminal.row_text(2), "  23.8 2.9  ");
  EXPECT_EQ(terminal.colours[2 * 12 + 2], "0;96;40") << "bright cyan";
  EXPECT_EQ(terminal.colours[2 * 12 + 7], "0;92;44") << "bright green on blue";
  EXPECT_EQ(terminal.colours[0], "0;37;40") << "grey";
  EXPECT_EQ(terminal.row, 3);
  EXPECT_EQ(terminal.column, 5);
  EXPECT_TRUE(terminal.cursor_visible);
}

TEST(TerminalScreen, LaterFramesWriteOnlyWhatChanged) {
  CellConsole console(12, 4);
  TerminalScreen screen;
  VirtualTerminal terminal(12, 4);
  std::string out;
  screen.present(console, 12, 4, out);
  terminal.feed(out);
  out.clear();
  screen.present(console, 12, 4, out);
  EXPECT_EQ(out, "") << "nothing changed, nothing sent";
  write_text(console, 3, 1, "x", 7);
  console.set_cursor_position({4, 1});
  screen.present(console, 12, 4, out);
  terminal.feed(out);
  EXPECT_LT(out.size(), 30u) << out;
  EXPECT_EQ(terminal.row_text(1), "   x        ");
  EXPECT_EQ(terminal.column, 4);
}

TEST(TerminalScreen, AScrolledWindowIsDrawnFromItsTopRowAndClippedToTheTerminal) {
  CellConsole console(20, 10);
  console.set_window_rect({0, 5, 19, 9});
  write_text(console, 0, 5, "top of the window", 7);
  TerminalScreen screen;
  VirtualTerminal terminal(10, 3);
  std::string out;
  screen.present(console, 10, 3, out);
  terminal.feed(out);
  EXPECT_EQ(terminal.row_text(0), "top of the");
  console.set_cursor_visible(false);
  out.clear();
  screen.present(console, 10, 3, out);
  terminal.feed(out);
  EXPECT_FALSE(terminal.cursor_visible);
}

// Rows moved up onto the window's top leave the screen and are kept, in
// order, for the terminal's scrollback; a scroll within the screen or of
// part of a row keeps nothing.
TEST(CellConsoleRows, RowsScrolledOffTheTopAreKeptInOrder) {
  CellConsole console(3, 4);
  console.scroll({0, 1, 2, 3}, {0, 0}, Cell{' ', 7});  // not kept before it is asked for
  console.keep_rows_leaving(true);
  for (int y = 0; y < 4; ++y)
    write_text(console, 0, y, std::string(3, static_cast<char>('a' + y)), 7);
  console.scroll({0, 2, 2, 3}, {0, 0}, Cell{' ', 7});  // two rows off the top
  console.scroll({0, 1, 1, 3}, {0, 0}, Cell{' ', 7});  // part of the rows: nothing leaves
  console.scroll({0, 2, 2, 3}, {0, 1}, Cell{' ', 7});  // not onto the top
  const auto rows = console.take_rows_left();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0].ch, 'a');
  EXPECT_EQ(rows[1][2].ch, 'b');
  EXPECT_TRUE(console.take_rows_left().empty());
}

// CP437 bytes: 0x82 is é and 0xE9 is Θ; in UTF-8 each is shown as its
// character, elsewhere as the byte itself.  Control bytes show as blanks.
TEST(TerminalScreen, HighBytesAreShownAsTheirCp437CharactersAndControlBytesAsBlanks) {
  CellConsole console(4, 1);
  write_text(console, 0, 0, std::string("\x82\x01z\xe9", 4), 7);
  TerminalScreen utf8(true, true), raw(true, false);
  std::string out;
  utf8.present(console, 4, 1, out);
  EXPECT_NE(out.find("\xc3\xa9 z\xce\x98"), std::string::npos);
  out.clear();
  raw.present(console, 4, 1, out);
  EXPECT_NE(out.find("\x82 z\xe9"), std::string::npos);
}

TEST(TerminalScreen, SgrFollowsTheConsoleColourBits) {
  EXPECT_EQ(sgr_for_attribute(0x07), "\x1b[0;37;40m");
  EXPECT_EQ(sgr_for_attribute(0x08), "\x1b[0;90;40m");
  EXPECT_EQ(sgr_for_attribute(0x0C), "\x1b[0;91;40m");
  EXPECT_EQ(sgr_for_attribute(0x0E), "\x1b[0;93;40m");
  EXPECT_EQ(sgr_for_attribute(0xF0), "\x1b[0;30;107m");
}

}  // namespace
}  // namespace gndfit
