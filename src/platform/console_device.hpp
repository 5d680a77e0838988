// SPDX-License-Identifier: MIT
#pragma once
// The platform seam: every console, keyboard, window and process service the
// program uses, in the shape the text screen, the key layer and the window
// set-up expect.  Windows implements it with the console API; POSIX with a
// stream-only layer; tests with their MemoryConsole.  Nothing above this seam
// includes a platform header.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace gndfit {

struct Coord {
  std::int16_t x = 0;
  std::int16_t y = 0;
};

// A rectangle of buffer cells, both corners included.
struct CellRect {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
};

// A window's place on the screen, in pixels, 16 bits each as the position
// file keeps them.
struct PixelRect {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
};

struct BufferInfo {
  Coord size;    // buffer columns and rows
  Coord cursor;  // buffer coordinates
  std::uint16_t attributes = 0;
  CellRect window;  // the visible window, buffer coordinates
};

struct Cell {
  char ch = ' ';
  std::uint16_t attr = 7;
};

// Control-key state bits of a key event.
namespace key_state {
inline constexpr std::uint32_t right_alt = 0x0001;
inline constexpr std::uint32_t left_alt = 0x0002;
inline constexpr std::uint32_t right_ctrl = 0x0004;
inline constexpr std::uint32_t left_ctrl = 0x0008;
inline constexpr std::uint32_t shift = 0x0010;
inline constexpr std::uint32_t enhanced = 0x0100;
}  // namespace key_state

struct InputRecord {
  enum class Kind { key, mouse, window_size, menu, focus };
  Kind kind = Kind::key;
  bool key_down = false;
  std::uint16_t repeat_count = 1;
  std::uint16_t virtual_key = 0;
  std::uint16_t scan_code = 0;
  std::uint8_t ch = 0;
  std::uint32_t control_state = 0;
};

// Console control events, numbered as the console delivers them.
enum class ControlEvent : std::uint32_t {
  ctrl_c = 0,
  ctrl_break = 1,
  close = 2,
  logoff = 5,
  shutdown = 6
};
// A control handler with whatever context it captures; true when it took
// the event.  Registered handlers are known by their number (never 0).
using ControlHandler = std::function<bool(ControlEvent)>;
using ControlHandlerId = int;

// Each method says what it does and what a console without that service
// (a stream, a terminal, the tests' memory console) returns: false for
// "not done", so callers go on without it, as they do on a console whose
// call failed.  The shape follows the Windows console's calls, whose
// behaviour the screen and key layers depend on.
// The bell the program sounds (a key that does nothing, a character the
// code page lacks): its pitch and length where the console can shape it.
inline constexpr int kBellHz = 1000;
inline constexpr int kBellMs = 250;

