// SPDX-License-Identifier: MIT
// Terminal bytes through the key decoder in chunks, as they arrive from a
// terminal, with the waits between them: the first byte of each chunk gives
// its length, and every other wait gives up on an unfinished sequence.
#include <cstddef>
#include <cstdint>

#include "platform/terminal_keys.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gndfit::TerminalKeyDecoder decoder;
  gndfit::InputRecord record;
  bool give_up = false;
  std::size_t at = 0;
  while (at < size) {
    const std::size_t length = 1 + data[at++] % 16;
    const std::size_t piece = at + length <= size ? length : size - at;
    decoder.push(reinterpret_cast<const char*>(data) + at, piece);
    at += piece;
    while (decoder.next(record)) {
      if (!record.key_down || record.kind != gndfit::InputRecord::Kind::key) __builtin_trap();
    }
    if (give_up && decoder.waiting_for_more()) decoder.give_up_waiting();
    give_up = !give_up;
  }
  decoder.give_up_waiting();
  while (decoder.next(record)) {
  }
  if (decoder.waiting_for_more()) __builtin_trap();
  return 0;
}
