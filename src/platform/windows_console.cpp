// SPDX-License-Identifier: MIT
#include "platform/windows_console.hpp"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace gndfit {
namespace {

constexpr UINT kWindowPlacementFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW;  // 0x45

// The one console of the process, for the native handler.
WindowsConsole* g_console = nullptr;

BOOL WINAPI native_control_handler(DWORD event) {
  return g_console && g_console->deliver(static_cast<ControlEvent>(event)) ? TRUE : FALSE;
}

HANDLE handle(void* h) { return static_cast<HANDLE>(h); }
COORD coord(Coord c) { return COORD{c.x, c.y}; }
SMALL_RECT small_rect(CellRect r) { return SMALL_RECT{r.left, r.top, r.right, r.bottom}; }

// The system's text for an error number, without its line end.
std::string error_text(DWORD error) {
  char text[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, text, sizeof text, nullptr);
  std::string s(text, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  if (s.empty()) s = "error " + std::to_string(error);
  return s;
}

// A failed read or write of standard input or output ends the run at once
// with one line on stderr and status 1: nothing after it could be trusted.
[[noreturn]] void fail(const char* action, DWORD error) {
  std::fprintf(stderr, "gndfit: cannot %s: %s\n", action, error_text(error).c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

bool is_broken_pipe(DWORD error) {
  return error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED;
}

WriteResult write_all_to_stdout(const char* bytes, std::size_t count, OutputBuffer::Mode) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  WriteResult result;
  while (result.written < count) {
    DWORD n = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - result.written, 1u << 30));
    if (!WriteFile(out, bytes + result.written, piece, &n, nullptr)) {
      result.error = static_cast<int>(GetLastError());
      break;
    }
    if (n == 0) {
      result.error = ERROR_WRITE_FAULT;
      break;
    }
    result.written += n;
  }
  return result;
}

// The reader has gone (there is no SIGPIPE here): end at once and silently,
// as a filter in a pipeline ends; any other failure is reported.
void output_failed(int error) {
  const DWORD e = static_cast<DWORD>(error);
  if (is_broken_pipe(e)) std::_Exit(1);
  fail("write standard output", e);
}

// A pipe whose writer has closed it is the end of the data.
std::size_t read_from_stdin(unsigned char* bytes, std::size_t count) {
  DWORD n = 0;
  const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
  if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), bytes, piece, &n, nullptr)) {
    const DWORD error = GetLastError();
    if (is_broken_pipe(error)) return 0;
    fail("read standard input", error);
  }
  return n;
}

InputRecord to_record(const INPUT_RECORD& r) {
  InputRecord record;
  switch (r.EventType) {
    case KEY_EVENT: {
      const KEY_EVENT_RECORD& k = r.Event.KeyEvent;
      record.kind = InputRecord::Kind::key;
      record.key_down = k.bKeyDown != 0;
      record.repeat_count = k.wRepeatCount;
      record.virtual_key = k.wVirtualKeyCode;
      record.scan_code = k.wVirtualScanCode;
      record.ch = static_cast<std::uint8_t>(k.uChar.AsciiChar);
      record.control_state = k.dwControlKeyState;
      break;
    }
    case MOUSE_EVENT:
      record.kind = InputRecord::Kind::mouse;
      break;
    case WINDOW_BUFFER_SIZE_EVENT:
      record.kind = InputRecord::Kind::window_size;
      break;
    case MENU_EVENT:
      record.kind = InputRecord::Kind::menu;
      break;
    default:
      record.kind = InputRecord::Kind::focus;
      break;
  }
  return record;
}

}  // namespace

WindowsConsole::WindowsConsole() : WindowsConsole(read_from_stdin, false) {}

WindowsConsole::WindowsConsole(InputBuffer::Reader reader) : WindowsConsole(std::move(reader), true) {}

WindowsConsole::WindowsConsole(InputBuffer::Reader reader, bool reads_files)
    : reads_files_(reads_files),
      input_(GetStdHandle(STD_INPUT_HANDLE)),
      output_handle_(GetStdHandle(STD_OUTPUT_HANDLE)),
      window_(GetConsoleWindow()),
      output_(write_all_to_stdout, output_failed),
      input_bytes_(std::move(reader), [this] { flush_output(); }) {

  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  g_console = this;
  SetConsoleCtrlHandler(native_control_handler, TRUE);
}

WindowsConsole::~WindowsConsole() {
  end_control_events();
  flush_output();
  if (g_console == this) g_console = nullptr;
}

bool WindowsConsole::get_buffer_info(BufferInfo& info) {
  CONSOLE_SCREEN_BUFFER_INFO csbi;
  if (!GetConsoleScreenBufferInfo(handle(output_handle_), &csbi)) return false;
  info.size = {csbi.dwSize.X, csbi.dwSize.Y};
  info.cursor = {csbi.dwCursorPosition.X, csbi.dwCursorPosition.Y};
  info.attributes = csbi.wAttributes;
  info.window = {csbi.srWindow.Left, csbi.srWindow.Top, csbi.srWindow.Right, csbi.srWindow.Bottom};
  return true;
}

bool WindowsConsole::get_largest_window(Coord& size) {
  const COORD c = GetLargestConsoleWindowSize(handle(output_handle_));
  if (c.X == 0 && c.Y == 0) return false;
  size = {c.X, c.Y};
  return true;
}

bool WindowsConsole::set_buffer_size(Coord size) {
  return SetConsoleScreenBufferSize(handle(output_handle_), coord(size)) != 0;
}

