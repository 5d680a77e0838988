// SPDX-License-Identifier: MIT
#include "platform/control_signals.hpp"

#include <pthread.h>
#include <unistd.h>

#include <csignal>

namespace gndfit {
namespace {

sigset_t control_signals(bool job_control) {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGINT, SIGQUIT, SIGTERM, SIGHUP}) sigaddset(&set, s);
  if (job_control) {
    sigaddset(&set, SIGTSTP);
    sigaddset(&set, SIGCONT);
    sigaddset(&set, SIGWINCH);
  }
  return set;
}

}  // namespace

void block_control_signals(bool job_control) {
  const sigset_t set = control_signals(job_control);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

ControlSignalThread::ControlSignalThread(Receiver receive, bool job_control)
    : receive_(std::move(receive)) {
  block_control_signals(job_control);
  const sigset_t set = control_signals(job_control);
  thread_ = std::thread([this, set] {
    for (;;) {
      int signal_number = 0;
      if (sigwait(&set, &signal_number) != 0) continue;
      if (stopping_.load()) return;
      receive_(signal_number);
    }
  });
}

void ControlSignalThread::stop() {
  if (!thread_.joinable()) return;
  stopping_.store(true);
  // Wakes the waiting thread; the signal goes to that thread alone.
  pthread_kill(thread_.native_handle(), SIGTERM);
  thread_.join();
}

ControlEvent event_for_signal(int signal_number) {
  switch (signal_number) {
    case SIGINT:
      return ControlEvent::ctrl_c;
    case SIGQUIT:
      return ControlEvent::ctrl_break;
    case SIGHUP:
      return ControlEvent::close;
    default:
      return ControlEvent::shutdown;
  }
}

bool is_job_control(int signal_number) {
  return signal_number == SIGTSTP || signal_number == SIGCONT || signal_number == SIGWINCH;
}

// Raises the signal on this thread with its default action, the signal
// unblocked here for the moment it takes.
void raise_with_default_action(int signal_number) {
  std::signal(signal_number, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal_number);
  pthread_sigmask(SIG_BLOCK, &only, nullptr);
}

void stop_by_signal(int signal_number) {
  raise_with_default_action(signal_number);  // stopped here until continued
}

void end_by_signal(int signal_number) {
  raise_with_default_action(signal_number);
  ::_exit(128 + signal_number);  // only if the signal could not end it
}

}  // namespace gndfit
