// SPDX-License-Identifier: MIT
#pragma once
// A pipe that one thread writes a byte into to wake another that polls its
// read end: the POSIX terminal's signal thread wakes the main thread waiting
// for a key when the terminal is resized or the process is continued.
// Both ends are non-blocking: a full pipe already wakes, an empty one has
// nothing to drain.
namespace gndfit {

class WakeUpPipe {
 public:
  WakeUpPipe();
  ~WakeUpPipe();
  WakeUpPipe(const WakeUpPipe&) = delete;
  WakeUpPipe& operator=(const WakeUpPipe&) = delete;

  // -1 where no pipe could be made (poll then ignores it).
  int read_end() const { return ends_[0]; }
  void wake();
  void drain();

 private:
  int ends_[2] = {-1, -1};
};

}  // namespace gndfit
