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

// The console program on `device`; the number of tables it showed.
long run_console(int argc, char** argv, ConsoleDevice& device) {
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
  return program.tables_shown();
}

// Input read in batch (neither a console's keys nor typed at a terminal)
// that gave no table at all is most likely not measurements: said on
// standard error, status 1.  The output is left as it is.
int batch_status(ConsoleDevice& device, long tables_shown) {
  if (tables_shown > 0 || device.input_is_console() || device.stdin_is_typed()) return 0;
  return report_failure({Location{""}, "no measurement in the input"});
}

}  // namespace

int run_interactive(int argc, char** argv) {
  const auto device = make_native_console();
  const long shown = run_console(argc, argv, *device);
  return batch_status(*device, shown);
}

int run_files(const CommandLine& line, int argc, char** argv) {
  InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  use_binary_standard_streams();
  const auto device = make_batch_console(
      [&files](unsigned char* bytes, std::size_t count) { return files.read(bytes, count); });
  const long shown = run_console(argc, argv, *device);
  if (!files.failure()) return batch_status(*device, shown);
  return report_failure(*files.failure());
}

}  // namespace gndfit
