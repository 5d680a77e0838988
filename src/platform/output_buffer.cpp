// SPDX-License-Identifier: MIT
#include "platform/output_buffer.hpp"

#include <cstring>
#include <thread>

namespace gndfit {

bool OutputBuffer::append(const char* bytes, std::size_t count, std::size_t& written) {
  if (used_ + count > kCapacity) flush();
  if (count >= kCapacity) {
    WriteResult result;
    {
      std::lock_guard lock(flush_mutex_);
      result = write_all_(bytes, count, Mode::wait);
    }
    written = result.written;
    report(result.error);
    return written > 0 || count == 0;
  }
  std::memcpy(bytes_.get() + used_, bytes, count);
  used_ += count;
  published_.store(used_, std::memory_order_release);
  written = count;
  return true;
}

void OutputBuffer::flush() {
  WriteResult result;
  {
    std::lock_guard lock(flush_mutex_);
    const std::size_t complete = published_.load(std::memory_order_acquire);
    if (complete > sent_) result = write_all_(bytes_.get() + sent_, complete - sent_, Mode::wait);
    used_ = 0;
    sent_ = 0;
    published_.store(0, std::memory_order_release);
  }
  report(result.error);
}

void OutputBuffer::flush_published() {
  // Tries rather than a timed lock, which ThreadSanitizer cannot follow.
  std::unique_lock lock(flush_mutex_, std::defer_lock);
  const auto give_up = std::chrono::steady_clock::now() + kEndingWait;
  while (!lock.try_lock()) {
    if (std::chrono::steady_clock::now() >= give_up) return;  // the main thread is stuck in a write
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const std::size_t complete = published_.load(std::memory_order_acquire);
  if (complete > sent_) write_all_(bytes_.get() + sent_, complete - sent_, Mode::bounded);
  sent_ = complete;
}

void OutputBuffer::report(int error) {
  if (error != 0 && on_failure_) on_failure_(error);
}

}  // namespace gndfit
