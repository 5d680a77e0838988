// SPDX-License-Identifier: MIT
#include "app/program/console_command.hpp"

#include <cstdio>

#include "app/common/input_files.hpp"
#include "app/common/text_output.hpp"
#include "app/program/program.hpp"
#include "platform/binary_streams.hpp"
#include "platform/fpu.hpp"
#include "platform/native_console.hpp"

namespace gndfit {
namespace {

// The console program on `device`.
int run_console(int argc, char** argv, ConsoleDevice& device) {
  Program program(device);
  program.start_process(argc, argv);
  if (!extended_precision_selected()) {
    std::fputs("gndfit: cannot select 64-bit floating-point precision\n", stderr);
  }
  program.enter();
  while (program.run_pass()) {
  }
  program.end_run();
  program.exit_process();
  return 0;
}

}  // namespace

int run_interactive(int argc, char** argv) {
  const auto device = make_native_console();
  return run_console(argc, argv, *device);
}

int run_files(const CommandLine& line, int argc, char** argv) {
  InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  use_binary_standard_streams();
  const auto device = make_batch_console(
      [&files](unsigned char* bytes, std::size_t count) { return files.read(bytes, count); });
  run_console(argc, argv, *device);
  if (files.failure().empty()) return 0;
  std::fprintf(stderr, "gndfit: %s\n", files.failure().c_str());
  return 1;
}

}  // namespace gndfit
