// SPDX-License-Identifier: MIT
#pragma once
// The command line: what gndfit is asked to do, read before anything runs.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ground_models.hpp"
#include "sweep/probe_setting.hpp"

namespace gndfit {

enum class RunMode {
  interactive,  // no arguments: the console program
  help,         // -h, --help: usage on standard output
  version,      // --version
  csv,          // --csv: machine-readable rows
  nec,          // --nec LIST: NEC-2 ground cards for one measurement
  files,        // FILE...: the tables, reading the files as batch input
  probe,        // --probe SPEC: analyser sweeps converted to ground points
  joint,        // --joint: one model fitted to all the measurements
  antenna,      // --antenna DECK: the deck run over one measurement's ground
  error,        // a usage error: `error` says what, exit status 2
};

// What --joint (and --antenna) writes: the report, --json, --csv or --nec.
enum class JointOutput { report, json, csv, nec };

struct CommandLine {
  RunMode mode = RunMode::interactive;
  JointOutput joint_output = JointOutput::report;
  bool joint = false;              // --joint (with --probe: the sweeps' points fitted)
  std::vector<std::string> files;  // "-" is standard input; none: standard input
  std::vector<float> frequencies;  // --freq or --nec, MHz; empty: the ten bands
  ProbeSetting probe;              // --probe
  std::string antenna_deck;        // --antenna: the NEC-2 deck; empty without
  std::vector<double> elevations;  // --elevation, degrees; the default list without
  ModelChoice model;               // --model: messier without
  std::string error;
};

CommandLine parse_command_line(const std::vector<std::string_view>& arguments);

// The frequencies an output is for: the command line's list, or the ten
// bands of the table where it gives none.
std::span<const float> output_frequencies(const CommandLine& line);

// A comma-separated list of finite positive frequencies in MHz, each read
// as a single the way a constant of the band table is; false when any item
// is not one.
bool parse_frequency_list(std::string_view text, std::vector<float>& frequencies);

// --elevation's list: whole degrees above the horizon, 1 to 90 (the
// pattern is computed every degree, and at the horizon a real ground's
// gain is nil); false when any item is not one.
bool parse_elevation_list(std::string_view text, std::vector<double>& elevations);
inline constexpr double kDefaultElevations[] = {5.0, 10.0, 20.0, 30.0};

std::string usage_text();
std::string version_text();

}  // namespace gndfit
