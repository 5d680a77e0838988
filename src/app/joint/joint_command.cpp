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
  std::size_t file = static_cast<std::size_t>(-1);
  files.read_lines([&](std::string_view text) {
    if (files.current_index() != file) {
      file = files.current_index();
      input.start_file(files.current_name());
    }
    input.take_line(text);
  });
  if (files.failure().empty()) return true;
  std::cerr << "gndfit: " << files.failure() << '\n';
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
  const std::vector<JointInputError> errors = input.errors();
  if (!errors.empty()) {
    for (const JointInputError& e : errors) std::cerr << "gndfit: " << joint_message(e) << '\n';
    return 1;
  }
  return fit_and_write_joint(line, input);
}

int fit_and_write_joint(const CommandLine& line, const JointInput& input) {
  const JointSolution solution = solve_joint(input, frequencies_as_written(output_frequencies(line)));
  if (!solution.error.empty()) {
    std::cerr << "gndfit: " << solution.error << '\n';
    return 1;
  }
  if (!line.antenna_deck.empty()) return run_joint_antenna(line, solution);
  write(line, solution);
  return flush_standard_output();
}

}  // namespace gndfit
