// SPDX-License-Identifier: MIT
#include "sweep/sweep_file.hpp"

#include "sweep/rx_csv_reader.hpp"
#include "sweep/sweep_text.hpp"
#include "sweep/touchstone_reader.hpp"

namespace gndfit {
namespace {

// The first error of frequency order: each above zero and above the one
// before it.
bool check_frequencies(const std::vector<SweepPoint>& points, SweepError& error) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    const SweepPoint& p = points[i];
    if (!(p.frequency_mhz > 0.0)) {
      error = {p.line, "the frequency " + brief_number(p.frequency_mhz) + " MHz is not positive"};
      return false;
    }
    if (i > 0 && !(p.frequency_mhz > points[i - 1].frequency_mhz)) {
      error = {p.line, "the frequency does not increase: " + brief_number(p.frequency_mhz) +
                           " MHz after " + brief_number(points[i - 1].frequency_mhz) +
                           " MHz on line " + std::to_string(points[i - 1].line)};
      return false;
    }
  }
  return true;
}

}  // namespace

SweepForm sweep_form(std::string_view text) {
  for (std::string_view line : split_lines(text)) {
    const std::string_view content = trim(line.substr(0, line.find('!')));
    if (content.empty()) continue;
    if (content[0] == '#' || lower_case(content.substr(0, 9)) == "[version]") {
      return SweepForm::touchstone;
    }
    break;
  }
  return SweepForm::rx_csv;
}

SweepRead read_sweep(std::string_view text) {
  SweepRead read =
      sweep_form(text) == SweepForm::touchstone ? read_touchstone(text) : read_rx_csv(text);
  if (!read.failed && !check_frequencies(read.points, read.error)) {
    read.failed = true;
    read.points.clear();
  }
  return read;
}

}  // namespace gndfit
