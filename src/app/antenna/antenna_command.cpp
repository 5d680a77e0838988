// SPDX-License-Identifier: MIT
#include "app/antenna/antenna_command.hpp"

#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "antenna/antenna_study.hpp"
#include "app/antenna/antenna_outputs.hpp"
#include "app/antenna/nec2c_runner.hpp"
#include "app/common/input_files.hpp"
#include "app/common/single_measurement.hpp"
#include "app/common/text_output.hpp"
#include "model/band_values.hpp"
#include "number/shortest.hpp"

namespace gndfit {
namespace {

// The deck read and checked; false after reporting why not, with the
// run's status.
bool load_deck(const CommandLine& line, NecDeck& deck, int& status) {
  InputFiles file;
  if (const std::optional<Failure> failure = file.open({line.antenna_deck})) {
    status = report_failure(*failure);
    return false;
  }
  std::string text;
  unsigned char piece[1 << 14];
  while (const std::size_t n = file.read(piece, sizeof piece)) {
    text.append(reinterpret_cast<const char*>(piece), n);
  }
  if (file.failure()) {
    status = report_failure(*file.failure());
    return false;
  }
  NecDeckError refusal;
  if (!read_nec_deck(text, deck, refusal)) {
    // A fault of the whole deck names the deck; one of a card, its line.
    status = refusal.line > 0
                 ? report_failure({Location{line.antenna_deck, refusal.line}, refusal.reason})
                 : report_failure(
                       {Location{""}, source_name(line.antenna_deck) + ": " + refusal.reason});
    return false;
  }
  for (const std::string& m : deck.ignored) {
    std::cerr << "gndfit: " << source_name(line.antenna_deck) << ": its " << m
              << " cards are left out of the runs\n";
  }
  return true;
}

// Runs the study and writes it; the exit status.
int study_and_write(const CommandLine& line, const NecDeck& deck,
                    const std::vector<GroundAt>& grounds, const AntennaHeading& heading) {
  const Nec2cRunner runner;
  if (!runner.ready()) {
    std::cerr << "gndfit: " << runner.error() << '\n';
    return 1;
  }
  const NecRun run = [&runner](std::size_t job, std::string_view text, std::string& output,
                               std::string& error) { return runner.run(job, text, output, error); };
  const AntennaStudy study =
      study_antenna(deck, grounds, line.elevations, run, std::thread::hardware_concurrency());
  if (!study.error.empty()) {
    std::cerr << "gndfit: " << study.error << '\n';
    return 1;
  }
  write_antenna(std::cout, line.joint_output, heading, study.bands, line.elevations);
  return flush_standard_output();
}

}  // namespace

int run_antenna(const CommandLine& line) {
  const SingleMeasurement single = read_single_measurement(line, "--antenna without --joint");
  if (!single.found) return single.status;
  NecDeck deck;
  int status = 0;
  if (!load_deck(line, deck, status)) return status;
  FitState fit;
  std::vector<GroundAt> grounds;
  for (const BandValues& b : fit_and_evaluate(fit, single.measurement, output_frequencies(line))) {
    GroundAt g;
    g.frequency_mhz = frequency_as_written(b.band_mhz);
    // The singles as the doubles of their shortest texts, so that the
    // outputs show 13.1 and not 13.100000381469727.
    g.permittivity = frequency_as_written(b.model.permittivity);
    g.conductivity_ms = frequency_as_written(b.model.conductivity_ms);
    // The cards carry the singles the table and --nec show.
    g.cards = {shortest(b.model.permittivity),
               shortest(static_cast<double>(b.model.conductivity_ms) / 1000.0),
               shortest(b.band_mhz)};
    grounds.push_back(g);
  }
  const int written = study_and_write(line, deck, grounds, {line.antenna_deck, 1, false, false});
  return written != 0 ? written : single.skipped_any ? 1 : 0;
}

int run_joint_antenna(const CommandLine& line, const JointSolution& solution) {
  NecDeck deck;
  int status = 0;
  if (!load_deck(line, deck, status)) return status;
  std::vector<GroundAt> grounds;
  for (const JointBand& b : solution.bands) {
    GroundAt g;
    g.frequency_mhz = b.frequency_mhz;
    g.permittivity = b.estimate.value.permittivity;
    g.conductivity_ms = b.estimate.value.conductivity_ms;
    g.has_covariance = solution.fit.covariance_present;
    g.permittivity_var = b.estimate.permittivity_sd * b.estimate.permittivity_sd;
    g.conductivity_var = b.estimate.conductivity_sd_ms * b.estimate.conductivity_sd_ms;
    g.covariance =
        b.estimate.correlation * b.estimate.permittivity_sd * b.estimate.conductivity_sd_ms;
    g.cards = {shortest(g.permittivity), shortest(g.conductivity_ms / 1000.0),
               shortest(g.frequency_mhz)};
    grounds.push_back(g);
  }
  for (const JointWarning& w : solution.warnings) {
    std::cerr << "gndfit: warning: " << w.code << ": " << w.text << '\n';
  }
  return study_and_write(
      line, deck, grounds,
      {line.antenna_deck, solution.measurements.size(), true, solution.weighted});
}

}  // namespace gndfit
