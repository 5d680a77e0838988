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

struct SmallRect {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
};

struct BufferInfo {
  Coord size;    // buffer columns and rows
  Coord cursor;  // buffer coordinates
  std::uint16_t attributes = 0;
  SmallRect window;  // the visible window, buffer coordinates
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

class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;

  // Output: the screen buffer and its window.
  virtual bool get_buffer_info(BufferInfo& info) = 0;
  virtual bool get_largest_window(Coord& size) = 0;
  virtual bool set_buffer_size(Coord size) = 0;
  virtual bool set_window_rect(SmallRect rect) = 0;  // absolute coordinates
  virtual bool set_text_attribute(std::uint16_t attr) = 0;
  // Fills `count` cells from `at` on, running on across rows, with one
  // character and attribute.
  virtual bool fill(Cell cell, int count, Coord at) = 0;
  virtual bool write_cells(const Cell* cells, int count, Coord at) = 0;  // one row
  // Moves the source rectangle so its top-left lands on dest; source cells
  // that no destination cell covers get the fill.
  virtual bool scroll(SmallRect source, Coord dest, Cell fill) = 0;
  virtual bool set_cursor_position(Coord at) = 0;
  virtual bool get_cursor_visible(bool& visible) = 0;
  virtual bool set_cursor_visible(bool visible) = 0;
  virtual void beep(int hz, int ms) = 0;
  // Raw bytes to standard output, for output that is not a console.  May
  // buffer; flush_output() sends what is held.
  virtual bool write_raw(const char* bytes, std::size_t count, std::size_t& written) = 0;
  virtual void flush_output() = 0;

  // Input.
  virtual bool get_input_mode(std::uint32_t& mode) = 0;  // false: not a console
  virtual bool set_input_mode(std::uint32_t mode) = 0;
  virtual bool peek_input(InputRecord& record) = 0;  // false: none or failure
  virtual bool read_input(InputRecord& record) = 0;
  virtual int map_vk_to_char(int virtual_key) = 0;
  virtual int read_stdin_byte() = 0;  // 0-255, or -1 at the end of the data
  // Standard input is not a console but a person types it (a terminal that
  // cannot be drawn on, used line by line): prompts are written.
  virtual bool stdin_is_typed() = 0;
  virtual void sleep_ms(int ms) = 0;
  // Returns when a key may have arrived.  A console that can only poll
  // (the Windows console) sleeps `poll_ms`; one that can wait (a POSIX
  // terminal) sleeps until a byte, a signal or a resize arrives, and at
  // most `poll_ms` while a key's byte sequence is unfinished.
  virtual void wait_for_input(int poll_ms) { sleep_ms(poll_ms); }
  // The key code that, typed on an empty line, ends the input as the end
  // of redirected input does (Ctrl+D, 4, at a Unix terminal); -1 for none.
  virtual int end_of_input_key() = 0;

  // The console window.
  virtual bool set_title(std::string_view title) = 0;
  virtual bool has_window() = 0;
  virtual bool move_window(int x, int y) = 0;
  virtual bool remove_size_and_maximize() = 0;
  virtual bool get_window_rect(SmallRect& rect) = 0;  // pixels
  virtual ControlHandlerId add_control_handler(ControlHandler handler) = 0;
  virtual bool remove_control_handler(ControlHandlerId id) = 0;
  // The orderly end: after this returns no handler runs again.  An event
  // already being handled ends the process before it returns.
  virtual void end_control_events() = 0;
};

}  // namespace gndfit
