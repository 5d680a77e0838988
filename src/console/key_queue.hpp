// SPDX-License-Identifier: MIT
#pragma once
// The process's queue of key codes: a ring of 512 codes that drops its
// oldest code when full, so at most 511 are held.  Polling only moves a key
// event into it when there is room for all its codes, so typed keys are never
// dropped; only a push from a control handler can drop the oldest.  The main thread takes;
// a console control handler may push from a thread of its own, so push and
// take share one mutex.
#include <array>
#include <cstdint>
#include <mutex>

namespace gndfit {

// 0-255 a character byte, k * 256 + 255 an extended key, -1 no key.
using KeyCode = std::int32_t;
inline constexpr KeyCode kNoKey = -1;
inline constexpr KeyCode extended_key(int k) { return k * 256 + 255; }
inline constexpr KeyCode CLOSE_KEY_CODE = extended_key(0x6B);  // Alt+F4

class KeyQueue {
 public:
  static constexpr int kCapacity = 512;

  void push(KeyCode code);
  // The oldest code, removed, or kNoKey when empty.
  KeyCode take();
  bool empty() const;
  int size() const;
  // How many codes can still be pushed without dropping one.
  int room() const { return kCapacity - 1 - size(); }

 private:
  mutable std::mutex mutex_;
  std::array<KeyCode, kCapacity> ring_{};
  int read_ = 0;
  int write_ = 0;
};

}  // namespace gndfit
