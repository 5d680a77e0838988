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
  Location second;
  MeasurementLines lines(std::cerr, [&](const Measurement& m, const Location& where) {
    if (measurements.size() == 1) second = where;
    measurements.push_back(m);
  });
  files.read_lines([&lines](std::string_view text) { lines.take_line(text); },
                   [&lines](const std::string& source) { lines.start_file(source); });
  if (files.failure()) {
    single.status = finish_text_output(files, false);
    return single;
  }
  const std::string name(option);
  if (measurements.empty()) {
    single.status =
        report_failure({Location{""}, name + " needs one measurement; the input holds none"});
    return single;
  }
  if (measurements.size() > 1) {
    single.status = report_failure({second, name + " takes one measurement; this is a second one"});
    return single;
  }
  single.found = true;
  single.status = 0;
  single.measurement = measurements.front();
  single.skipped_any = lines.skipped_any();
  return single;
}

}  // namespace gndfit
