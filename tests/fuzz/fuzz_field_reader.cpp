// SPDX-License-Identifier: MIT
// Raw bytes as redirected standard input and as an edited line, read as
// the program reads a measurement: a double, then two singles.
#include <cstddef>
#include <cstdint>
#include <string>

#include "console/input_source.hpp"
#include "support/memory_console.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  gndfit::MemoryConsole console = gndfit::MemoryConsole::redirected(bytes);
  gndfit::InputSource input(console);
  input.use_stream();
  double frequency = 0;
  float permittivity = 0, conductivity = 0;
  // Each read takes at least one byte while any is left.
  for (std::size_t reads = 0; !input.stream_exhausted(); ++reads) {
    if (reads > size) __builtin_trap();
    input.read_double(frequency);
    input.read_single(permittivity);
    input.read_single(conductivity);
  }
  input.use_line(bytes);
  input.read_double(frequency);
  input.read_single(permittivity);
  input.read_single(conductivity);
  return 0;
}
