// SPDX-License-Identifier: MIT
#include "app/common/single_measurement.hpp"

#include <iostream>
#include <vector>

#include "app/common/input_files.hpp"
#include "app/common/measurement_lines.hpp"
#include "app/common/text_output.hpp"

namespace gndfit {

SingleMeasurement read_single_measurement(const CommandLine& line, std::string_view option) {
  SingleMeasurement single;
  InputFiles files;
  if (!open_input_files(line, files)) {
    single.status = kUsageError;
    return single;
  }
  start_text_output();
  std::vector<Measurement> measurements;
  long second_line = 0;
  MeasurementLines lines(std::cerr, [&](const Measurement& m, long number) {
    if (measurements.size() == 1 && second_line == 0) second_line = number;
    measurements.push_back(m);
  });
  files.read_lines([&lines](std::string_view text) { lines.take_line(text); });
  if (!files.failure().empty()) {
    single.status = finish_text_output(files, false);
    return single;
  }
  single.status = 1;
  if (measurements.empty()) {
    std::cerr << "gndfit: " << option << " needs one measurement; the input holds none\n";
    return single;
  }
  if (measurements.size() > 1) {
    std::cerr << "gndfit: line " << second_line << ": " << option
              << " takes one measurement; this is a second one\n";
    return single;
  }
  single.found = true;
  single.status = 0;
  single.measurement = measurements.front();
  single.skipped_any = lines.skipped_any();
  return single;
}

}  // namespace gndfit
