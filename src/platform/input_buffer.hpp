// SPDX-License-Identifier: MIT
#pragma once
// Standard input read as raw bytes in 64 KiB pieces.  Before it reads (and
// so may wait) it runs the given flush, so that nothing waits for input with
// output still held back.  The end of the data is final.
#include <cstddef>
#include <functional>
#include <vector>

namespace gndfit {

class InputBuffer {
 public:
  // Reads up to `count` bytes; 0 at the end of the data or on failure.
  using Reader = std::function<std::size_t(unsigned char*, std::size_t)>;
  static constexpr std::size_t kCapacity = 1 << 16;

  InputBuffer(Reader read, std::function<void()> before_reading)
      : read_(std::move(read)), before_reading_(std::move(before_reading)) {}

  // The next byte, 0-255, or -1 at the end of the data.
  int next_byte() {
    if (pos_ == bytes_.size() && !refill()) return -1;
    return bytes_[pos_++];
  }

 private:
  bool refill() {
    if (ended_) return false;
    before_reading_();
    bytes_.resize(kCapacity);
    bytes_.resize(read_(bytes_.data(), bytes_.size()));
    pos_ = 0;
    ended_ = bytes_.empty();
    return !ended_;
  }

  Reader read_;
  std::function<void()> before_reading_;
  std::vector<unsigned char> bytes_;
  std::size_t pos_ = 0;
  bool ended_ = false;
};

}  // namespace gndfit
