// SPDX-License-Identifier: MIT
#pragma once
// The two tables that give a console key event its PC BIOS extended code.
// An entry of 256 or more holds the extended code k in its high byte; a
// smaller entry has no extended code (in the grey-key table it is the
// character code itself, and 0 means no code at all).
#include <array>
#include <cstdint>

namespace gndfit {

enum KeyColumn { kPlain = 0, kShift = 1, kCtrl = 2, kAlt = 3 };

inline constexpr int kLastScanCode = 0x58;

// Indexed by scan code 0x00-0x58: plain, Shift, Ctrl, Alt.
extern const std::array<std::array<std::uint16_t, 4>, kLastScanCode + 1> ScanKeyTable;

struct EnhancedKey {
  std::uint8_t scan_code;
  std::array<std::uint16_t, 4> entries;  // plain, Shift, Ctrl, Alt
};
extern const std::array<EnhancedKey, 12> EnhancedKeyTable;

}  // namespace gndfit
