// SPDX-License-Identifier: MIT
#pragma once
// Console key events into key codes.  Polling moves the console's pending
// input records into the KeyQueue while their codes fit, one record per call
// of the device,
// translating each key with the scan-code tables and collecting Alt plus
// numeric-keypad digits into one character code.  Nothing here blocks:
// waiting for a key is a loop of polls with a sleep between them.
#include <functional>

#include "console/key_queue.hpp"
#include "platform/console_device.hpp"

namespace gndfit {

// The key code of one key event, or kNoKey.  The device supplies the key's
// own character (its virtual-key map) and the locale's case swap.
KeyCode translate_key(ConsoleDevice& device, std::uint8_t byte, int scan_code, int virtual_key,
                      std::uint32_t control_state);

class KeyInput {
 public:
  KeyInput(ConsoleDevice& device, KeyQueue& queue) : device_(device), queue_(queue) {}

  // Runs once, on the first poll of the process: registers the run-time's
  // control handler, so that it comes before the program's own.
  void on_first_poll(std::function<void()> hook) { first_poll_hook_ = std::move(hook); }

  void poll_console_input();
  bool key_available();
  KeyCode take_key();
  void push_key(KeyCode code) { queue_.push(code); }

  std::uint32_t pending_alt_code() const { return alt_code_; }

 private:
  void key_step(const InputRecord& record);
  void on_key_down(const InputRecord& record);
  void flush_alt_code();
  void push_resetting_alt(KeyCode code);

  ConsoleDevice& device_;
  KeyQueue& queue_;
  std::uint32_t alt_code_ = 0;
  bool polled_ = false;
  std::function<void()> first_poll_hook_;
};

}  // namespace gndfit
