// SPDX-License-Identifier: MIT
#include "platform/terminal_keys.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/key_input.hpp"
#include "support/memory_console.hpp"

namespace gndfit {
namespace {

// Bytes typed at a terminal, through the decoder and the key layer, into
// the key codes the line editor sees.
std::vector<KeyCode> codes_of(const std::string& bytes, bool give_up = true) {
  TerminalKeyDecoder decoder;
  decoder.push(bytes.data(), bytes.size());
  if (give_up) decoder.give_up_waiting();
  MemoryConsole console;
  InputRecord r;
  while (decoder.next(r)) console.input.push_back(r);
  KeyQueue queue;
  KeyInput keys(console, queue);
  std::vector<KeyCode> codes;
  for (KeyCode c = keys.take_key(); c != kNoKey; c = keys.take_key()) codes.push_back(c);
  return codes;
}

using Codes = std::vector<KeyCode>;

TEST(TerminalKeys, TypedCharactersAndControlKeys) {
  struct Case {
    std::string bytes;
    Codes codes;
  };
  const Case cases[] = {
      {"10 15.5,5", {'1', '0', ' ', '1', '5', '.', '5', ',', '5'}},
      {"Aa!~", {'A', 'a', '!', '~'}},
      {"\r", {13}},
      {"\n", {10}},
      {"\t", {9}},
      {"\x7f", {8}},
      {"\x08", {8}},
      {"\x01\x1a", {1, 26}},
      {std::string(1, '\0'), {}},
      {"\xe9", {0xE9}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(codes_of(c.bytes), c.codes) << testing::PrintToString(c.bytes);
}

TEST(TerminalKeys, EditingKeysInTheirSeveralSpellings) {
  struct Case {
    std::string bytes;
    KeyCode code;
  };
  const Case cases[] = {
      {"\x1b[A", 0x48FF},    {"\x1b[B", 0x50FF},  {"\x1b[C", 0x4DFF},    {"\x1b[D", 0x4BFF},
      {"\x1bOA", 0x48FF},    {"\x1bOD", 0x4BFF},  {"\x1b[H", 0x47FF},    {"\x1b[F", 0x4FFF},
      {"\x1bOH", 0x47FF},    {"\x1bOF", 0x4FFF},  {"\x1b[1~", 0x47FF},   {"\x1b[4~", 0x4FFF},
      {"\x1b[7~", 0x47FF},   {"\x1b[8~", 0x4FFF}, {"\x1b[3~", 0x53FF},   {"\x1b[2~", 0x52FF},
      {"\x1b[5~", 0x49FF},   {"\x1b[6~", 0x51FF}, {"\x1b[1;2D", 0x4BFF},  // Shift+Left is Left
      {"\x1b[1;5D", 0x73FF},                                              // Ctrl+Left
      {"\x1b[1;3D", 0x9BFF},                                              // Alt+Left
      {"\x1b[3;5~", 0x93FF},                                              // Ctrl+Delete
      {"\x1b[Z", 0x0FFF},                                                 // Shift+Tab
  };
  for (const Case& c : cases)
    EXPECT_EQ(codes_of(c.bytes), Codes{c.code}) << testing::PrintToString(c.bytes);
}

TEST(TerminalKeys, FunctionKeysWithModifiers) {
  EXPECT_EQ(codes_of("\x1bOP\x1bOS\x1b[15~\x1b[21~\x1b[23~\x1b[24~"),
            (Codes{0x3BFF, 0x3EFF, 0x3FFF, 0x44FF, 0x85FF, 0x86FF}));
  EXPECT_EQ(codes_of("\x1b[1;2P\x1b[1;5P\x1b[1;3P\x1b[24;2~"),
            (Codes{0x54FF, 0x5EFF, 0x68FF, 0x88FF}));
}

TEST(TerminalKeys, EscapeThenAKeyIsThatKeyWithAlt) {
  EXPECT_EQ(codes_of("\x1bq\x1bQ\x1b"
                     "1\x1b\x1b"),
            (Codes{0x10FF, 0x10FF, 0x78FF, 0x01FF}));
}

TEST(TerminalKeys, ALoneEscapeWaitsThenIsTheEscKey) {
  TerminalKeyDecoder decoder;
  decoder.push("\x1b", 1);
  InputRecord r;
  EXPECT_FALSE(decoder.next(r));
  EXPECT_TRUE(decoder.waiting_for_more());
  decoder.give_up_waiting();
  ASSERT_TRUE(decoder.next(r));
  EXPECT_EQ(r.ch, 27);
  EXPECT_EQ(codes_of("\x1b"), Codes{27});
  EXPECT_EQ(codes_of("\x1b[", true), Codes{0x1AFF}) << "Alt+[";
}

TEST(TerminalKeys, ASequenceSplitAcrossReadsIsOneKey) {
  TerminalKeyDecoder decoder;
  InputRecord r;
  decoder.push("\x1b[", 2);
  EXPECT_FALSE(decoder.next(r));
  decoder.push("1;", 2);
  EXPECT_FALSE(decoder.next(r));
  decoder.push("5Cx", 3);
  ASSERT_TRUE(decoder.next(r));
  EXPECT_EQ(r.scan_code, 0x4D);
  EXPECT_EQ(r.control_state & key_state::left_ctrl, key_state::left_ctrl);
  ASSERT_TRUE(decoder.next(r));
  EXPECT_EQ(r.ch, 'x');
}

TEST(TerminalKeys, UnknownAndOverlongSequencesAreDroppedWithoutLosingWhatFollows) {
  EXPECT_EQ(codes_of("\x1b[99~a\x1b[Xb"), (Codes{'a', 'b'}));
  EXPECT_EQ(codes_of("\x1b[" + std::string(40, '1') + "~c"), Codes{'c'});
}

}  // namespace
}  // namespace gndfit
