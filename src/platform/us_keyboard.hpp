// SPDX-License-Identifier: MIT
#pragma once
// The US keyboard layout, one table for both directions: where a terminal's
// character is typed (scan code, virtual key, Shift), and a key's own
// character as the console's virtual-key map gives it.  Platforms without
// such a map (terminals, tests) use it.
namespace gndfit {

// A key that types a character: unshifted and with Shift.
struct UsKey {
  char plain;
  char shifted;
  int scan;
  int vk;
};

// The key that types `c`, and whether Shift is needed; false when no key of
// the layout types it.
bool us_key_for_char(unsigned char c, UsKey& key, bool& shifted);

// A virtual key's own character (letters in capitals, as the console's map
// gives them); 0 for keys without one.
int us_layout_char(int virtual_key);

}  // namespace gndfit
