// SPDX-License-Identifier: MIT
// The whole program in batch on the in-memory console: any standard input,
// read to its end, fitted and printed.  The output always starts with the
// heading and ends with a line end.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/program/program.hpp"
#include "support/memory_console.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/gndfit_fuzz_program_" + std::to_string(getpid()) + ".ini";
  gndfit::MemoryConsole console =
      gndfit::MemoryConsole::redirected(std::string(reinterpret_cast<const char*>(data), size));
  {
    gndfit::Program program(console, path);
    program.enter();
    while (program.run_pass()) {
    }
    program.end_run();
  }
  const std::string& out = console.raw_output;
  if (out.rfind("Gndfit ground constants\r\n", 0) != 0) __builtin_trap();
  if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) __builtin_trap();
  return 0;
}
