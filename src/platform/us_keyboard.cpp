#include "platform/us_keyboard.hpp"

namespace gndfit {

int us_layout_char(int vk) {
  if (vk >= 'A' && vk <= 'Z') return vk;
  if (vk >= '0' && vk <= '9') return vk;
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
    case 0x20:
      return ' ';
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
    case 0xBA:
      return ';';
    case 0xBB:
      return '=';
    case 0xBC:
      return ',';
    case 0xBD:
      return '-';
    case 0xBE:
      return '.';
    case 0xBF:
      return '/';
    case 0xC0:
      return '`';
    case 0xDB:
      return '[';
    case 0xDC:
      return '\\';
    case 0xDD:
      return ']';
    case 0xDE:
      return '\'';
    default:
      return 0;
  }
}

}  // namespace gndfit
