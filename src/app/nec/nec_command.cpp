// SPDX-License-Identifier: MIT
#include "app/nec/nec_command.hpp"

#include <iostream>
#include <string_view>
#include <vector>

#include "app/common/measurement_lines.hpp"
#include "app/common/nec_cards.hpp"
#include "app/common/text_output.hpp"

namespace gndfit {

// NEC-2 takes comment cards only at the top of a deck, so the cards are
// for exactly one measurement: none, or a second, is an error and nothing
// is written.
int run_nec(const CommandLine& line) {
  InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  start_text_output();
  std::vector<Measurement> measurements;
  Location second;
  MeasurementLines lines(std::cerr, [&](const Measurement& m, const Location& where) {
    if (measurements.size() == 1) second = where;
    measurements.push_back(m);
  });
  files.read_lines([&lines](std::string_view text) { lines.take_line(text); },
                   [&lines](const std::string& source) { lines.start_file(source); });
  if (files.failure()) return finish_text_output(files, false);
  if (measurements.empty()) {
    return report_failure({Location{""}, "--nec needs one measurement; the input holds none"});
  }
  if (measurements.size() > 1) {
    return report_failure({second, "--nec takes one measurement; this is a second one"});
  }
  FitState fit;
  write_nec_cards(std::cout, fit_and_evaluate(fit, measurements[0], line.frequencies));
  return finish_text_output(files, lines.skipped_any());
}

}  // namespace gndfit
