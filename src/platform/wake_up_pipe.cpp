// SPDX-License-Identifier: MIT
#include "platform/wake_up_pipe.hpp"

#include <fcntl.h>
#include <unistd.h>

namespace gndfit {

WakeUpPipe::WakeUpPipe() {
  if (::pipe(ends_) != 0) {
    ends_[0] = ends_[1] = -1;
    return;
  }
  for (int end : ends_) {
    ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    ::fcntl(end, F_SETFD, FD_CLOEXEC);
  }
}

WakeUpPipe::~WakeUpPipe() {
  for (int end : ends_) {
    if (end >= 0) ::close(end);
  }
}

void WakeUpPipe::wake() {
  if (ends_[1] < 0) return;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(ends_[1], &byte, 1);  // full: already awake
}

void WakeUpPipe::drain() {
  if (ends_[0] < 0) return;
  char bytes[64];
  while (::read(ends_[0], bytes, sizeof bytes) > 0) {
  }
}

}  // namespace gndfit
