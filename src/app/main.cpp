// gndfit: fits a frequency-dependent ground model to one measurement at a
// time and shows it for the HF bands.
#include <clocale>
#include <cstdio>

#include "app/program.hpp"
#include "platform/fpu.hpp"
#include "platform/posix_stream_console.hpp"

int main() {
  gndfit::select_extended_precision();
  if (!gndfit::extended_precision_selected()) {
    std::fputs("gndfit: cannot select 64-bit floating-point precision\n", stderr);
  }
  std::setlocale(LC_CTYPE, "");
  gndfit::PosixStreamConsole device;
  gndfit::Program program(device);
  program.enter();
  while (program.run_pass()) {
  }
  program.end_run();
  return 0;
}
