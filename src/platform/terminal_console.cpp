// SPDX-License-Identifier: MIT
#include "platform/terminal_console.hpp"

#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/code_page.hpp"

namespace gndfit {
namespace {

Coord terminal_size() {
  winsize ws{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0 || ws.ws_row == 0) {
    return {80, 24};
  }
  return {static_cast<std::int16_t>(ws.ws_col), static_cast<std::int16_t>(ws.ws_row)};
}

void write_now(const std::string& bytes) {
  write_fully(STDOUT_FILENO, bytes.data(), bytes.size(), OutputBuffer::Mode::bounded);
}

// What the terminal has for us now, without waiting: a closed terminal
// shows as POLLHUP.  Reading only what poll says is there never blocks,
// even in the moment before a suspend when the terminal is back in its
// line mode (a read then would wait for a whole line).
short terminal_events() {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0 ? p.revents : 0;
}

// True when the user's character locale (the environment's) is UTF-8,
// asked without changing the program's own locale.
bool user_locale_is_utf8() {
  const locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return false;
  const char* codeset = nl_langinfo_l(CODESET, user);
  const bool utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
  freelocale(user);
  return utf8;
}

// The NO_COLOR convention: set and not empty, no colours at all.
bool colours_wanted() {
  const char* no_colour = std::getenv("NO_COLOR");
  return no_colour == nullptr || *no_colour == '\0';
}

}  // namespace

bool terminal_can_draw() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::string_view(term) != "dumb";
}

bool stdio_is_terminal() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

TerminalConsole::TerminalConsole() : TerminalConsole(terminal_size()) {}

TerminalConsole::TerminalConsole(Coord size)
    : model_(size.x, size.y), utf8_(user_locale_is_utf8()), screen_(colours_wanted(), utf8_) {
  model_.keep_rows_leaving(true);  // for the terminal's scrollback
  // The window is not limited to the terminal's size: the screen keeps its
  // full size, what fits is drawn, and all of it once the terminal is
  // large enough.
  if (tcgetattr(STDIN_FILENO, &saved_) == 0) enter_raw_mode();
}

// No echo, no line editing, Enter as CR; signals stay on, so Ctrl+C is an
// interrupt as at a console.  Reads return at once.
void TerminalConsole::enter_raw_mode() {
  termios raw = saved_;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | IEXTEN));
  raw.c_iflag &= static_cast<tcflag_t>(~(ICRNL | INLCR | IXON));
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  raw_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

TerminalConsole::~TerminalConsole() {
  end_control_events();
  flush_output();
  write_now(leave_bytes());
  restore_terminal();
}

std::string TerminalConsole::leave_bytes() {
  std::string bytes;
  TerminalScreen::leave(screen_.rows_shown(), title_pushed_.load(), screen_.colours(), bytes);
  if (const std::string notice = screen_.owed_notice(); !notice.empty()) bytes += notice + "\r\n";
  return bytes;
}

void TerminalConsole::restore_terminal() {
  if (raw_) tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
}

// On whichever thread ends the run, after what was complete of the output
// has gone out: the terminal as it was found.
void TerminalConsole::before_exit() {
  write_now(leave_bytes());
  restore_terminal();
}

void TerminalConsole::job_control(int signal_number) {
  if (signal_number == SIGWINCH) {
    wake_.wake();
    return;
  }
  std::lock_guard lock(drawing_);
  if (signal_number == SIGTSTP) {
    write_now(leave_bytes());
    restore_terminal();
    given_back_ = true;
    stop_by_signal(SIGTSTP);  // returns when continued (fg)
  }
  // Continued, after our own stop or another's: the shell has used the
  // terminal meanwhile.
  if (given_back_) {
    given_back_ = false;
    enter_raw_mode();
    if (title_pushed_.load()) {
      std::string bytes;
      TerminalScreen::title(title_, true, bytes);
      write_now(bytes);
    }
  }
  screen_.left();  // the next frame, within one key poll, draws it whole
  wake_.wake();
}

