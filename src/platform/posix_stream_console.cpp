#include "platform/posix_stream_console.hpp"

#include <cerrno>
#include <csignal>
#include <thread>

#include <pthread.h>
#include <time.h>
#include <unistd.h>

namespace gndfit {
namespace {

sigset_t control_signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  sigaddset(&set, SIGTERM);
  return set;
}

ControlEvent event_for(int signal_number) {
  switch (signal_number) {
    case SIGINT: return ControlEvent::ctrl_c;
    case SIGHUP: return ControlEvent::close;
    default: return ControlEvent::shutdown;
  }
}

std::size_t write_all_to_stdout(const char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // a closed output loses the rest, as a failed write would
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t read_from_stdin(unsigned char* bytes, std::size_t count) {
  ssize_t n;
  do {
    n = ::read(STDIN_FILENO, bytes, count);
  } while (n < 0 && errno == EINTR);
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace

PosixStreamConsole::PosixStreamConsole()
    : output_(write_all_to_stdout), input_(read_from_stdin, [this] { flush_output(); }) {
  // Control signals go to one waiting thread, never into the main thread.
  const sigset_t set = control_signals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([this, set] {
    int signal_number = 0;
    while (sigwait(&set, &signal_number) != 0) {
    }
    deliver(event_for(signal_number), 128 + signal_number);
  }).detach();
}

PosixStreamConsole::~PosixStreamConsole() { flush_output(); }

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

void PosixStreamConsole::deliver(ControlEvent event, int exit_status) {
  handlers_.run(event);
  output_.flush_published();
  before_exit();
  ::_exit(exit_status);
}

}  // namespace gndfit
