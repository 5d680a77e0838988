// SPDX-License-Identifier: MIT
#include "console/key_input.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "console/key_tables.hpp"
#include "support/memory_console.hpp"

namespace gndfit {
namespace {

using namespace key_state;

// Virtual-key codes of the keys used below.
constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_MENU = 0x12, VK_ESCAPE = 0x1B;
constexpr int VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
              VK_DOWN = 0x28, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_F1 = 0x70, VK_F11 = 0x7A,
              VK_F12 = 0x7B;

InputRecord key_event(bool down, std::uint8_t ch, int scan, int vk, std::uint32_t state,
                      int repeat = 1) {
  InputRecord r;
  r.kind = InputRecord::Kind::key;
  r.key_down = down;
  r.repeat_count = static_cast<std::uint16_t>(repeat);
  r.scan_code = static_cast<std::uint16_t>(scan);
  r.virtual_key = static_cast<std::uint16_t>(vk);
  r.ch = ch;
  r.control_state = state;
  return r;
}

class Keys : public ::testing::Test {
 protected:
  // One key pressed and released with the given modifiers held throughout.
  void press(std::uint8_t ch, int scan, int vk, std::uint32_t state = 0) {
    console.input.push_back(key_event(true, ch, scan, vk, state));
    console.input.push_back(key_event(false, ch, scan, vk, state));
  }
  std::vector<KeyCode> taken() {
    std::vector<KeyCode> codes;
    for (KeyCode c = keys.take_key(); c != kNoKey; c = keys.take_key()) codes.push_back(c);
    return codes;
  }
  using Codes = std::vector<KeyCode>;

