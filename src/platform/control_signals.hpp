// SPDX-License-Identifier: MIT
#pragma once
// POSIX control signals as console control events.  SIGINT (Ctrl+C),
// SIGQUIT (Ctrl+\, taken as Ctrl+Break), SIGTERM and SIGHUP are blocked in
// every thread and taken by one thread of their own with sigwait, so the
// handlers run as console control handlers do: on another thread, while the
// main thread goes on.  The thread has an owner: stop() returns only when
// no signal can reach the receiver any more, so the objects the receiver
// uses may then be destroyed.
#include <atomic>
#include <functional>
#include <thread>

#include "platform/console_device.hpp"

namespace gndfit {

class ControlSignalThread {
 public:
  // Receives one signal number.  For a control signal it ends the process
  // and never returns; for a job-control one it returns.
  using Receiver = std::function<void(int signal_number)>;

  // Blocks the control signals in the calling thread and starts the
  // waiting thread; a signal already pending is received at once.  With
  // `job_control`, SIGTSTP, SIGCONT and SIGWINCH are taken too (a terminal
  // that must be given back before the process stops, and redrawn when
  // continued or resized).
  explicit ControlSignalThread(Receiver receive, bool job_control = false);
  ~ControlSignalThread() { stop(); }
  ControlSignalThread(const ControlSignalThread&) = delete;
  ControlSignalThread& operator=(const ControlSignalThread&) = delete;

  // Main thread.  A signal already being received ends the process before
  // this returns; one that arrives later stays blocked.
  void stop();
  // True on the waiting thread itself (where stop() must not be called).
  bool is_current() const { return thread_.get_id() == std::this_thread::get_id(); }

 private:
  Receiver receive_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

// Blocks the control signals in the calling thread and in the threads it
// starts later: they wait, pending, for a ControlSignalThread.
void block_control_signals(bool job_control = false);

// SIGTSTP, SIGCONT or SIGWINCH: the signals of a terminal's owner, which
// the terminal console acts on and the process lives on after.
bool is_job_control(int signal_number);
// Stops the process as the signal's own action does (SIGTSTP) and returns
// once it is continued.
void stop_by_signal(int signal_number);

ControlEvent event_for_signal(int signal_number);

// Ends the process by the signal itself, as its default action does, so that
// the parent sees how it ended (a shell loop stops on Ctrl+C).
[[noreturn]] void end_by_signal(int signal_number);

}  // namespace gndfit
