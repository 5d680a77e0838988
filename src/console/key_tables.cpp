// SPDX-License-Identifier: MIT
#include "console/key_tables.hpp"

namespace gndfit {
namespace {
constexpr std::uint16_t K(int extended_code) {
  return static_cast<std::uint16_t>(extended_code << 8);
}
}  // namespace

// clang-format off
const std::array<std::array<std::uint16_t, 4>, kLastScanCode + 1> ScanKeyTable = {{
    //  plain    Shift     Ctrl      Alt
    {       0,       0,       0,       0},  // 0x00 (none)
    {       0,       0,       0, K(0x01)},  // 0x01 Esc
    {       0,       0,       0, K(0x78)},  // 0x02 1
    {       0,       0, K(0x03), K(0x79)},  // 0x03 2
    {       0,       0,       0, K(0x7A)},  // 0x04 3
    {       0,       0,       0, K(0x7B)},  // 0x05 4
    {       0,       0,       0, K(0x7C)},  // 0x06 5
    {       0,       0,       0, K(0x7D)},  // 0x07 6
    {       0,       0,       0, K(0x7E)},  // 0x08 7
    {       0,       0,       0, K(0x7F)},  // 0x09 8
    {       0,       0,       0, K(0x80)},  // 0x0A 9
    {       0,       0,       0, K(0x81)},  // 0x0B 0
    {       0,       0,       0, K(0x82)},  // 0x0C -
    {       0,       0,       0, K(0x83)},  // 0x0D =
    {       0,       0,       0, K(0xE0)},  // 0x0E Backspace
    {       0, K(0x0F), K(0x94), K(0x0F)},  // 0x0F Tab
    {       0,       0,       0, K(0x10)},  // 0x10 Q
    {       0,       0,       0, K(0x11)},  // 0x11 W
    {       0,       0,       0, K(0x12)},  // 0x12 E
    {       0,       0,       0, K(0x13)},  // 0x13 R
    {       0,       0,       0, K(0x14)},  // 0x14 T
    {       0,       0,       0, K(0x15)},  // 0x15 Y
    {       0,       0,       0, K(0x16)},  // 0x16 U
    {       0,       0,       0, K(0x17)},  // 0x17 I
    {       0,       0,       0, K(0x18)},  // 0x18 O
    {       0,       0,       0, K(0x19)},  // 0x19 P
    {       0,       0,       0, K(0x1A)},  // 0x1A [
    {       0,       0,       0, K(0x1B)},  // 0x1B ]
    {       0,       0,       0, K(0x1C)},  // 0x1C Enter
    {       0,       0,       0,       0},  // 0x1D Ctrl
    {       0,       0,       0, K(0x1E)},  // 0x1E A
    {       0,       0,       0, K(0x1F)},  // 0x1F S
    {       0,       0,       0, K(0x20)},  // 0x20 D
    {       0,       0,       0, K(0x21)},  // 0x21 F
    {       0,       0,       0, K(0x22)},  // 0x22 G
    {       0,       0,       0, K(0x23)},  // 0x23 H
    {       0,       0,       0, K(0x24)},  // 0x24 J
    {       0,       0,       0, K(0x25)},  // 0x25 K
    {       0,       0,       0, K(0x26)},  // 0x26 L
    {       0,       0,       0, K(0x27)},  // 0x27 ;
    {       0,       0,       0, K(0x28)},  // 0x28 '
    {       0,       0,       0, K(0x29)},  // 0x29 `
    {       0,       0,       0,       0},  // 0x2A left Shift
    {       0,       0,       0,       0},  // 0x2B backslash
    {       0,       0,       0, K(0x2C)},  // 0x2C Z
    {       0,       0,       0, K(0x2D)},  // 0x2D X
    {       0,       0,       0, K(0x2E)},  // 0x2E C
    {       0,       0,       0, K(0x2F)},  // 0x2F V
    {       0,       0,       0, K(0x30)},  // 0x30 B
    {       0,       0,       0, K(0x31)},  // 0x31 N
    {       0,       0,       0, K(0x32)},  // 0x32 M
    {       0,       0,       0, K(0x33)},  // 0x33 ,
    {       0,       0,       0, K(0x34)},  // 0x34 .
    {       0,       0,       0, K(0x35)},  // 0x35 /
    {       0,       0,       0,       0},  // 0x36 right Shift
    {       0,       0,       0,       0},  // 0x37 keypad *
    {       0,       0,       0,       0},  // 0x38 Alt
    {       0,       0,       0,       0},  // 0x39 Space
    {       0,       0,       0,       0},  // 0x3A Caps Lock
    { K(0x3B), K(0x54), K(0x5E), K(0x68)},  // 0x3B F1
    { K(0x3C), K(0x55), K(0x5F), K(0x69)},  // 0x3C F2
    { K(0x3D), K(0x56), K(0x60), K(0x6A)},  // 0x3D F3
    { K(0x3E), K(0x57), K(0x61), K(0x6B)},  // 0x3E F4
    { K(0x3F), K(0x58), K(0x62), K(0x6C)},  // 0x3F F5
    { K(0x40), K(0x59), K(0x63), K(0x6D)},  // 0x40 F6
    { K(0x41), K(0x5A), K(0x64), K(0x6E)},  // 0x41 F7
    { K(0x42), K(0x5B), K(0x65), K(0x6F)},  // 0x42 F8
    { K(0x43), K(0x5C), K(0x66), K(0x70)},  // 0x43 F9
    { K(0x44), K(0x5D), K(0x67), K(0x71)},  // 0x44 F10
    {       0,       0,       0,       0},  // 0x45 Num Lock
    {       0,       0,       0,       0},  // 0x46 Scroll Lock
    { K(0x47),       0, K(0x77),       0},  // 0x47 keypad 7 Home
    { K(0x48),       0, K(0x8D),       0},  // 0x48 keypad 8 Up
    { K(0x49),       0, K(0x84),       0},  // 0x49 keypad 9 PgUp
    {       0,       0,       0,       0},  // 0x4A keypad -
    { K(0x4B),       0, K(0x73),       0},  // 0x4B keypad 4 Left
    { K(0x4C),       0, K(0x8F), K(0x4C)},  // 0x4C keypad 5
    { K(0x4D),       0, K(0x74),       0},  // 0x4D keypad 6 Right
    {       0,       0,       0,       0},  // 0x4E keypad +
    { K(0x4F),       0, K(0x75),       0},  // 0x4F keypad 1 End
    { K(0x50),       0, K(0x91),       0},  // 0x50 keypad 2 Down
    { K(0x51),       0, K(0x76),       0},  // 0x51 keypad 3 PgDn
    { K(0x52),       0, K(0x92),       0},  // 0x52 keypad 0 Ins
    { K(0x53),       0, K(0x93),       0},  // 0x53 keypad . Del
    {       0,       0,       0,       0},  // 0x54 SysRq
    {       0,       0,       0,       0},  // 0x55 (none)
    {       0,       0,       0,       0},  // 0x56 102nd key
    { K(0x85), K(0x87), K(0x89), K(0x8B)},  // 0x57 F11
    { K(0x86), K(0x88), K(0x8A), K(0x8C)},  // 0x58 F12
}};

const std::array<EnhancedKey, 12> EnhancedKeyTable = {{
    {0x1C, {      13,       13,       10, K(0xA6)}},  // keypad Enter
    {0x35, {      47,       63, K(0x95), K(0xA4)}},  // keypad /
    {0x47, { K(0x47),  K(0x47), K(0x77), K(0x97)}},  // Home
    {0x48, { K(0x48),  K(0x48), K(0x8D), K(0x98)}},  // Up
    {0x49, { K(0x49),  K(0x49), K(0x84), K(0x99)}},  // PgUp
    {0x4B, { K(0x4B),  K(0x4B), K(0x73), K(0x9B)}},  // Left
    {0x4D, { K(0x4D),  K(0x4D), K(0x74), K(0x9D)}},  // Right
    {0x4F, { K(0x4F),  K(0x4F), K(0x75), K(0x9F)}},  // End
    {0x50, { K(0x50),  K(0x50), K(0x91), K(0xA0)}},  // Down
    {0x51, { K(0x51),  K(0x51), K(0x76), K(0xA1)}},  // PgDn
    {0x52, { K(0x52),  K(0x52), K(0x92), K(0xA2)}},  // Insert
    {0x53, { K(0x53),  K(0x53), K(0x93), K(0xA3)}},  // Delete
}};
// clang-format on

}  // namespace gndfit
