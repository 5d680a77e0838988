// SPDX-License-Identifier: MIT
#include "platform/terminal_keys.hpp"

#include "platform/us_keyboard.hpp"

namespace gndfit {
namespace {

constexpr std::size_t kLongestSequence = 16;

InputRecord key(std::uint8_t ch, int scan, int vk, std::uint32_t state = 0) {
  InputRecord r;
  r.kind = InputRecord::Kind::key;
  r.key_down = true;
  r.repeat_count = 1;
  r.ch = ch;
  r.scan_code = static_cast<std::uint16_t>(scan);
  r.virtual_key = static_cast<std::uint16_t>(vk);
  r.control_state = state;
  return r;
}

// Where a US keyboard has each character: its scan code, virtual key and
// whether Shift makes it; nothing for a byte no key types.
struct KeyPlace {
  int scan = 0;
  int vk = 0;
  bool shift = false;
};

KeyPlace place_of(unsigned char c) {
  UsKey k{};
  bool shifted = false;
  if (!us_key_for_char(c, k, shifted)) return {};
  return {k.scan, k.vk, shifted};
}

// The key a single byte stands for.
bool key_for_byte(unsigned char b, InputRecord& r) {
  switch (b) {
    case 0:
      return false;  // Ctrl+@ has no character code
    case 8:
    case 127:
      r = key(8, 0x0E, 0x08);
      return true;  // Backspace
    case 9:
      r = key(9, 0x0F, 0x09);
      return true;
    case 13:
      r = key(13, 0x1C, 0x0D);
      return true;
    case 27:
      r = key(27, 0x01, 0x1B);
      return true;
    default:
      break;
  }
  if (b < 27) {  // Ctrl and a letter
    const KeyPlace p = place_of(static_cast<unsigned char>('a' + b - 1));
    r = key(b, p.scan, p.vk, key_state::left_ctrl);
    return true;
  }
  if (b < 32) {
    r = key(b, 0, 0, key_state::left_ctrl);
    return true;
  }
  const KeyPlace p = place_of(b);
  r = key(b, p.scan, p.vk, p.shift ? key_state::shift : 0);
  return true;
}

std::uint32_t modifier_state(int m) {
  std::uint32_t state = 0;
  if (m < 2) return state;
  const int bits = m - 1;
  if (bits & 1) state |= key_state::shift;
  if (bits & 2) state |= key_state::left_alt;
  if (bits & 4) state |= key_state::left_ctrl;
  return state;
}

struct NamedKey {
  int scan, vk;
  bool enhanced;
};

// Final letters of ESC [ and ESC O sequences.
bool letter_key(char final, NamedKey& k) {
  switch (final) {
    case 'A':
      k = {0x48, 0x26, true};
      return true;
    case 'B':
      k = {0x50, 0x28, true};
      return true;
    case 'C':
      k = {0x4D, 0x27, true};
      return true;
    case 'D':
      k = {0x4B, 0x25, true};
      return true;
    case 'H':
      k = {0x47, 0x24, true};
      return true;
    case 'F':
      k = {0x4F, 0x23, true};
      return true;
    case 'P':
      k = {0x3B, 0x70, false};
      return true;
    case 'Q':
      k = {0x3C, 0x71, false};
      return true;
    case 'R':
      k = {0x3D, 0x72, false};
      return true;
    case 'S':
      k = {0x3E, 0x73, false};
      return true;
    default:
      return false;
  }
}

// Numbers of ESC [ n ~ sequences.
bool tilde_key(int n, NamedKey& k) {
  switch (n) {
    case 1:
    case 7:
      k = {0x47, 0x24, true};
      return true;
    case 4:
    case 8:
      k = {0x4F, 0x23, true};
      return true;
    case 2:
      k = {0x52, 0x2D, true};
      return true;
    case 3:
      k = {0x53, 0x2E, true};
      return true;
    case 5:
      k = {0x49, 0x21, true};
      return true;
    case 6:
      k = {0x51, 0x22, true};
      return true;
    case 23:
      k = {0x57, 0x7A, false};
      return true;
    case 24:
      k = {0x58, 0x7B, false};
      return true;
    default:
      break;
  }
  if (n >= 11 && n <= 15) {
    k = {0x3B + n - 11, 0x70 + n - 11, false};
    return true;
  }
  if (n >= 17 && n <= 21) {
    k = {0x40 + n - 17, 0x75 + n - 17, false};
    return true;
  }
  return false;
}

InputRecord named(const NamedKey& k, int modifier) {
  return key(0, k.scan, k.vk, modifier_state(modifier) | (k.enhanced ? key_state::enhanced : 0));
}

}  // namespace

void TerminalKeyDecoder::push(const char* bytes, std::size_t count) {
  pending_.append(bytes, count);
  for (;;) {
    if (pending_.empty()) return;
    std::size_t used = 0;
    InputRecord record;
    const Parse result = parse(used, record);
    if (result == Parse::need_more) return;
    if (result == Parse::key) ready_.push_back(record);
    pending_.erase(0, used);
  }
}

bool TerminalKeyDecoder::next(InputRecord& record) {
  if (ready_.empty()) return false;
  record = ready_.front();
  ready_.pop_front();
  return true;
}

void TerminalKeyDecoder::give_up_waiting() {
  if (pending_.empty()) return;
  InputRecord record;
  if (pending_ == "\x1b") {
    key_for_byte(27, record);
    ready_.push_back(record);
  } else if (pending_.size() == 2 && (pending_[1] == '[' || pending_[1] == 'O')) {
    key_for_byte(static_cast<unsigned char>(pending_[1]), record);  // Alt+[ or Alt+O
    record.control_state |= key_state::left_alt;
    ready_.push_back(record);
  }
  pending_.clear();
}

TerminalKeyDecoder::Parse TerminalKeyDecoder::parse(std::size_t& used, InputRecord& record) const {
  const auto b0 = static_cast<unsigned char>(pending_[0]);
  if (b0 != 27) {
    used = 1;
    return key_for_byte(b0, record) ? Parse::key : Parse::invalid;
  }
  if (pending_.size() < 2) return Parse::need_more;
  const char b1 = pending_[1];
  if (b1 == '[') return parse_csi(used, record);
  if (b1 == 'O') {
    if (pending_.size() < 3) return Parse::need_more;
    used = 3;
    NamedKey k;
    if (!letter_key(pending_[2], k)) return Parse::invalid;
    record = named(k, 1);
    return Parse::key;
  }
  // ESC and another key: that key with Alt.
  used = 2;
  if (!key_for_byte(static_cast<unsigned char>(b1), record)) return Parse::invalid;
  record.control_state |= key_state::left_alt;
  return Parse::key;
}

TerminalKeyDecoder::Parse TerminalKeyDecoder::parse_csi(std::size_t& used,
                                                        InputRecord& record) const {
  int params[2] = {0, 0};
  int count = 0;
  bool digits = false;
  for (std::size_t i = 2; i < pending_.size(); ++i) {
    const char c = pending_[i];
    if (c >= '0' && c <= '9') {
      // Numbers past four digits name no key; stop them growing.
      if (count < 2 && params[count] < 10000) params[count] = params[count] * 10 + (c - '0');
      digits = true;
      continue;
    }
    if (c == ';') {
      ++count;
      continue;
    }
    used = i + 1;
    if (digits || count > 0) ++count;
    NamedKey k;
    if (c == '~') {
      if (!tilde_key(params[0], k)) return Parse::invalid;
      record = named(k, count > 1 ? params[1] : 1);
      return Parse::key;
    }
    if (c == 'Z') {
      record = key(9, 0x0F, 0x09, key_state::shift);
      return Parse::key;
    }
    if (!letter_key(c, k)) return Parse::invalid;
    record = named(k, count > 1 ? params[1] : 1);
    return Parse::key;
  }
  if (pending_.size() > kLongestSequence) {
    used = pending_.size();
    return Parse::invalid;
  }
  return Parse::need_more;
}

}  // namespace gndfit