  MemoryConsole console;
  KeyQueue queue;
  KeyInput keys{console, queue};
};

TEST_F(Keys, GreyNavigationKeysGiveTheirExtendedCodesWithOrWithoutShift) {
  struct Grey {
    int scan, vk;
    KeyCode code;
  };
  const Grey grey[] = {
      {0x4B, VK_LEFT, 0x4BFF},   {0x4D, VK_RIGHT, 0x4DFF}, {0x47, VK_HOME, 0x47FF},
      {0x4F, VK_END, 0x4FFF},    {0x48, VK_UP, 0x48FF},    {0x50, VK_DOWN, 0x50FF},
      {0x53, VK_DELETE, 0x53FF},
  };
  for (const Grey& g : grey) {
    press(0, g.scan, g.vk, enhanced);          // grey key
    press(0, g.scan, g.vk, enhanced | shift);  // Shift does not change it
    press(0, g.scan, g.vk, 0);                 // keypad with NumLock off
    EXPECT_EQ(taken(), (Codes{g.code, g.code, g.code})) << std::hex << g.code;
  }
}

TEST_F(Keys, CtrlAndAltChangeTheGreyKeysIntoOtherCodes) {
  press(0, 0x4B, VK_LEFT, enhanced | left_ctrl);
  press(0, 0x4B, VK_LEFT, enhanced | right_alt);
  press(0, 0x4B, VK_LEFT, left_ctrl);  // keypad 4 with NumLock off
  EXPECT_EQ(taken(), (Codes{0x73FF, 0x9BFF, 0x73FF}));
}

TEST_F(Keys, FunctionKeysWithEachModifier) {
  press(0, 0x3B, VK_F1);
  press(0, 0x3B, VK_F1, shift);
  press(0, 0x3B, VK_F1, left_ctrl);
  press(0, 0x3B, VK_F1, left_alt);
  press(0, 0x44, VK_F1 + 9, shift);  // Shift+F10
  press(0, 0x57, VK_F11);
  press(0, 0x58, VK_F12);
  press(0, 0x58, VK_F12, right_alt);
  EXPECT_EQ(taken(), (Codes{0x3BFF, 0x54FF, 0x5EFF, 0x68FF, 0x5DFF, 0x85FF, 0x86FF, 0x8CFF}));
}

TEST_F(Keys, CharactersAndControlKeys) {
  press('a', 0x1E, 'A');
  press('A', 0x1E, 'A', shift);
  press(1, 0x1E, 'A', left_ctrl);   // Ctrl+A
  press(26, 0x2C, 'Z', left_ctrl);  // Ctrl+Z
  press(13, 0x1C, VK_RETURN);
  press(27, 0x01, VK_ESCAPE);
  press(8, 0x0E, VK_BACK);
  press(9, 0x0F, VK_TAB);
  press(9, 0x0F, VK_TAB, shift);
  press(13, 0x1C, VK_RETURN, enhanced);  // keypad Enter
  EXPECT_EQ(taken(), (Codes{'a', 'A', 1, 26, 13, 27, 8, 9, 0x0FFF, 13}));
}

TEST_F(Keys, AltLettersGiveExtendedCodesButAltGrCharactersPassThrough) {
  press('q', 0x10, 'Q', left_alt);
  press('@', 0x10, 'Q', right_alt | left_ctrl);  // AltGr+Q on a German layout
  press('{', 0x08, '7', right_alt | left_ctrl);  // AltGr+7
  EXPECT_EQ(taken(), (Codes{0x10FF, '@', '{'}));
}

TEST_F(Keys, ScanCodesBeyondTheTablePassTheirByte) {
  press('x', 0x70, 0);
  press(0, 0x70, 0);
  EXPECT_EQ(taken(), (Codes{'x'}));
}

// Alt held while digits are typed on the keypad, then released.
void alt_keypad(MemoryConsole& console, std::initializer_list<int> digits) {
  const int kpad_scan[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
  console.input.push_back(key_event(true, 0, 0x38, VK_MENU, left_alt));
  for (int d : digits) {
    console.input.push_back(key_event(true, 0, kpad_scan[d], VK_NUMPAD0 + d, left_alt));
    console.input.push_back(key_event(false, 0, kpad_scan[d], VK_NUMPAD0 + d, left_alt));
  }
  console.input.push_back(key_event(false, 0, 0x38, VK_MENU, 0));
}

TEST_F(Keys, AltWithKeypadDigitsTypesTheCharacterCodeModulo256) {
  alt_keypad(console, {6, 5});
  EXPECT_EQ(taken(), (Codes{65}));
  alt_keypad(console, {3, 2, 1});
  EXPECT_EQ(taken(), (Codes{65}));
  alt_keypad(console, {0});
  EXPECT_EQ(taken(), Codes{});
  EXPECT_EQ(keys.pending_alt_code(), 0u);
}

TEST_F(Keys, AnotherKeyWithACodeDropsAPendingAltNumber) {
  console.input.push_back(key_event(true, 0, 0x38, VK_MENU, left_alt));
  console.input.push_back(key_event(true, 0, 0x4D, VK_NUMPAD0 + 6, left_alt));
  console.input.push_back(key_event(true, 'q', 0x10, 'Q', left_alt));
  console.input.push_back(key_event(false, 0, 0x38, VK_MENU, 0));
  EXPECT_EQ(taken(), (Codes{0x10FF}));
}

TEST_F(Keys, RepeatCountsOfKeyDownEvents) {
  console.input.push_back(key_event(true, 'x', 0x2D, 'X', 0, 3));
  console.input.push_back(key_event(true, 'y', 0x15, 'Y', 0, 0));
  EXPECT_EQ(taken(), (Codes{'x', 'x', 'x'}));
}

// A key event whose codes do not all fit stays in the console until they
// do; one with more repeats than the queue ever holds goes into an empty one.
TEST_F(Keys, AKeyEventWaitsInTheConsoleUntilAllItsCodesFit) {
  for (int i = 0; i < KeyQueue::kCapacity - 3; ++i) queue.push('a');
  console.input.push_back(key_event(true, 'x', 0x2D, 'X', 0, 3));
  keys.poll_console_input();
  EXPECT_EQ(console.input.size(), 1u);
  EXPECT_EQ(queue.size(), KeyQueue::kCapacity - 3);
  EXPECT_EQ(keys.take_key(), 'a');  // the take makes room, its poll moves the event
  EXPECT_TRUE(console.input.empty());
  EXPECT_EQ(queue.size(), KeyQueue::kCapacity - 1);

  while (keys.take_key() != kNoKey) {
  }
  console.input.push_back(key_event(true, 'y', 0x15, 'Y', 0, 600));
  console.input.push_back(key_event(true, 'z', 0x2C, 'Z', 0));
  keys.poll_console_input();
  EXPECT_EQ(queue.size(), KeyQueue::kCapacity - 1);
  EXPECT_EQ(console.input.size(), 1u);
}

TEST_F(Keys, EventsOtherThanKeysNeverGiveACode) {
  for (auto kind : {InputRecord::Kind::mouse, InputRecord::Kind::focus, InputRecord::Kind::menu,
                    InputRecord::Kind::window_size}) {
    InputRecord r = key_event(true, 'x', 0x2D, 'X', 0);
    r.kind = kind;
    console.input.push_back(r);
  }
  EXPECT_FALSE(keys.key_available());
  EXPECT_TRUE(console.input.empty());
}

TEST_F(Keys, RedirectedInputNeverQueuesAKey) {
  console.input_console = false;
  press('x', 0x2D, 'X');
  EXPECT_EQ(keys.take_key(), kNoKey);
}

TEST_F(Keys, TheFirstPollAloneRunsTheHook) {
  int runs = 0;
  keys.on_first_poll([&] { ++runs; });
  keys.take_key();
  keys.key_available();
  keys.take_key();
  EXPECT_EQ(runs, 1);
}

TEST(KeyQueueTest, AFullQueueDropsItsOldestCodes) {
  KeyQueue queue;
  for (int i = 0; i < 600; ++i) queue.push(i);
  EXPECT_EQ(queue.size(), 511);
  for (int i = 89; i < 600; ++i) ASSERT_EQ(queue.take(), i);
  EXPECT_EQ(queue.take(), kNoKey);
  EXPECT_TRUE(queue.empty());
}

// One thread pushes while another takes, as a control handler may push the
// close key while the main thread takes: every code taken is one that was
// pushed, in order, and the last one is never lost.
TEST(KeyQueueTest, ConcurrentPushAndTakeKeepTheQueueConsistent) {
  KeyQueue queue;
  constexpr int kCodes = 200000;
  std::thread pusher([&] {
    for (int i = 0; i < kCodes; ++i) queue.push(i);
  });
  KeyCode last = -1;
  int taken = 0;
  for (;;) {
    const KeyCode c = queue.take();
    if (c == kNoKey) {
      if (last == kCodes - 1) break;
      std::this_thread::yield();
      continue;
    }
    ASSERT_GT(c, last);
    ASSERT_LT(c, kCodes);
    last = c;
    ++taken;
  }
  pusher.join();
  EXPECT_EQ(last, kCodes - 1);
  EXPECT_GT(taken, 0);
}

// The extended codes of the scan-code table, written out as ranges of keys;
// every other entry of the table must have none.
TEST(KeyTables, ScanKeyTableHoldsExactlyTheseExtendedCodes) {
  std::uint16_t want[kLastScanCode + 1][4] = {};
  auto set = [&](int scan, int column, int k) {
    want[scan][column] = static_cast<std::uint16_t>(k << 8);
  };
  set(0x01, kAlt, 0x01);
  for (int s = 0x02; s <= 0x0D; ++s) set(s, kAlt, 0x78 + (s - 0x02));
  set(0x03, kCtrl, 0x03);
  set(0x0E, kAlt, 0xE0);
  set(0x0F, kShift, 0x0F), set(0x0F, kCtrl, 0x94), set(0x0F, kAlt, 0x0F);
  for (int s = 0x10; s <= 0x1C; ++s) set(s, kAlt, s);
  for (int s = 0x1E; s <= 0x29; ++s) set(s, kAlt, s);
  for (int s = 0x2C; s <= 0x35; ++s) set(s, kAlt, s);
  for (int s = 0x3B; s <= 0x44; ++s) {
    set(s, kPlain, s), set(s, kShift, 0x54 + (s - 0x3B));
    set(s, kCtrl, 0x5E + (s - 0x3B)), set(s, kAlt, 0x68 + (s - 0x3B));
  }
  const int keypad[][2] = {{0x47, 0x77}, {0x48, 0x8D}, {0x49, 0x84}, {0x4B, 0x73},
                           {0x4C, 0x8F}, {0x4D, 0x74}, {0x4F, 0x75}, {0x50, 0x91},
                           {0x51, 0x76}, {0x52, 0x92}, {0x53, 0x93}};
  for (const auto& k : keypad) set(k[0], kPlain, k[0]), set(k[0], kCtrl, k[1]);
  set(0x4C, kAlt, 0x4C);
  set(0x57, kPlain, 0x85), set(0x57, kShift, 0x87), set(0x57, kCtrl, 0x89), set(0x57, kAlt, 0x8B);
  set(0x58, kPlain, 0x86), set(0x58, kShift, 0x88), set(0x58, kCtrl, 0x8A), set(0x58, kAlt, 0x8C);

  for (int s = 0; s <= kLastScanCode; ++s) {
    for (int c = 0; c < 4; ++c) {
      const std::uint16_t got =
          ScanKeyTable[static_cast<std::size_t>(s)][static_cast<std::size_t>(c)];
      if (want[s][c] != 0)
        EXPECT_EQ(got, want[s][c]) << "scan " << s << " column " << c;
      else
        EXPECT_LT(got, 256) << "scan " << s << " column " << c;
    }
  }
}

}  // namespace
}  // namespace gndfit
