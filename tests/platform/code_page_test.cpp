// SPDX-License-Identifier: MIT
#include "platform/code_page.hpp"

#include <gtest/gtest.h>

#include <string>

namespace gndfit {
namespace {

std::string decoded(Utf8ToCp437& d, const std::string& utf8, int* dropped = nullptr) {
  std::string out;
  const int n = d.push(utf8.data(), utf8.size(), out);
  if (dropped) *dropped = n;
  return out;
}

// Characters of CP437 as the code page defines them.
TEST(CodePage, KnownCharactersOfCp437) {
  struct Known {
    unsigned char byte;
    std::uint32_t unicode;
  };
  const Known known[] = {{0x41, 'A'},    {0x80, 0x00C7}, {0x82, 0x00E9}, {0x9B, 0x00A2},
                         {0xA4, 0x00F1}, {0xB0, 0x2591}, {0xC4, 0x2500}, {0xE1, 0x00DF},
                         {0xE3, 0x03C0}, {0xF8, 0x00B0}, {0xFD, 0x00B2}, {0xFF, 0x00A0}};
  for (const Known& k : known) {
    EXPECT_EQ(cp437_to_unicode(k.byte), k.unicode) << int{k.byte};
    EXPECT_EQ(unicode_to_cp437(k.unicode), int{k.byte}) << int{k.byte};
  }
  EXPECT_EQ(unicode_to_cp437(0x20AC), -1) << "no euro sign";
}

TEST(CodePage, EveryByteShownAsUtf8IsTypedBackAsItself) {
  for (int b = 0; b < 256; ++b) {
    std::string utf8;
    append_utf8(cp437_to_unicode(static_cast<unsigned char>(b)), utf8);
    Utf8ToCp437 d;
    EXPECT_EQ(decoded(d, utf8), std::string(1, static_cast<char>(b))) << b;
  }
}

TEST(CodePage, ASequenceSplitBetweenReadsIsJoined) {
  Utf8ToCp437 d;
  EXPECT_EQ(decoded(d, "a\xC3"), "a");
  EXPECT_EQ(decoded(d,
                    "\xA9"
                    "b"),
            "\x82"
            "b");  // é
  EXPECT_EQ(decoded(d, "\xE2\x94"), "");
  EXPECT_EQ(decoded(d, "\x80"), "\xC4");  // ─ in three reads
}

TEST(CodePage, InvalidUtf8IsDroppedAndMissingCharactersCounted) {
  Utf8ToCp437 d;
  int dropped = 0;
  EXPECT_EQ(decoded(d,
                    "\xC3"
                    "A",
                    &dropped),
            "A")
      << "a sequence cut short";
  EXPECT_EQ(decoded(d, "\x80\xFF\xC0\x80x", &dropped), "x") << "stray, impossible, overlong";
  EXPECT_EQ(dropped, 0);
  EXPECT_EQ(decoded(d, "\xED\xA0\x80y", &dropped), "y") << "a surrogate";
  EXPECT_EQ(decoded(d,
                    "1\xE2\x82\xAC"
                    "2\xF0\x9F\x98\x80",
                    &dropped),
            "12");
  EXPECT_EQ(dropped, 2) << "the euro sign and an emoji have no CP437 byte";
}

}  // namespace
}  // namespace gndfit
