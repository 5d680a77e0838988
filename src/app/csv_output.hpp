#pragma once
// Machine-readable output: each input line one measurement, each accepted
// measurement fitted (the fit state carrying on from one to the next, as in
// the console) and written as one CSV line per frequency.  Lines that are
// not exactly three finite positive numbers are reported and skipped.
#include <istream>
#include <ostream>
#include <span>
#include <string>

#include "model/fit_state.hpp"

namespace gndfit {

class CsvWriter {
 public:
  // `frequencies` in MHz; `errors` receives one line per skipped input line.
  CsvWriter(std::span<const float> frequencies, std::ostream& out, std::ostream& errors);

  void write_header();
  // One input line (without its line end); `line_number` counts from 1
  // across all inputs, for the messages.
  void take_line(std::string_view line, long line_number);
  // Every line of `in`, continuing the line count.
  void take_stream(std::istream& in);

  bool skipped_any() const { return skipped_ > 0; }

 private:
  void write_rows(const Measurement& m);
  void skip(long line_number, const std::string& reason);

  std::span<const float> frequencies_;
  std::ostream& out_;
  std::ostream& errors_;
  FitState fit_;
  long line_number_ = 0;
  long skipped_ = 0;
};

// The shortest text that reads back to the same value at its own precision.
std::string shortest(double value);
std::string shortest(float value);

}  // namespace gndfit
