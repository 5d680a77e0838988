// SPDX-License-Identifier: MIT
#include "app/common/text_output.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/binary_streams.hpp"

namespace gndfit {

int report_failure(const Failure& failure) {
  const char* hint = failure.status == kUsageStatus ? " (try 'gndfit --help')" : "";
  std::fprintf(stderr, "gndfit: %s%s\n", failure_text(failure).c_str(), hint);
  return failure.status;
}

int usage_error(const std::string& message) { return report_failure(usage_failure(message)); }

int print_text(const std::string& text) {
  // A text longer than the stream's buffer is written as it goes, so a
  // failed write shows in fputs's result or the error flag, not only in
  // the flush.
  const bool written = std::fputs(text.c_str(), stdout) >= 0;
  if (std::fflush(stdout) != 0 || !written || std::ferror(stdout)) {
    std::fprintf(stderr, "gndfit: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}

bool open_input_files(const CommandLine& line, InputFiles& files) {
  const std::optional<Failure> failure = files.open(line.files);
  if (!failure) return true;
  report_failure(*failure);
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
  if (files.failure()) return report_failure(*files.failure());
  if (flush_standard_output() != 0) return 1;
  return skipped ? 1 : 0;
}

}  // namespace gndfit
