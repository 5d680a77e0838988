// SPDX-License-Identifier: MIT
#include "platform/code_page.hpp"

#include <array>

namespace gndfit {
namespace {

// CP437's upper half, 0x80 to 0xFF, as Unicode.
constexpr std::array<std::uint16_t, 128> kUpperHalf = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8
};

}  // namespace

std::uint32_t cp437_to_unicode(unsigned char byte) {
  return byte < 128 ? byte : kUpperHalf[byte - 128u];
}

int unicode_to_cp437(std::uint32_t code_point) {
  if (code_point < 128) return static_cast<int>(code_point);
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == code_point) return static_cast<int>(128 + i);
  }
  return -1;
}

void append_utf8(std::uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int Utf8ToCp437::push(const char* bytes, std::size_t count, std::string& out) {
  int dropped = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (needed_ > 0 && (b & 0xC0) == 0x80) {
      code_point_ = code_point_ << 6 | (b & 0x3Fu);
      if (--needed_ > 0) continue;
      // Overlong forms, surrogates and values past Unicode are invalid.
      static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
      const bool valid = code_point_ >= kLeast[length_] && code_point_ <= 0x10FFFF &&
                         (code_point_ < 0xD800 || code_point_ > 0xDFFF);
      if (!valid) continue;
      const int mapped = unicode_to_cp437(code_point_);
      if (mapped < 0) {
        ++dropped;
      } else {
        out += static_cast<char>(mapped);
      }
      continue;
    }
    needed_ = 0;  // a sequence cut short is dropped
    if (b < 0x80) {
      out += static_cast<char>(b);
    } else if ((b & 0xE0) == 0xC0) {
      code_point_ = b & 0x1Fu, needed_ = 1, length_ = 2;
    } else if ((b & 0xF0) == 0xE0) {
      code_point_ = b & 0x0Fu, needed_ = 2, length_ = 3;
    } else if ((b & 0xF8) == 0xF0) {
      code_point_ = b & 0x07u, needed_ = 3, length_ = 4;
    }  // else a stray continuation or invalid byte: dropped
  }
  return dropped;
}

}  // namespace gndfit
