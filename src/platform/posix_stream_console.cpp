// SPDX-License-Identifier: MIT
#include "platform/posix_stream_console.hpp"

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace gndfit {
namespace {

constexpr int kEndingWaitMs = static_cast<int>(OutputBuffer::kEndingWait.count());
// A pipe that polls writable takes this much without blocking.
constexpr std::size_t kAtomicPipeWrite = 4096;

// Waits until the descriptor is ready for `events`; false after `timeout_ms`
// (-1: no limit) without it.
bool wait_ready(int fd, short events, int timeout_ms) {
  pollfd p{fd, events, 0};
  int n;
  do {
    n = ::poll(&p, 1, timeout_ms);
  } while (n < 0 && errno == EINTR);
  return n != 0;  // an error or a hang-up shows at the next read or write
}

}  // namespace

WriteResult write_fully(int fd, const char* bytes, std::size_t count, OutputBuffer::Mode mode) {
  const bool bounded = mode == OutputBuffer::Mode::bounded;
  WriteResult result;
  while (result.written < count) {
    if (bounded && !wait_ready(fd, POLLOUT, kEndingWaitMs)) {
      result.error = EAGAIN;
      break;
    }
    std::size_t piece = count - result.written;
    if (bounded) piece = std::min(piece, kAtomicPipeWrite);
    const ssize_t n = ::write(fd, bytes + result.written, piece);
    if (n > 0) {
      result.written += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!bounded) wait_ready(fd, POLLOUT, -1);  // non-blocking output: wait, lose nothing
    } else {
      result.error = n < 0 ? errno : EIO;
      break;
    }
  }
  return result;
}

void occupy_closed_standard_descriptors() {
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int flags = fd == STDOUT_FILENO ? O_RDONLY : O_WRONLY;
    const int opened = ::open("/dev/null", flags);
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

std::size_t PosixStreamConsole::read_standard_input(unsigned char* bytes, std::size_t count) {
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, bytes, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      wait_ready(STDIN_FILENO, POLLIN, -1);  // non-blocking input: wait for it
      continue;
    }
    fail("read standard input", errno);
  }
}

PosixStreamConsole::PosixStreamConsole(bool typed) : PosixStreamConsole(nullptr, typed) {}

PosixStreamConsole::PosixStreamConsole(InputBuffer::Reader reader)
    : PosixStreamConsole(std::move(reader), false) {}

PosixStreamConsole::PosixStreamConsole(InputBuffer::Reader reader, bool typed)
    : output_(
          [](const char* bytes, std::size_t count, OutputBuffer::Mode mode) {
            return write_fully(STDOUT_FILENO, bytes, count, mode);
          },
          [this](int error) { output_failed(error); }),
      input_(reader ? std::move(reader)
                    : InputBuffer::Reader([this](unsigned char* bytes, std::size_t count) {
                        return read_standard_input(bytes, count);
                      }),
             [this] { flush_output(); }),
      typed_(typed) {
  // Held pending until the first handler is registered, when the console
  // is whole and the thread that takes them starts.
  block_control_signals();
}

ControlHandlerId PosixStreamConsole::add_control_handler(ControlHandler handler) {
  const ControlHandlerId id = handlers_.add(std::move(handler));
  if (!signals_) {  // the console is whole now: virtual calls reach the terminal
    signals_.emplace(
        [this](int signal_number) {
          if (is_job_control(signal_number)) {
            job_control(signal_number);
          } else {
            deliver(event_for_signal(signal_number), signal_number);
          }
        },
        takes_job_control());
  }
  return id;
}

PosixStreamConsole::~PosixStreamConsole() {
  end_control_events();
  flush_output();
}

bool PosixStreamConsole::write_raw(const char* bytes, std::size_t count, std::size_t& written) {
  return output_.append(bytes, count, written);
}

void PosixStreamConsole::flush_output() { output_.flush(); }

void PosixStreamConsole::sleep_ms(int ms) {
  flush_output();
  timespec t{ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

void PosixStreamConsole::output_failed(int error) {
  if (error == EPIPE) {  // the reader has gone: end as a filter ends
    begin_ending();
    before_exit();
    end_by_signal(SIGPIPE);
  }
  fail("write standard output", error);
}

void PosixStreamConsole::fail(const char* action, int error) {
  begin_ending();
  before_exit();
  std::fprintf(stderr, "gndfit: cannot %s: %s\n", action, std::strerror(error));
  std::fflush(stderr);
  ::_exit(1);
}

void PosixStreamConsole::deliver(ControlEvent event, int signal_number) {
  begin_ending();
  handlers_.run(event);
  output_.flush_published();
  before_exit();
  end_by_signal(signal_number);
}

}  // namespace gndfit
