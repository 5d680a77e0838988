// SPDX-License-Identifier: MIT
#include "app/probe/probe_command.hpp"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/common/input_files.hpp"
#include "app/common/text_output.hpp"
#include "app/joint/joint_command.hpp"
#include "app/probe/probe_output.hpp"
#include "sweep/probe_conversion.hpp"

namespace gndfit {
namespace {

// A sweep file's whole text; false, with `failure` set, when it cannot be
// read to its end.
bool read_sweep_text(InputFiles& file, std::string& text, std::string& failure) {
  unsigned char piece[1 << 16];
  while (const std::size_t n = file.read(piece, sizeof piece)) {
    text.append(reinterpret_cast<const char*>(piece), n);
  }
  failure = file.failure();
  return failure.empty();
}

}  // namespace

// Every sweep read and converted first; then the CSV, or only the error.
int run_probe(const CommandLine& line) {
  std::vector<std::string> names = line.files.empty() ? std::vector<std::string>{"-"} : line.files;
  const bool has_air = !line.probe.air_file.empty();
  if (has_air) names.insert(names.begin(), line.probe.air_file);
  std::vector<std::unique_ptr<InputFiles>> files;
  for (const std::string& name : names) {  // all opened before any is read
    std::string error;
    files.push_back(std::make_unique<InputFiles>());
    if (!files.back()->open({name}, error)) return usage_error(error);
  }
  std::vector<SweepSource> sources;
  for (std::size_t i = 0; i < names.size(); ++i) {
    SweepSource source{names[i] == "-" ? "standard input" : names[i], {}};
    std::string failure;
    if (!read_sweep_text(*files[i], source.text, failure)) {
      std::fprintf(stderr, "gndfit: %s\n", failure.c_str());
      return 1;
    }
    sources.push_back(std::move(source));
  }
  const SweepSource* air = has_air ? &sources.front() : nullptr;
  const std::vector<SweepSource> sweeps(sources.begin() + (has_air ? 1 : 0), sources.end());
  const ProbeRun run = convert_probe_sweeps(line.probe, sweeps, air);
  start_text_output();
  for (const std::string& note : run.notes) std::cerr << "gndfit: " << note << '\n';
  if (run.failed) {
    std::cerr << "gndfit: " << run.error << '\n';
    return 1;
  }
  if (line.joint) return fit_and_write_joint(line, joint_input_of(run.points));
  write_probe_csv(std::cout, run.points);
  return flush_standard_output();
}

}  // namespace gndfit
