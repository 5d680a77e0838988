// SPDX-License-Identifier: MIT
#include "console/key_queue.hpp"

namespace gndfit {

void KeyQueue::push(KeyCode code) {
  std::lock_guard lock(mutex_);
  ring_[write_] = code;
  write_ = (write_ + 1) % kCapacity;
  if (write_ == read_) read_ = (read_ + 1) % kCapacity;  // drop the oldest
}

KeyCode KeyQueue::take() {
  std::lock_guard lock(mutex_);
  if (read_ == write_) return kNoKey;
  const KeyCode code = ring_[read_];
  read_ = (read_ + 1) % kCapacity;
  return code;
}

bool KeyQueue::empty() const {
  std::lock_guard lock(mutex_);
  return read_ == write_;
}

int KeyQueue::size() const {
  std::lock_guard lock(mutex_);
  return (write_ - read_ + kCapacity) % kCapacity;
}

}  // namespace gndfit
