// SPDX-License-Identifier: MIT
// A picture and a value through the mask formatter.  Writing one value at a
// time and composing a row in one buffer must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "console/numeric_mask.hpp"
#include "console/text_screen.hpp"
#include "support/memory_console.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double value = 0;
  std::memcpy(&value, data, sizeof value);
  const std::string_view picture(reinterpret_cast<const char*>(data) + sizeof value,
                                 size - sizeof value);
  gndfit::MemoryConsole console = gndfit::MemoryConsole::redirected();
  gndfit::TextScreen screen(console);
  gndfit::NumericMask mask(screen);

  mask.begin_mask(picture);
  mask.format_double(0, value, 0);
  mask.end_mask(0);

  const auto single = static_cast<float>(value);
  console.raw_output.clear();
  mask.begin_mask(picture);
  mask.format_single(0, single, 0);
  mask.end_mask(0);
  std::string row;
  gndfit::NumericMask row_mask(screen);
  row_mask.append_single(row, picture, single);
  if (row != console.raw_output) __builtin_trap();
  return 0;
}
