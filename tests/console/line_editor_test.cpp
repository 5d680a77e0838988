// SPDX-License-Identifier: MIT
#include "console/line_editor.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "console/prompted_input.hpp"
#include "support/memory_console.hpp"

namespace gndfit {

std::ostream& operator<<(std::ostream& os, CursorCell c) {
  return os << "(" << c.column << "," << c.row << ")";
}

namespace {

constexpr KeyCode Tab = 9, Backspace = 8, Esc = 27, Enter = 13;
constexpr KeyCode Left = 0x4BFF, Right = 0x4DFF, Home = 0x47FF, End = 0x4FFF, Up = 0x48FF,
                  Down = 0x50FF, Delete = 0x53FF, Insert = 0x52FF, F1 = 0x3BFF;

CursorCell cell(int column, int row) { return {column, row}; }

TEST(CursorMotion, AdvanceCellWrapsRowsWithFloorDivision) {
  struct Case {
    CursorCell from;
    int delta;
    CursorCell to;
  };
  const Case cases[] = {
      {{1, 1}, 0, {1, 1}},   {{5, 2}, 3, {8, 2}},   {{10, 2}, 1, {1, 3}},
      {{1, 2}, -1, {10, 1}}, {{1, 1}, -1, {10, 0}}, {{3, 1}, -25, {8, -2}},
      {{10, 5}, 1, {1, 6}},  {{4, 3}, -20, {4, 1}}, {{4, 3}, 25, {9, 5}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(advance_cell(c.from, c.delta, 10), c.to) << c.from << c.delta;
}

class Editor : public ::testing::Test {
 protected:
  static constexpr int W = 10, H = 4;

  void keys_typed(std::initializer_list<KeyCode> codes) {
    for (KeyCode c : codes) queue.push(c);
  }
  void text_typed(const std::string& text) {
    for (unsigned char c : text) queue.push(c);
  }
  // Starts the line at a 1-based cell and edits it until Enter.
  std::string edit_from(CursorCell at) {
    screen.screen_locate(at.row, at.column, -1);
    return editor.edit_line();
  }
  std::string row(int r) const { return console.row_text(r - 1); }
  CursorCell cursor() { return screen.screen_get_cursor(); }

  MemoryConsole console{W, H};
  TextScreen screen{console};
  KeyQueue queue;
  KeyInput keys{console, queue};
  LineEditor editor{screen, keys};
};

// The editing keys, one scenario a row: the keys typed, the cell the line
// starts on (column, row; 1-based, on a 10 x 4 screen), the line returned,
// rows of the screen afterwards, where the cursor ends (0: not checked) and
// how many beeps (1000 Hz, 250 ms) sounded.
using Keys = std::vector<KeyCode>;
Keys operator+(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Keys text(std::string_view s) { return Keys(s.begin(), s.end()); }

struct Scenario {
  const char* what;
  Keys keys;
  CursorCell start;
  std::string line;
  std::vector<std::pair<int, std::string>> rows;
  CursorCell cursor;
  std::size_t beeps;
};

const Scenario kScenarios[] = {
    {"typing echoes, Enter returns the line",
     text("12.5") + Keys{Enter},
     {1, 1},
     "12.5",
     {{1, "12.5      "}},
     {5, 1},
     0},
    {"Ctrl+J also finishes; 127 is inserted", Keys{'a', 127, 10}, {1, 1}, "a\x7f", {}, {}, 0},
    {"Tab inserts blanks to the next multiple of 8",
     text("abc") + Keys{Tab, 'x', Enter},
     {1, 1},
     "abc     x",
     {{1, "abc     x "}},
     {},
     0},
    {"Tab on a multiple of 8 inserts eight",
     text("12345678") + Keys{Tab, 'y', Enter},
     {1, 3},
     "12345678        y",
     {},
     {},
     0},
    {"Backspace deletes before the cursor, nothing at the start",
     Keys{Backspace} + text("abcd") + Keys{Left, Backspace, Enter},
     {1, 1},
     "abd",
     {{1, "abd       "}},
     {},
     0},
    {"Delete removes under the cursor and beeps at the end",
     text("abcd") + Keys{Home, Delete, End, Delete, Enter},
     {1, 1},
     "bcd",
     {{1, "bcd       "}},
     {},
     1},
    {"Esc erases the line",
     text("abc") + Keys{Left, Esc} + text("7") + Keys{Enter},
     {3, 1},
     "7",
     {{1, "  7       "}},
     {},
     0},
    {"Esc on an empty line only goes to its start", Keys{Esc, Enter}, {4, 2}, "", {}, {4, 2}, 0},
    {"Home and End insert at either end",
     text("23") + Keys{Home, '1', End, '4', Enter},
     {1, 1},
     "1234",
     {{1, "1234      "}},
     {},
     0},
    // Up from 13 to 3; the second Up (from 4) has no room; Down from 5 to
    // 15 reaches the end of the line exactly; the second Down has no room.
    {"Up and Down move one screen row when there is room",
     text("abcdefghijklm") + Keys{Up, 'X', Up, 'Y', Down, Down, 'Z', Enter},
     {1, 1},
     "abcXYdefghijklmZ",
     {{1, "abcXYdefgh"}, {2, "ijklmZ    "}},
     {},
     0},
    {"Down moves when the line reaches that far",
     text("abcdefghijklm") + Keys{Home, Down, 'Z', Enter},
     {1, 1},
     "abcdefghijZklm",
     {},
     {},
     0},
    {"Insert, function keys, control codes and the close key do nothing",
     text("ab") + Keys{Left, Insert, F1, CLOSE_KEY_CODE, 0x73FF, 3, 31, 'x', Enter},
     {1, 1},
     "axb",
     {},
     {},
     0},
    {"inserting inside the line rewrites its tail",
     text("1234567890ab") + Keys{Home, Right, '-', Enter},
     {1, 2},
     "1-234567890ab",
     {{2, "1-23456789"}, {3, "0ab       "}},
     {},
     0},
    // From column 6 of the bottom row the rewritten tail runs past the
    // screen: it scrolls, and the cursor follows the text up.
    {"an insertion that scrolls keeps the text and cursor together",
     text("abcdef") + Keys{Home, '1', Enter},
     {6, 4},
     "1abcdef",
     {{3, "     1abcd"}, {4, "ef        "}},
     {},
     0},
};

TEST_F(Editor, EditingKeysScenarios) {
  for (const Scenario& s : kScenarios) {
    MemoryConsole c(W, H);
    TextScreen sc(c);
    KeyQueue q;
    KeyInput k(c, q);
    LineEditor e(sc, k);
    for (KeyCode code : s.keys) q.push(code);
    sc.screen_locate(s.start.row, s.start.column, -1);
    EXPECT_EQ(e.edit_line(), s.line) << s.what;
    for (const auto& [r, want] : s.rows)
      EXPECT_EQ(c.row_text(r - 1), want) << s.what << ", row " << r;
    if (s.cursor.column != 0) {
      EXPECT_EQ(sc.screen_get_cursor(), s.cursor) << s.what;
    }
    EXPECT_EQ(c.beeps.size(), s.beeps) << s.what;
    for (const auto& beep : c.beeps) EXPECT_TRUE(beep.hz == 1000 && beep.ms == 250) << s.what;
    EXPECT_TRUE(q.empty()) << s.what << ": keys left over";
  }
}

// Where the device has an end-of-input key (Ctrl+D at a Unix terminal), it
// ends the input on an empty line only; elsewhere, and where there is no
// such key, it is a control code that does nothing.
TEST_F(Editor, TheEndOfInputKeyEndsOnlyAnEmptyLine) {
  keys_typed({4, Enter});
  EXPECT_EQ(edit_from(cell(1, 1)), "");
  EXPECT_FALSE(editor.input_ended()) << "no such key on this device";
  console.end_key = 4;
  keys_typed({'1', 4, Enter});
  EXPECT_EQ(edit_from(cell(1, 2)), "1");
  EXPECT_FALSE(editor.input_ended());
  keys_typed({'1', Backspace, 4, '9'});
  EXPECT_EQ(edit_from(cell(1, 3)), "");
  EXPECT_TRUE(editor.input_ended());
  EXPECT_EQ(queue.take(), '9') << "keys after it stay queued";
}

TEST_F(Editor, CodesAfterEnterBelongToTheNextLine) {
  keys_typed({'1', Enter, '9'});
  EXPECT_EQ(edit_from(cell(1, 1)), "1");
  EXPECT_EQ(queue.take(), '9');
}

TEST_F(Editor, AppendingOnTheBottomRightCellScrollsAndPutsTheCursorOnTheNextRow) {
  console.fill({'p', 7}, W, {0, 0});  // something to see scrolling
  text_typed("xyz");
  keys_typed({Enter});
  EXPECT_EQ(edit_from(cell(8, H)), "xyz");
  EXPECT_EQ(row(H - 1), "       xyz");
  EXPECT_EQ(row(H), "          ");
  EXPECT_EQ(cursor(), cell(1, H));
  EXPECT_NE(row(1), std::string(W, 'p')) << "the top row scrolled away";
}

// Only a screen no wider than a Tab's eight blanks gets here: an insertion
// whose rewritten tail scrolls the screen and ends on the bottom-right cell,
// where the cursor is parked on the last byte instead of after it.
TEST(NarrowEditor, AnInsertionWhoseTailEndsOnTheBottomRightAfterAScrollKeepsTheCursorRight) {
  MemoryConsole console(8, 4);
  TextScreen screen(console);
  KeyQueue queue;
  KeyInput keys(console, queue);
  LineEditor editor(screen, keys);
  for (KeyCode code : std::initializer_list<KeyCode>{'b', 'c', 'd', 'e', 'f', 'g', 'h', Home, 'a',
                                                     Home, Tab, 'Z', Enter})
    queue.push(code);
  screen.screen_locate(4, 1, -1);
  const std::string line = editor.edit_line();
  EXPECT_EQ(line, "        Zabcdefgh");
  // The screen shows the line as it is: Z went in after all eight blanks.
  EXPECT_EQ(console.row_text(1) + console.row_text(2) + console.row_text(3),
            "        Zabcdefgh       ");
}

TEST_F(Editor, EnterAfterAnInsertionThatFilledTheLastCellScrollsTwiceWithTheLineEnd) {
  MemoryConsole c(W, H);
  TextScreen s(c);
  KeyQueue q;
  KeyInput k(c, q);
  InputSource source(c);
  PromptedInput prompted(s, k, source);
  s.screen_locate(H, 1, -1);
  s.print_text(0, "", line_end::none);
  for (KeyCode code : std::initializer_list<KeyCode>{'1', '2', '3', '4', '5', '6', '7', '8', '9',
                                                     Left, '0', Enter})
    q.push(code);
  prompted.prompt_input("", {.question_mark = false, .new_line = true});
  // The line "1234567809" ends on the bottom-right cell without scrolling;
  // Enter scrolls to put the cursor after it, the line end scrolls again.
  EXPECT_EQ(c.row_text(H - 3), "1234567809");
  EXPECT_EQ(c.row_text(H - 2), std::string(W, ' '));
  EXPECT_EQ(c.row_text(H - 1), std::string(W, ' '));
  EXPECT_EQ(s.screen_get_cursor(), cell(1, H));
}

TEST_F(Editor, WaitsInPollsOf25MillisecondsAndIgnoresACloseKeyMeanwhile) {
  int sleeps = 0;
  console.on_sleep = [&](MemoryConsole&) {
    if (++sleeps == 2) queue.push(CLOSE_KEY_CODE);
    if (sleeps == 4) {
      queue.push('5');
      queue.push(Enter);
    }
  };
  EXPECT_EQ(edit_from(cell(1, 1)), "5");
  EXPECT_EQ(sleeps, 4);
  EXPECT_EQ(console.slept_ms, 4 * kKeyPollMs);
}

TEST_F(Editor, KeysComeFromConsoleRecordsThroughTheKeyLayer) {
  InputRecord r;
  r.key_down = true;
  r.ch = '7';
  r.virtual_key = '7';
  r.scan_code = 0x08;
  console.input.push_back(r);
  r.ch = 13;
  r.virtual_key = 0x0D;
  r.scan_code = 0x1C;
  console.input.push_back(r);
  EXPECT_EQ(edit_from(cell(1, 1)), "7");
}

// A paste far longer than the key queue: 5,000 key records pending at once.
// None may be lost or reordered, whatever the queue's size.
TEST_F(Editor, FiveThousandPendingKeyRecordsAllReachTheLines) {
  std::string second;
  for (int i = 0; i < 4990; ++i) second += static_cast<char>('a' + i % 26);
  InputRecord r;
  r.key_down = true;
  r.scan_code = 0x1E;
  for (unsigned char c : "7.1 13 5\r" + second + "\r") {
    if (c == 0) break;
    r.ch = c;
    console.input.push_back(r);
  }
  ASSERT_EQ(console.input.size(), 5000u);
  int waits = 0;  // a wait means keys were lost: end the line so the test ends
  console.on_sleep = [&](MemoryConsole& c) {
    ++waits;
    r.ch = '\r';
    c.input.push_back(r);
  };
  EXPECT_EQ(edit_from(cell(1, 1)), "7.1 13 5");
  EXPECT_EQ(editor.edit_line(), second);
  EXPECT_EQ(waits, 0);
  EXPECT_TRUE(console.input.empty());
}

TEST_F(Editor, RestoresTheCursorVisibilityItFound) {
  console.set_cursor_visible(false);
  keys_typed({'1', Enter});
  edit_from(cell(1, 1));
  EXPECT_FALSE(console.cursor_visible());
  console.set_cursor_visible(true);
  keys_typed({'1', Enter});
  edit_from(cell(1, 1));
  EXPECT_TRUE(console.cursor_visible());
}

// A line longer than the screen: its start has scrolled off the top.  The
// edit position never moves onto a cell that is gone, so the cursor always
// shows where typing goes.
TEST_F(Editor, ALineLongerThanTheScreenKeepsTheCursorOnTheEditPosition) {
  const std::string long_text(45, 'a');  // 4.5 rows of a 4-row screen
  text_typed(long_text);
  keys_typed({Home, 'H', Enter});
  const std::string line = edit_from(cell(1, 1));
  // Home went to the first byte still on the screen, where H went in.
  const std::size_t at = line.find('H');
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(line.size(), 46u);
  EXPECT_EQ(row(1)[0], 'H');
  EXPECT_EQ(at, 45u - 35u) << "the first 10 bytes scrolled away, 35 remain shown";
}

TEST_F(Editor, LeftAndBackspaceStopAtTheFirstByteShown) {
  text_typed(std::string(45, 'a'));
  for (int i = 0; i < 50; ++i) queue.push(Left);
  keys_typed({Backspace, 'L', Esc, 'e', Enter});
  EXPECT_EQ(edit_from(cell(1, 1)), "e");
  EXPECT_EQ(row(1), "e         ");
}

TEST_F(Editor, PromptThenLineFeedsTheThreeReads) {
  InputSource source(console);
  PromptedInput prompted(screen, keys, source);
  text_typed("10, 15 5");
  keys_typed({Enter});
  prompted.prompt_input("F = ", {.question_mark = false, .new_line = true});
  EXPECT_EQ(row(1), "F = 10, 15");
  EXPECT_EQ(row(2), " 5        ");
  EXPECT_EQ(cursor(), cell(1, 3));
  double f = 0;
  float p = 0, c = 0;
  source.read_double(f);
  source.read_single(p);
  source.read_single(c);
  EXPECT_EQ(f, 10.0);
  EXPECT_EQ(p, 15.0f);
  EXPECT_EQ(c, 5.0f);
}

TEST_F(Editor, PromptWithAQuestionMark) {
  InputSource source(console);
  PromptedInput prompted(screen, keys, source);
  keys_typed({'1', Enter});
  prompted.prompt_input("N", {.question_mark = true, .new_line = false});
  EXPECT_EQ(row(1), "N? 1      ");
  EXPECT_EQ(cursor(), cell(5, 1));
}

}  // namespace
}  // namespace gndfit
