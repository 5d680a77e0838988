#include "platform/output_buffer.hpp"

#include <cstring>

namespace gndfit {

bool OutputBuffer::append(const char* bytes, std::size_t count, std::size_t& written) {
  if (used_ + count > kCapacity) flush();
  if (count >= kCapacity) {
    std::lock_guard lock(flush_mutex_);
    written = write_all_(bytes, count);
    return written > 0 || count == 0;
  }
  std::memcpy(bytes_.get() + used_, bytes, count);
  used_ += count;
  published_.store(used_, std::memory_order_release);
  written = count;
  return true;
}

void OutputBuffer::flush() {
  std::lock_guard lock(flush_mutex_);
  const std::size_t complete = published_.load(std::memory_order_acquire);
  write_all_(bytes_.get() + sent_, complete - sent_);
  used_ = 0;
  sent_ = 0;
  published_.store(0, std::memory_order_release);
}

void OutputBuffer::flush_published() {
  std::lock_guard lock(flush_mutex_);
  const std::size_t complete = published_.load(std::memory_order_acquire);
  write_all_(bytes_.get() + sent_, complete - sent_);
  sent_ = complete;
}

}  // namespace gndfit
