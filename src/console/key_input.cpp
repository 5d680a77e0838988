// SPDX-License-Identifier: MIT
#include "console/key_input.hpp"

#include "console/key_tables.hpp"
#include "platform/locale_case.hpp"

namespace gndfit {
namespace {

constexpr int kNumpad0 = 0x60;
constexpr int kNumpad9 = 0x69;

bool alt_held(std::uint32_t s) { return (s & (key_state::right_alt | key_state::left_alt)) != 0; }
bool ctrl_held(std::uint32_t s) {
  return (s & (key_state::right_ctrl | key_state::left_ctrl)) != 0;
}
bool shift_held(std::uint32_t s) { return (s & key_state::shift) != 0; }

// Alt outranks Ctrl, which outranks Shift.
int modifier_column(std::uint32_t s) {
  if (alt_held(s)) return kAlt;
  if (ctrl_held(s)) return kCtrl;
  if (shift_held(s)) return kShift;
  return kPlain;
}

KeyCode code_of_entry(std::uint16_t entry) {
  return entry >= 256 ? extended_key(entry >> 8) : KeyCode{entry};
}

KeyCode translate_enhanced(int scan_code, std::uint32_t state) {
  for (const EnhancedKey& key : EnhancedKeyTable) {
    if (key.scan_code != scan_code) continue;
    const int column = modifier_column(state);
    const std::uint16_t entry = key.entries[column];
    if (entry == 0 && column != kPlain) return kNoKey;
    return code_of_entry(entry);
  }
  return kNoKey;
}

}  // namespace

KeyCode translate_key(ConsoleDevice& device, std::uint8_t byte, int scan_code, int virtual_key,
                      std::uint32_t state) {
  if ((state & key_state::enhanced) != 0 && byte == 0) return translate_enhanced(scan_code, state);
  const KeyCode byte_code = byte != 0 ? KeyCode{byte} : kNoKey;
  if (scan_code < 0 || scan_code > kLastScanCode) return byte_code;

  const int own = device.map_vk_to_char(virtual_key) & 0xFFFF;
  const int own_swapped = swap_case_in_locale(own);
  const int column = modifier_column(state);
  const auto& row = ScanKeyTable[static_cast<std::size_t>(scan_code)];
  const int entry = column != kPlain ? row[column] : byte != 0 ? own : row[kPlain];
  // An extended code only for the key's own character, so that a character
  // made with a modifier (AltGr) passes through as that character.
  if (entry >= 256 && (byte == own || byte == own_swapped)) return extended_key(entry >> 8);
  return byte_code;
}

void KeyInput::poll_console_input() {
  if (!polled_) {
    polled_ = true;
    if (first_poll_hook_) first_poll_hook_();
  }
  InputRecord record;
  while (device_.peek_input(record)) {
    // A key event is taken only when all the codes it can give fit, so a
    // paste longer than the queue waits in the console's own input, where
    // the next poll finds it, instead of pushing out the oldest keys.  An
    // event with more repeats than the queue ever holds goes in when the
    // queue is empty, or it would block the input for good.
    const int times = record.kind != InputRecord::Kind::key ? 0
                      : record.key_down                     ? record.repeat_count
                                                            : 1;
    if (times > queue_.room() && !queue_.empty()) break;
    if (!device_.read_input(record)) break;
    for (int i = 0; i < times; ++i) key_step(record);  // none for mouse, size, menu, focus
  }
}

bool KeyInput::key_available() {
  poll_console_input();
  return !queue_.empty();
}

KeyCode KeyInput::take_key() {
  poll_console_input();
  const KeyCode code = queue_.take();
  if (code == kNoKey) return kNoKey;
  poll_console_input();
  return code;
}

void KeyInput::key_step(const InputRecord& r) {
  if (r.key_down) {
    on_key_down(r);
    return;
  }
  // Releasing a key with Alt alone still held keeps collecting digits.
  const std::uint32_t s = r.control_state;
  if (alt_held(s) && !ctrl_held(s) && !shift_held(s)) return;
  flush_alt_code();
}

void KeyInput::on_key_down(const InputRecord& r) {
  const std::uint32_t s = r.control_state;
  const KeyCode code = translate_key(device_, r.ch, r.scan_code, r.virtual_key, s);
  if (!ctrl_held(s) && !shift_held(s) && alt_held(s)) {
    if (r.virtual_key >= kNumpad0 && r.virtual_key <= kNumpad9) {
      alt_code_ = alt_code_ * 10 + static_cast<std::uint32_t>(r.virtual_key - kNumpad0);
      if (code != kNoKey) queue_.push(code);
    } else if (code != kNoKey) {
      push_resetting_alt(code);
    }
    return;
  }
  if (code != kNoKey)
    push_resetting_alt(code);
  else
    flush_alt_code();
}

void KeyInput::push_resetting_alt(KeyCode code) {
  alt_code_ = 0;
  queue_.push(code);
}

void KeyInput::flush_alt_code() {
  if (alt_code_ == 0) return;
  queue_.push(static_cast<KeyCode>(alt_code_ % 256));
  alt_code_ = 0;
}

}  // namespace gndfit
