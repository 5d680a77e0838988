// SPDX-License-Identifier: MIT
#include "app/common/text_output.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/binary_streams.hpp"

namespace gndfit {

int usage_error(const std::string& message) {
  std::fprintf(stderr, "gndfit: %s (try 'gndfit --help')\n", message.c_str());
  return kUsageError;
}

int print_text(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "gndfit: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}

bool open_input_files(const CommandLine& line, InputFiles& files) {
  std::string error;
  if (files.open(line.files, error)) return true;
  usage_error(error);
  return false;
}

void start_text_output() {
  use_binary_standard_streams();
  std::ios::sync_with_stdio(false);
}

int flush_standard_output() {
  if (std::cout.flush()) return 0;
  std::cerr << "gndfit: cannot write standard output: " << std::strerror(errno) << '\n';
  return 1;
}

int finish_text_output(const InputFiles& files, bool skipped) {
  if (!files.failure().empty()) {
    std::cerr << "gndfit: " << files.failure() << '\n';
    return 1;
  }
  if (flush_standard_output() != 0) return 1;
  return skipped ? 1 : 0;
}

}  // namespace gndfit
