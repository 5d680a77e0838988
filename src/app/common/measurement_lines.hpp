// SPDX-License-Identifier: MIT
#pragma once
// Measurement lines for the machine-readable outputs: each input line is
// one measurement, read with the console's number forms; blank lines and
// lines starting with # are skipped, and a line that is not exactly three
// finite positive numbers is reported with its file, line and the reason,
// and skipped.  The measurement is the console's (singles), so that its
// fit is the table's to the bit.
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "located/location.hpp"
#include "model/fit_state.hpp"

namespace gndfit {

class MeasurementLines {
 public:
  using Take = std::function<void(const Measurement&, const Location& where)>;
  MeasurementLines(std::ostream& errors, Take take) : errors_(errors), take_(std::move(take)) {}

  // The lines that follow are of `source` ("-" for standard input, the
  // default), counted from 1.
  void start_file(const std::string& source) { current_ = {source, 0}; }
  // One input line (its line end removed or not).
  void take_line(std::string_view line);
  // Every line of `in`, continuing the count.
  void take_stream(std::istream& in);
  bool skipped_any() const { return skipped_ > 0; }

 private:
  void skip(const std::string& reason);

  std::ostream& errors_;
  Take take_;
  Location current_;
  long skipped_ = 0;
};

}  // namespace gndfit
