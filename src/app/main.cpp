// SPDX-License-Identifier: MIT
// gndfit: fits a frequency-dependent ground model to one measurement at a
// time and shows it for the HF bands.  This file only reads the command
// line and hands it to the command it names.
#include <string_view>
#include <vector>

#include "app/antenna/antenna_command.hpp"
#include "app/common/command_line.hpp"
#include "app/common/text_output.hpp"
#include "app/csv/csv_command.hpp"
#include "app/joint/joint_command.hpp"
#include "app/nec/nec_command.hpp"
#include "app/probe/probe_command.hpp"
#include "app/program/console_command.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const gndfit::CommandLine line = gndfit::parse_command_line(arguments);
  switch (line.mode) {
    case gndfit::RunMode::help:
      return gndfit::print_text(gndfit::usage_text());
    case gndfit::RunMode::version:
      return gndfit::print_text(gndfit::version_text());
    case gndfit::RunMode::error:
      return gndfit::usage_error(line.error);
    case gndfit::RunMode::csv:
      return gndfit::run_csv(line);
    case gndfit::RunMode::nec:
      return gndfit::run_nec(line);
    case gndfit::RunMode::probe:
      return gndfit::run_probe(line);
    case gndfit::RunMode::joint:
      return gndfit::run_joint(line);
    case gndfit::RunMode::antenna:
      return gndfit::run_antenna(line);
    case gndfit::RunMode::files:
      return gndfit::run_files(line, argc, argv);
    case gndfit::RunMode::interactive:
      break;
  }
  return gndfit::run_interactive(argc, argv);
}
