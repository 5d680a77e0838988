// SPDX-License-Identifier: MIT
#pragma once
// --csv: each accepted measurement fitted (the fit state carrying on from
// one to the next, as in the console) and written as one CSV line per
// frequency.
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "app/common/measurement_lines.hpp"
#include "model/fit_state.hpp"

namespace gndfit {

class CsvWriter {
 public:
  CsvWriter(std::span<const float> frequencies, std::ostream& out, std::ostream& errors);

  void write_header();
  // The lines that follow are of `source`, counted from 1.
  void start_file(const std::string& source) { lines_.start_file(source); }
  void take_line(std::string_view line) { lines_.take_line(line); }
  void take_stream(std::istream& in) { lines_.take_stream(in); }
  bool skipped_any() const { return lines_.skipped_any(); }

 private:
  void write_rows(const Measurement& m);
  // A model whose base permittivity is below that of vacuum: a warning on
  // the error stream (the rows are written all the same).
  void warn_if_unphysical(const Measurement& m, const Location& where);

  std::span<const float> frequencies_;
  std::ostream& out_;
  std::ostream& errors_;
  FitState fit_;
  MeasurementLines lines_;
  std::string line_;  // each row built here, its room kept from row to row
};

}  // namespace gndfit
