// SPDX-License-Identifier: MIT
#include "sweep/sweep_file.hpp"

#include <optional>

#include "sweep/rx_csv_reader.hpp"
#include "sweep/sweep_text.hpp"
#include "sweep/touchstone_reader.hpp"

namespace gndfit {
namespace {

// The first error of frequency order: each above zero and above the one
// before it.
std::optional<Failure> frequency_order_failure(const std::vector<SweepPoint>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    const SweepPoint& p = points[i];
    if (!(p.frequency_mhz > 0.0)) {
      return Failure{Location{"", p.line},
                     "the frequency " + brief_number(p.frequency_mhz) + " MHz is not positive"};
    }
    if (i > 0 && !(p.frequency_mhz > points[i - 1].frequency_mhz)) {
      return Failure{Location{"", p.line},
                     "the frequency does not increase: " + brief_number(p.frequency_mhz) +
                         " MHz after " + brief_number(points[i - 1].frequency_mhz) +
                         " MHz on line " + std::to_string(points[i - 1].line)};
    }
  }
  return std::nullopt;
}

}  // namespace

SweepForm sweep_form(std::string_view text) {
  for (std::string_view line : split_lines(without_leftovers(text))) {
    const std::string_view content = trim(line.substr(0, line.find('!')));
    if (content.empty()) continue;
    // A '#' line with a CSV separator in it is a CSV header
    // ("#Frequency(MHz);R;X"): a Touchstone option line has only words.
    const bool csv_header = content.find_first_of(",;") != std::string_view::npos;
    if ((content[0] == '#' && !csv_header) || lower_case(content.substr(0, 9)) == "[version]") {
      return SweepForm::touchstone;
    }
    break;
  }
  return SweepForm::rx_csv;
}

std::string_view without_leftovers(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // UTF-8's byte-order mark
  // DOS's end-of-file mark at the end, with the line ends around it.
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\x1A' || text[end - 1] == '\n' || text[end - 1] == '\r')) {
    --end;
  }
  if (text.substr(end).find('\x1A') != std::string_view::npos) text = text.substr(0, end);
  return text;
}

SweepRead read_sweep(std::string_view text) {
  text = without_leftovers(text);
  SweepRead read =
      sweep_form(text) == SweepForm::touchstone ? read_touchstone(text) : read_rx_csv(text);
  if (read.failed()) return read;
  if (std::optional<Failure> failure = frequency_order_failure(read.value())) return *failure;
  return read;
}

}  // namespace gndfit