class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;

  // Output: the screen buffer and its window.
  // The buffer's size, cursor, attributes and visible window; false where
  // there is no screen buffer (standard output is a stream).
  virtual bool get_buffer_info(BufferInfo& info) = 0;
  // The largest window the display could show, in cells; false: unknown.
  virtual bool get_largest_window(Coord& size) = 0;
  // Resizes the buffer; false where the size cannot be had (smaller than
  // the window) or there is no buffer.
  virtual bool set_buffer_size(Coord size) = 0;
  // Places the visible window over the buffer, in buffer cells (absolute
  // coordinates); false where it does not fit or there is no window.
  virtual bool set_window_rect(CellRect rect) = 0;
  // The attribute (colour) of text written from now on; false: no colours.
  virtual bool set_text_attribute(std::uint16_t attr) = 0;
  // Fills `count` cells from `at` on, running on across rows, with one
  // character and attribute; false where there is no buffer.
  virtual bool fill(Cell cell, int count, Coord at) = 0;
  // Writes `count` cells of one row from `at`; false where there is no
  // buffer.
  virtual bool write_cells(const Cell* cells, int count, Coord at) = 0;
  // Moves the source rectangle so its top-left lands on dest; source cells
  // that no destination cell covers get the fill.  False: no buffer.
  virtual bool scroll(CellRect source, Coord dest, Cell fill) = 0;
  // Moves the cursor to a buffer cell; false: no buffer or outside it.
  virtual bool set_cursor_position(Coord at) = 0;
  // Whether the cursor shows; false: there is no cursor to ask about.
  virtual bool get_cursor_visible(bool& visible) = 0;
  virtual bool set_cursor_visible(bool visible) = 0;  // false: no cursor
  // Sounds the bell (`hz` and `ms` where the console can shape it, as the
  // Windows console can); nothing where there is no bell.
  virtual void beep(int hz, int ms) = 0;
  // Raw bytes to standard output, for output that is not a console.  May
  // buffer; flush_output() sends what is held.  False: the write failed.
  virtual bool write_raw(const char* bytes, std::size_t count, std::size_t& written) = 0;
  // Sends what is held, and draws a terminal's frame; nothing to do where
  // nothing is held.
  virtual void flush_output() = 0;

  // Input.
  // The console's input mode bits; false where standard input is not a
  // console (redirected, a pipe): input_is_console() asks just that.
  virtual bool get_input_mode(std::uint32_t& mode) = 0;
  // Sets the input mode bits; false where input is not a console.
  virtual bool set_input_mode(std::uint32_t mode) = 0;
  // The next input event without taking it; false: none waiting, or no
  // console input.
  virtual bool peek_input(InputRecord& record) = 0;
  // Takes the next input event; false: none, or no console input.
  virtual bool read_input(InputRecord& record) = 0;
  // The character a virtual key gives on the user's layout, unshifted; 0
  // for none.
  virtual int map_vk_to_char(int virtual_key) = 0;
  // One byte of redirected standard input: 0-255, or -1 at the end of the
  // data (or after a read that failed and ended the run).
  virtual int read_stdin_byte() = 0;
  // Standard input is not a console but a person types it (a terminal that
  // cannot be drawn on, used line by line): prompts are written.
  virtual bool stdin_is_typed() = 0;
  // Sleeps `ms` milliseconds, output flushed first.
  virtual void sleep_ms(int ms) = 0;
  // Returns when a key may have arrived.  A console that can only poll
  // (the Windows console) sleeps `poll_ms`; one that can wait (a POSIX
  // terminal) sleeps until a byte, a signal or a resize arrives, and at
  // most `poll_ms` while a key's byte sequence is unfinished.
  virtual void wait_for_input(int poll_ms) { sleep_ms(poll_ms); }
  // The key code that, typed on an empty line, ends the input as the end
  // of redirected input does (Ctrl+D, 4, at a Unix terminal); -1 for none.
  virtual int end_of_input_key() = 0;

  // True when standard input is a console, whose keys come as events.
  bool input_is_console() {
    std::uint32_t mode = 0;
    return get_input_mode(mode);
  }

  // The console window.
  // The window's title; false where there is no title to set.
  virtual bool set_title(std::string_view title) = 0;
  // True where there is a window to place (the Windows console); a
  // terminal's or a stream's position is not the program's.
  virtual bool has_window() = 0;
  // Moves the window's top-left corner to screen pixels; false: no window.
  virtual bool move_window(int x, int y) = 0;
  // Takes the resize border and the maximize box away; false: no window.
  virtual bool remove_size_and_maximize() = 0;
  // The window's place on the screen, in pixels; false: no window.
  virtual bool get_window_rect(PixelRect& rect) = 0;
  // Registers a handler for control events (Ctrl+C, Ctrl+Break, close,
  // log-off, shutdown), run last registered first; its number, never 0.
  virtual ControlHandlerId add_control_handler(ControlHandler handler) = 0;
  // Removes a registered handler; false where the number is unknown.
  virtual bool remove_control_handler(ControlHandlerId id) = 0;
  // The orderly end: after this returns no handler runs again.  An event
  // already being handled ends the process before it returns.
  virtual void end_control_events() = 0;
};

}  // namespace gndfit
