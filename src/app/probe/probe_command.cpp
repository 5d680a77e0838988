// SPDX-License-Identifier: MIT
#include "app/probe/probe_command.hpp"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/input_files.hpp"
#include "app/common/text_output.hpp"
#include "app/joint/joint_command.hpp"
#include "app/probe/probe_output.hpp"
#include "sweep/probe_conversion.hpp"

namespace gndfit {
namespace {

// A sweep file's whole text, or why it cannot be read to its end.
Outcome<std::string> read_sweep_text(InputFiles& file) {
  std::string text;
  unsigned char piece[1 << 16];
  while (const std::size_t n = file.read(piece, sizeof piece)) {
    text.append(reinterpret_cast<const char*>(piece), n);
  }
  if (file.failure()) return *file.failure();
  return text;
}

}  // namespace

// Every sweep read and converted first; then the CSV, or only the error.
int run_probe(const CommandLine& line) {
  std::vector<std::string> names =
      line.files.empty() ? std::vector<std::string>{std::string(kStandardInput)} : line.files;
  const bool has_air = !line.probe.air_file.empty();
  const bool has_liquid = !line.probe.liquid_file.empty();
  if (has_liquid) names.insert(names.begin(), line.probe.liquid_file);
  if (has_air) names.insert(names.begin(), line.probe.air_file);
  std::vector<std::unique_ptr<InputFiles>> files;
  for (const std::string& name : names) {  // all opened before any is read
    files.push_back(std::make_unique<InputFiles>());
    if (const std::optional<Failure> failure = files.back()->open({name})) {
      return report_failure(*failure);
    }
  }
  std::vector<SweepSource> sources;
  for (std::size_t i = 0; i < names.size(); ++i) {
    Outcome<std::string> text = read_sweep_text(*files[i]);
    if (text.failed()) return report_failure(text.failure());
    sources.push_back({names[i], std::move(text.value())});
  }
  // The reference sweeps first: the air's, then the liquid's.
  const SweepSource* air = has_air ? &sources[0] : nullptr;
  const SweepSource* liquid = has_liquid ? &sources[1] : nullptr;
  const std::size_t references = (has_air ? 1 : 0) + (has_liquid ? 1 : 0);
  const std::vector<SweepSource> sweeps(sources.begin() + static_cast<std::ptrdiff_t>(references),
                                        sources.end());
  std::vector<std::string> notes;
  const ProbePoints points = convert_probe_sweeps(line.probe, sweeps, air, notes, liquid);
  start_text_output();
  for (const std::string& note : notes) std::cerr << "gndfit: " << note << '\n';
  if (points.failed()) return report_failure(points.failure());
  const bool with_uncertainties = line.probe.u_gamma > 0.0;
  if (line.joint) {
    return fit_and_write_joint(line, joint_input_of(points.value(), with_uncertainties));
  }
  write_probe_csv(std::cout, points.value(), with_uncertainties);
  return flush_standard_output();
}

}  // namespace gndfit
