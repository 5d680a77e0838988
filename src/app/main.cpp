// SPDX-License-Identifier: MIT
// gndfit: fits a frequency-dependent ground model to one measurement at a
// time and shows it for the HF bands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "app/command_line.hpp"
#include "app/csv_writer.hpp"
#include "app/measurement_lines.hpp"
#include "app/nec_cards.hpp"
#include "app/input_files.hpp"
#include "app/probe_output.hpp"
#include "app/joint_command.hpp"
#include "app/program.hpp"
#include "platform/binary_streams.hpp"
#include "platform/fpu.hpp"
#include "platform/native_console.hpp"
#include "sweep/probe_conversion.hpp"

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

// Opens the command line's files before anything runs; false after
// reporting the one that cannot be opened as a usage error.
bool open_input_files(const gndfit::CommandLine& line, gndfit::InputFiles& files) {
  std::string error;
  if (files.open(line.files, error)) return true;
  usage_error(error);
  return false;
}

// --csv and --nec: the text goes through iostreams, bytes as they are.
void start_text_output() {
  gndfit::use_binary_standard_streams();
  std::ios::sync_with_stdio(false);
}

// The status of a text output run: 1 when an input could not be read to
// its end, the output not written, or a line skipped.
int finish_text_output(const gndfit::InputFiles& files, bool skipped) {
  if (!files.failure().empty()) {
    std::cerr << "gndfit: " << files.failure() << '\n';
    return 1;
  }
  if (!std::cout.flush()) {
    std::cerr << "gndfit: cannot write standard output: " << std::strerror(errno) << '\n';
    return 1;
  }
  return skipped ? 1 : 0;
}

int run_csv(const gndfit::CommandLine& line) {
  gndfit::InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  start_text_output();
  gndfit::CsvWriter writer(gndfit::output_frequencies(line), std::cout, std::cerr);
  writer.write_header();
  files.read_lines([&writer](std::string_view text) { writer.take_line(text); });
  return finish_text_output(files, writer.skipped_any());
}

// NEC-2 takes comment cards only at the top of a deck, so the cards are
// for exactly one measurement: none, or a second, is an error and nothing
// is written.
int run_nec(const gndfit::CommandLine& line) {
  gndfit::InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  start_text_output();
  std::vector<gndfit::Measurement> measurements;
  long second_line = 0;
  gndfit::MeasurementLines lines(std::cerr, [&](const gndfit::Measurement& m, long number) {
    if (measurements.size() == 1 && second_line == 0) second_line = number;
    measurements.push_back(m);
  });
  files.read_lines([&lines](std::string_view text) { lines.take_line(text); });
  if (!files.failure().empty()) return finish_text_output(files, false);
  if (measurements.empty()) {
    std::cerr << "gndfit: --nec needs one measurement; the input holds none\n";
    return 1;
  }
  if (measurements.size() > 1) {
    std::cerr << "gndfit: line " << second_line
              << ": --nec takes one measurement; this is a second one\n";
    return 1;
  }
  gndfit::FitState fit;
  gndfit::write_nec_cards(std::cout, gndfit::fit_and_evaluate(fit, measurements[0], line.frequencies));
  return finish_text_output(files, lines.skipped_any());
}

// A sweep file's whole text; false, with `failure` set, when it cannot be
// read to its end.
bool read_sweep_text(gndfit::InputFiles& file, std::string& text, std::string& failure) {
  unsigned char piece[1 << 16];
  while (const std::size_t n = file.read(piece, sizeof piece)) {
    text.append(reinterpret_cast<const char*>(piece), n);
  }
  failure = file.failure();
  return failure.empty();
}

// --probe: every sweep read and converted first; then the CSV, or only
// the error.
int run_probe(const gndfit::CommandLine& line) {
  std::vector<std::string> names = line.files.empty() ? std::vector<std::string>{"-"} : line.files;
  const bool has_air = !line.probe.air_file.empty();
  if (has_air) names.insert(names.begin(), line.probe.air_file);
  std::vector<std::unique_ptr<gndfit::InputFiles>> files;
  for (const std::string& name : names) {  // all opened before any is read
    std::string error;
    files.push_back(std::make_unique<gndfit::InputFiles>());
    if (!files.back()->open({name}, error)) return usage_error(error);
  }
  std::vector<gndfit::SweepSource> sources;
  for (std::size_t i = 0; i < names.size(); ++i) {
    gndfit::SweepSource source{names[i] == "-" ? "standard input" : names[i], {}};
    std::string failure;
    if (!read_sweep_text(*files[i], source.text, failure)) {
      std::fprintf(stderr, "gndfit: %s\n", failure.c_str());
      return 1;
    }
    sources.push_back(std::move(source));
  }
  const gndfit::SweepSource* air = has_air ? &sources.front() : nullptr;
  const std::vector<gndfit::SweepSource> sweeps(sources.begin() + (has_air ? 1 : 0), sources.end());
  const gndfit::ProbeRun run = gndfit::convert_probe_sweeps(line.probe, sweeps, air);
  start_text_output();
  for (const std::string& note : run.notes) std::cerr << "gndfit: " << note << '\n';
  if (run.failed) {
    std::cerr << "gndfit: " << run.error << '\n';
    return 1;
  }
  if (line.joint) return gndfit::fit_and_write_joint(line, gndfit::joint_input_of(run.points));
  gndfit::write_probe_csv(std::cout, run.points);
  if (!std::cout.flush()) {
    std::cerr << "gndfit: cannot write standard output: " << std::strerror(errno) << '\n';
    return 1;
  }
  return 0;
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
    case gndfit::RunMode::nec: return run_nec(line);
    case gndfit::RunMode::probe: return run_probe(line);
    case gndfit::RunMode::joint: return gndfit::run_joint(line);
    case gndfit::RunMode::files: {
      gndfit::InputFiles files;
      if (!open_input_files(line, files)) return kUsageError;
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