// The terminal has gone (its window closed): end as the console ends when
// its window is closed, with the handlers run and by SIGHUP, which is what
// the terminal would have sent.
// The program ends itself by SIGHUP: no other thread may still wait for
// that signal then, or an emulator that passes a raised signal on to the
// whole process (qemu-user does) could hand it to that thread instead.
void TerminalConsole::hang_up() {
  end_control_events_unless_on_signal_thread();
  deliver(ControlEvent::close, SIGHUP);
}

void TerminalConsole::output_failed(int error) {
  if (error == EIO) hang_up();
  PosixStreamConsole::output_failed(error);
}

void TerminalConsole::flush_output() {
  std::lock_guard lock(drawing_);
  const Coord size = terminal_size();
  frame_.clear();
  screen_.scroll_out(model_.take_rows_left(), frame_);
  screen_.present(model_, size.x, size.y, frame_);
  std::size_t written = 0;
  if (!frame_.empty()) output().append(frame_.data(), frame_.size(), written);
  PosixStreamConsole::flush_output();
}

void TerminalConsole::beep(int, int) {
  std::string bytes;
  TerminalScreen::bell(bytes);
  std::size_t written = 0;
  output().append(bytes.data(), bytes.size(), written);
}

bool TerminalConsole::set_title(std::string_view title) {
  std::lock_guard lock(drawing_);
  title_ = title;
  std::string bytes;
  // The terminal's own title is kept on its stack the first time only.
  TerminalScreen::title(title, !title_pushed_.exchange(true), bytes);
  std::size_t written = 0;
  return output().append(bytes.data(), bytes.size(), written);
}

void TerminalConsole::read_keys() {
  // One piece at a time: what the key queue has no room for stays unread
  // in the terminal, so a long paste costs no memory here.
  char bytes[256];
  const short events = terminal_events();
  if (events & POLLHUP) hang_up();
  const ssize_t n = events & POLLIN ? ::read(STDIN_FILENO, bytes, sizeof bytes) : 0;
  if (n < 0 && errno == EIO) hang_up();
  const bool got = n > 0;
  if (got && utf8_) {
    // Typed UTF-8 as CP437 bytes; a character CP437 lacks is dropped with a beep.
    decoded_.clear();
    for (int dropped = utf8_in_.push(bytes, static_cast<std::size_t>(n), decoded_); dropped > 0;
         --dropped) {
      beep(kBellHz, kBellMs);
    }
    keys_.push(decoded_.data(), decoded_.size());
  } else if (got) {
    keys_.push(bytes, static_cast<std::size_t>(n));
  }
  // An unfinished sequence that stayed so over a whole poll is all there
  // is: a lone ESC is the Esc key.
  if (!got && keys_.waiting_for_more()) {
    if (waited_once_) keys_.give_up_waiting();
    waited_once_ = !waited_once_;
  } else {
    waited_once_ = false;
  }
  InputRecord record;
  while (keys_.next(record)) keys_read_.push_back(record);
}

void TerminalConsole::wait_for_input(int poll_ms) {
  flush_output();  // the frame is drawn before the wait, as before a sleep
  const int timeout = keys_.waiting_for_more() ? poll_ms : -1;
  pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {wake_.read_end(), POLLIN, 0}};
  // Woken by a byte, a hang-up (POLLHUP), the signal thread, or EINTR.
  // A terminal in error would wake every time: look again only after the
  // polling pause then, as a console that cannot wait does.
  if (::poll(waits, 2, timeout) > 0 && (waits[0].revents & (POLLERR | POLLNVAL)) != 0) {
    sleep_ms(poll_ms);
  }
  wake_.drain();
}

bool TerminalConsole::peek_input(InputRecord& record) {
  if (keys_read_.empty()) read_keys();
  if (keys_read_.empty()) return false;
  record = keys_read_.front();
  return true;
}

bool TerminalConsole::read_input(InputRecord& record) {
  if (keys_read_.empty()) return false;
  record = keys_read_.front();
  keys_read_.pop_front();
  return true;
}

}  // namespace gndfit
