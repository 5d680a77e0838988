// gndfit: fits a frequency-dependent ground model to one measurement at a
// time and shows it for the HF bands.
#include <cstdio>

#include "app/program.hpp"
#include "platform/fpu.hpp"
#include "platform/native_console.hpp"

int main(int argc, char** argv) {
  const auto device = gndfit::make_native_console();
  gndfit::Program program(*device);
  program.start_process(argc, argv);
  if (!gndfit::extended_precision_selected()) {
    std::fputs("gndfit: cannot select 64-bit floating-point precision\n", stderr);
  }
  program.enter();
  while (program.run_pass()) {
  }
  program.end_run();
  program.exit_process();
  return 0;
}
