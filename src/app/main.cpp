// gndfit: fits a frequency-dependent ground model to one measurement at a
// time and shows it for the HF bands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "app/band_table.hpp"
#include "app/command_line.hpp"
#include "app/csv_output.hpp"
#include "app/input_files.hpp"
#include "app/program.hpp"
#include "platform/binary_streams.hpp"
#include "platform/fpu.hpp"
#include "platform/native_console.hpp"

namespace {

constexpr int kUsageError = 2;

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

// --csv: every input opened first, so that a wrong name is a usage error
// before any output; then the lines of each in turn.
int run_csv(const gndfit::CommandLine& line) {
  std::vector<std::unique_ptr<std::ifstream>> files;
  std::vector<std::istream*> inputs;
  for (const std::string& name : line.files) {
    if (name == "-") {
      inputs.push_back(&std::cin);
      continue;
    }
    auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
    if (!*file) return usage_error("cannot open '" + name + "': " + std::strerror(errno));
    inputs.push_back(file.get());
    files.push_back(std::move(file));
  }
  if (inputs.empty()) inputs.push_back(&std::cin);
  const std::span<const float> bands =
      line.frequencies.empty() ? std::span<const float>(gndfit::kBandTable) : line.frequencies;
  gndfit::use_binary_standard_streams();
  std::ios::sync_with_stdio(false);
  gndfit::CsvWriter writer(bands, std::cout, std::cerr);
  writer.write_header();
  for (std::istream* in : inputs) {
    writer.take_stream(*in);
    if (in->bad()) {
      std::cerr << "gndfit: cannot read input\n";
      return 1;
    }
  }
  if (!std::cout.flush()) {
    std::cerr << "gndfit: cannot write standard output: " << std::strerror(errno) << '\n';
    return 1;
  }
  return writer.skipped_any() ? 1 : 0;
}

// The console program on `device`; FILEs make it batch use with their
// contents as the input.
int run_console(int argc, char** argv, gndfit::ConsoleDevice& device) {
  gndfit::Program program(device);
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

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const gndfit::CommandLine line = gndfit::parse_command_line(arguments);
  switch (line.mode) {
    case gndfit::RunMode::help: return print_text(gndfit::usage_text());
    case gndfit::RunMode::version: return print_text(gndfit::version_text());
    case gndfit::RunMode::error: return usage_error(line.error);
    case gndfit::RunMode::csv: return run_csv(line);
    case gndfit::RunMode::files: {
      gndfit::InputFiles files;
      std::string error;
      if (!files.open(line.files, error)) return usage_error(error);
      gndfit::use_binary_standard_streams();
      const auto device = gndfit::make_batch_console(
          [&files](unsigned char* bytes, std::size_t count) { return files.read(bytes, count); });
      run_console(argc, argv, *device);
      if (files.failure().empty()) return 0;
      std::fprintf(stderr, "gndfit: %s\n", files.failure().c_str());
      return 1;
    }
    case gndfit::RunMode::interactive: break;
  }
  const auto device = gndfit::make_native_console();
  return run_console(argc, argv, *device);
}
