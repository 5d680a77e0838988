// SPDX-License-Identifier: MIT
#pragma once
// Bytes typed at a terminal into the console's key-event records, so that
// the key layer above turns them into the same key codes as at a Windows
// console.  Bytes go in as they arrive; a sequence that has only begun
// (an ESC, or ESC [ 1 ;) is kept until more bytes come or the caller
// decides that nothing more is coming.
//
// Sequences understood (xterm and its followers, VT220 editing keys):
//   ESC [ A B C D, ESC O A B C D        arrows; ESC [ 1 ; m A... with modifiers
//   ESC [ H F, ESC O H F, ESC [ 1~ 4~ 7~ 8~   Home, End
//   ESC [ 2~ 3~ 5~ 6~                  Insert, Delete, PgUp, PgDn (; m allowed)
//   ESC O P Q R S, ESC [ 11~ .. 15~     F1-F5; ESC [ 17~ .. 21~ F6-F10;
//   ESC [ 23~ 24~ F11, F12; ESC [ 1 ; m P..S  F1-F4 with modifiers
//   ESC [ Z                             Shift+Tab
//   ESC x                               Alt with the key x
// Modifier m is 1 + (Shift 1, Alt 2, Ctrl 4).  DEL (127) is Backspace.
#include <deque>
#include <string>

#include "platform/console_device.hpp"

namespace gndfit {

class TerminalKeyDecoder {
 public:
  void push(const char* bytes, std::size_t count);
  // The next complete key, as a key-down record; false when none is
  // complete (nothing left, or a sequence waits for more bytes).
  bool next(InputRecord& record);
  bool waiting_for_more() const { return !pending_.empty(); }
  // No more bytes are coming for now: what is pending is taken as typed
  // (a lone ESC is the Esc key, an unfinished sequence is dropped).
  void give_up_waiting();

 private:
  enum class Parse { key, need_more, invalid };
  Parse parse(std::size_t& used, InputRecord& record) const;
  Parse parse_csi(std::size_t& used, InputRecord& record) const;

  std::string pending_;
  std::deque<InputRecord> ready_;
};

}  // namespace gndfit
