#pragma once
// Machine-readable output.  Each input line is one measurement, read with
// the console's number forms; blank lines and lines starting with # are
// skipped, and a line that is not exactly three finite positive numbers is
// reported with its number and the reason, and skipped.
//   --csv: each accepted measurement fitted (the fit state carrying on from
//          one to the next, as in the console) and written as one CSV line
//          per frequency.
//   --nec: one measurement, written as NEC-2 ground, frequency and execute
//          cards for each frequency.
#include <functional>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "app/band_values.hpp"
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

class CsvWriter {
 public:
  CsvWriter(std::span<const float> frequencies, std::ostream& out, std::ostream& errors);

  void write_header();
  void take_line(std::string_view line) { lines_.take_line(line); }
  void take_stream(std::istream& in) { lines_.take_stream(in); }
  bool skipped_any() const { return lines_.skipped_any(); }

 private:
  void write_rows(const Measurement& m);
  // A model whose base permittivity is below that of vacuum: a warning on
  // the error stream (the rows are written all the same).
  void warn_if_unphysical(const Measurement& m, long line_number);

  std::span<const float> frequencies_;
  std::ostream& out_;
  std::ostream& errors_;
  FitState fit_;
  MeasurementLines lines_;
};

// NEC-2 cards, free-field form, for each frequency: a Sommerfeld-Norton
// ground with the model's values there, that one frequency, and execute.
void write_nec_cards(std::ostream& out, std::span<const BandValues> bands);

// The shortest text that reads back to the same value at its own precision.
std::string shortest(double value);
std::string shortest(float value);

}  // namespace gndfit
