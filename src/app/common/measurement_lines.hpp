// SPDX-License-Identifier: MIT
#pragma once
// Measurement lines for the machine-readable outputs: each input line is
// one measurement, read with the console's number forms; blank lines and
// lines starting with # are skipped, and a line that is not exactly three
// finite positive numbers is reported with its number and the reason, and
// skipped.
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "model/fit_state.hpp"

namespace gndfit {

class MeasurementLines {
 public:
  using Take = std::function<void(const Measurement&, long line_number)>;
  MeasurementLines(std::ostream& errors, Take take) : errors_(errors), take_(std::move(take)) {}

  // One input line (its line end removed or not); line numbers count from
  // 1 across all inputs.
  void take_line(std::string_view line);
  // Every line of `in`, continuing the count.
  void take_stream(std::istream& in);
  bool skipped_any() const { return skipped_ > 0; }

 private:
  void skip(const std::string& reason);

  std::ostream& errors_;
  Take take_;
  long line_number_ = 0;
  long skipped_ = 0;
};

}  // namespace gndfit
