// SPDX-License-Identifier: MIT
// Any contents of gndfit.ini: the position read is the first four bytes
// (missing high bytes zero), and a save writes exactly four bytes at the
// start and leaves every later byte as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/position_file.hpp"
#include "platform/runtime.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/gndfit_fuzz_position_" + std::to_string(getpid()) + ".ini";
  const std::string contents(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;

  gndfit::Runtime runtime;
  gndfit::PositionFile file(runtime, path);
  file.open();
  std::uint32_t expected = 0;
  for (std::size_t i = 0; i < size && i < 4; ++i) expected |= std::uint32_t{data[i]} << (8 * i);
  if (static_cast<std::uint32_t>(file.read_position()) != expected) __builtin_trap();
  file.save_and_close(gndfit::pack_position(-3, 700));

  std::ifstream in(path, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string packed("\xfd\xff\xbc\x02", 4);
  if (after.substr(0, 4) != packed) __builtin_trap();
  if (size > 4 && after.substr(4) != contents.substr(4)) __builtin_trap();
  if (after.size() != (size > 4 ? size : 4)) __builtin_trap();
  std::remove(path.c_str());
  return 0;
}
