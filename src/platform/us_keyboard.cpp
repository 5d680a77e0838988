// SPDX-License-Identifier: MIT
#include "platform/us_keyboard.hpp"

#include <array>

namespace gndfit {
namespace {

constexpr std::array<UsKey, 48> kCharacterKeys = {{
    {'1', '!', 0x02, '1'},   {'2', '@', 0x03, '2'},   {'3', '#', 0x04, '3'},
    {'4', '$', 0x05, '4'},   {'5', '%', 0x06, '5'},   {'6', '^', 0x07, '6'},
    {'7', '&', 0x08, '7'},   {'8', '*', 0x09, '8'},   {'9', '(', 0x0A, '9'},
    {'0', ')', 0x0B, '0'},   {'-', '_', 0x0C, 0xBD},  {'=', '+', 0x0D, 0xBB},
    {'q', 'Q', 0x10, 'Q'},   {'w', 'W', 0x11, 'W'},   {'e', 'E', 0x12, 'E'},
    {'r', 'R', 0x13, 'R'},   {'t', 'T', 0x14, 'T'},   {'y', 'Y', 0x15, 'Y'},
    {'u', 'U', 0x16, 'U'},   {'i', 'I', 0x17, 'I'},   {'o', 'O', 0x18, 'O'},
    {'p', 'P', 0x19, 'P'},   {'[', '{', 0x1A, 0xDB},  {']', '}', 0x1B, 0xDD},
    {'a', 'A', 0x1E, 'A'},   {'s', 'S', 0x1F, 'S'},   {'d', 'D', 0x20, 'D'},
    {'f', 'F', 0x21, 'F'},   {'g', 'G', 0x22, 'G'},   {'h', 'H', 0x23, 'H'},
    {'j', 'J', 0x24, 'J'},   {'k', 'K', 0x25, 'K'},   {'l', 'L', 0x26, 'L'},
    {';', ':', 0x27, 0xBA},  {'\'', '"', 0x28, 0xDE}, {'`', '~', 0x29, 0xC0},
    {'\\', '|', 0x2B, 0xDC}, {'z', 'Z', 0x2C, 'Z'},   {'x', 'X', 0x2D, 'X'},
    {'c', 'C', 0x2E, 'C'},   {'v', 'V', 0x2F, 'V'},   {'b', 'B', 0x30, 'B'},
    {'n', 'N', 0x31, 'N'},   {'m', 'M', 0x32, 'M'},   {',', '<', 0x33, 0xBC},
    {'.', '>', 0x34, 0xBE},  {'/', '?', 0x35, 0xBF},  {' ', ' ', 0x39, 0x20},
}};

bool is_letter(char c) { return c >= 'a' && c <= 'z'; }

// Keys with a character of their own that no printable byte stands for.
int other_key_char(int vk) {
  if (vk >= 0x60 && vk <= 0x69) return '0' + (vk - 0x60);  // keypad digits
  switch (vk) {
    case 0x08:
      return 8;  // Backspace
    case 0x09:
      return 9;  // Tab
    case 0x0D:
      return 13;  // Enter
    case 0x1B:
      return 27;  // Esc
    case 0x6A:
      return '*';  // keypad
    case 0x6B:
      return '+';
    case 0x6D:
      return '-';
    case 0x6E:
      return '.';
    case 0x6F:
      return '/';
    default:
      return 0;
  }
}

}  // namespace

bool us_key_for_char(unsigned char c, UsKey& key, bool& shifted) {
  for (const UsKey& k : kCharacterKeys) {
    if (static_cast<unsigned char>(k.plain) == c || static_cast<unsigned char>(k.shifted) == c) {
      key = k;
      shifted = static_cast<unsigned char>(k.plain) != c;
      return true;
    }
  }
  return false;
}

int us_layout_char(int vk) {
  for (const UsKey& k : kCharacterKeys) {
    if (k.vk == vk) return is_letter(k.plain) ? k.shifted : k.plain;
  }
  return other_key_char(vk);
}

}  // namespace gndfit