bool WindowsConsole::set_window_rect(CellRect rect) {
  const SMALL_RECT r = small_rect(rect);
  return SetConsoleWindowInfo(handle(output_handle_), TRUE, &r) != 0;
}

bool WindowsConsole::set_text_attribute(std::uint16_t attr) {
  return SetConsoleTextAttribute(handle(output_handle_), attr) != 0;
}

bool WindowsConsole::fill(Cell cell, int count, Coord at) {
  DWORD done = 0;
  const bool attributes = FillConsoleOutputAttribute(handle(output_handle_), cell.attr,
                                                     static_cast<DWORD>(count), coord(at), &done);
  const bool characters = FillConsoleOutputCharacterA(handle(output_handle_), cell.ch,
                                                      static_cast<DWORD>(count), coord(at), &done);
  return attributes && characters;
}

bool WindowsConsole::write_cells(const Cell* cells, int count, Coord at) {
  if (count <= 0) return true;
  std::vector<CHAR_INFO> row(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    row[static_cast<std::size_t>(i)].Char.AsciiChar = cells[i].ch;
    row[static_cast<std::size_t>(i)].Attributes = cells[i].attr;
  }
  SMALL_RECT region{at.x, at.y, static_cast<SHORT>(at.x + count - 1), at.y};
  return WriteConsoleOutputA(handle(output_handle_), row.data(),
                             COORD{static_cast<SHORT>(count), 1}, COORD{0, 0}, &region) != 0;
}

bool WindowsConsole::scroll(CellRect source, Coord dest, Cell fill) {
  const SMALL_RECT src = small_rect(source);
  CHAR_INFO f;
  f.Char.AsciiChar = fill.ch;
  f.Attributes = fill.attr;
  return ScrollConsoleScreenBufferA(handle(output_handle_), &src, nullptr, coord(dest), &f) != 0;
}

bool WindowsConsole::set_cursor_position(Coord at) {
  return SetConsoleCursorPosition(handle(output_handle_), coord(at)) != 0;
}

bool WindowsConsole::get_cursor_visible(bool& visible) {
  CONSOLE_CURSOR_INFO info;
  if (!GetConsoleCursorInfo(handle(output_handle_), &info)) return false;
  visible = info.bVisible != 0;
  return true;
}

bool WindowsConsole::set_cursor_visible(bool visible) {
  CONSOLE_CURSOR_INFO info;
  if (!GetConsoleCursorInfo(handle(output_handle_), &info)) return false;
  info.bVisible = visible ? TRUE : FALSE;  // size unchanged
  return SetConsoleCursorInfo(handle(output_handle_), &info) != 0;
}

void WindowsConsole::beep(int hz, int ms) { Beep(static_cast<DWORD>(hz), static_cast<DWORD>(ms)); }

bool WindowsConsole::write_raw(const char* bytes, std::size_t count, std::size_t& written) {
  return output_.append(bytes, count, written);
}

bool WindowsConsole::get_input_mode(std::uint32_t& mode) {
  if (reads_files_) return false;  // the files are read as redirected input
  DWORD m = 0;
  if (!GetConsoleMode(handle(input_), &m)) return false;
  mode = m;
  return true;
}

bool WindowsConsole::set_input_mode(std::uint32_t mode) {
  return SetConsoleMode(handle(input_), mode) != 0;
}

bool WindowsConsole::peek_input(InputRecord& record) {
  if (reads_files_) return false;
  INPUT_RECORD r;
  DWORD n = 0;
  if (!PeekConsoleInputA(handle(input_), &r, 1, &n) || n != 1) return false;
  record = to_record(r);
  return true;
}

bool WindowsConsole::read_input(InputRecord& record) {
  if (reads_files_) return false;
  INPUT_RECORD r;
  DWORD n = 0;
  if (!ReadConsoleInputA(handle(input_), &r, 1, &n) || n != 1) return false;
  record = to_record(r);
  return true;
}

int WindowsConsole::map_vk_to_char(int virtual_key) {
  return static_cast<int>(MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_CHAR));
}

void WindowsConsole::sleep_ms(int ms) {
  flush_output();
  Sleep(static_cast<DWORD>(ms));
}

bool WindowsConsole::set_title(std::string_view title) {
  const std::string text(title);
  return SetConsoleTitleA(text.c_str()) != 0;
}

bool WindowsConsole::move_window(int x, int y) {
  return SetWindowPos(static_cast<HWND>(window_), nullptr, x, y, 0, 0, kWindowPlacementFlags) != 0;
}

bool WindowsConsole::remove_size_and_maximize() {
  const HWND window = static_cast<HWND>(window_);
  const HMENU menu = GetSystemMenu(window, FALSE);
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  return SetWindowLongA(window, GWL_STYLE, style & ~WS_MAXIMIZEBOX) != 0;
}

bool WindowsConsole::get_window_rect(PixelRect& rect) {
  RECT r;
  if (!window_ || !GetWindowRect(static_cast<HWND>(window_), &r)) return false;
  rect = {static_cast<std::int16_t>(r.left), static_cast<std::int16_t>(r.top),
          static_cast<std::int16_t>(r.right), static_cast<std::int16_t>(r.bottom)};
  return true;
}

ControlHandlerId WindowsConsole::add_control_handler(ControlHandler handler) {
  return handlers_.add(std::move(handler));
}

bool WindowsConsole::remove_control_handler(ControlHandlerId id) { return handlers_.remove(id); }

void WindowsConsole::end_control_events() { SetConsoleCtrlHandler(native_control_handler, FALSE); }

bool WindowsConsole::deliver(ControlEvent event) {
  const bool handled = handlers_.run(event);
  output_.flush_published();
  return handled;
}

}  // namespace gndfit
