// SPDX-License-Identifier: MIT
#pragma once
// The program's characters are single bytes of one code page, CP437 (the
// code page of a console set up for the US).  A UTF-8 terminal types and
// shows Unicode: typed UTF-8 is decoded to CP437 bytes, and CP437 bytes are
// shown as their UTF-8 characters.  In a locale that is not UTF-8 bytes
// pass as they are both ways.
#include <cstdint>
#include <string>

namespace gndfit {

// The Unicode character of a CP437 byte (ASCII below 128).
std::uint32_t cp437_to_unicode(unsigned char byte);
// The CP437 byte for a Unicode character, or -1 when CP437 has none.
int unicode_to_cp437(std::uint32_t code_point);
void append_utf8(std::uint32_t code_point, std::string& out);

// UTF-8 bytes as they arrive into CP437 bytes.  A sequence split between
// two pushes is joined; an invalid one is dropped; a character CP437 lacks
// is dropped and counted, so the caller can beep.
class Utf8ToCp437 {
 public:
  // Appends the decoded bytes to `out`; returns how many characters were
  // dropped for want of a CP437 byte.
  int push(const char* bytes, std::size_t count, std::string& out);

 private:
  std::uint32_t code_point_ = 0;
  int needed_ = 0;  // continuation bytes still to come
  int length_ = 0;  // of the sequence being read
};

}  // namespace gndfit
