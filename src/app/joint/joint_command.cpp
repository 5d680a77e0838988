// SPDX-License-Identifier: MIT
#include "app/joint/joint_command.hpp"

#include <iostream>
#include <vector>

#include "app/antenna/antenna_command.hpp"
#include "app/common/input_files.hpp"
#include "app/common/text_output.hpp"
#include "app/joint/joint_csv.hpp"
#include "app/joint/joint_json.hpp"
#include "app/joint/joint_report.hpp"

namespace gndfit {
namespace {

// Every line of every file, each file's lines counted from 1.
bool read_measurements(InputFiles& files, JointInput& input) {
  files.read_lines([&input](std::string_view text) { input.take_line(text); },
                   [&input](const std::string& source) { input.start_file(source); });
  if (!files.failure()) return true;
  report_failure(*files.failure());
  return false;
}

void write(const CommandLine& line, const JointSolution& solution) {
  switch (line.joint_output) {
    case JointOutput::report:
      std::cout << joint_report(solution);
      break;
    case JointOutput::json:
      std::cout << joint_json(solution) << '\n';
      break;
    case JointOutput::csv:
      write_joint_csv(std::cout, solution);
      break;
    case JointOutput::nec:
      write_joint_nec_cards(std::cout, solution);
      break;
  }
  // The report and JSON carry the warnings; CSV and cards cannot.
  if (line.joint_output == JointOutput::csv || line.joint_output == JointOutput::nec) {
    for (const JointWarning& w : solution.warnings) {
      std::cerr << "gndfit: warning: " << w.code << ": " << w.text << '\n';
    }
  }
}

}  // namespace

int run_joint(const CommandLine& line) {
  InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  start_text_output();
  JointInput input;
  if (!read_measurements(files, input)) return 1;
  const std::vector<Failure> errors = input.errors();
  if (!errors.empty()) {
    for (const Failure& e : errors) report_failure(e);
    return kFailureStatus;
  }
  return fit_and_write_joint(line, input);
}

int fit_and_write_joint(const CommandLine& line, const JointInput& input) {
  // Known only once the measurements are read, but a usage error all the
  // same: the command asks for what its input cannot give.
  if (line.model.compare && !input.weighted()) return usage_error(compare_needs_uncertainties());
  const Outcome<JointSolution> solution =
      solve_joint(input, frequencies_as_written(output_frequencies(line)), line.model);
  if (solution.failed()) return report_failure(solution.failure());
  if (!line.antenna_deck.empty()) return run_joint_antenna(line, solution.value());
  write(line, solution.value());
  return flush_standard_output();
}

}  // namespace gndfit
