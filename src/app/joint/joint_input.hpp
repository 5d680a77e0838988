// SPDX-License-Identifier: MIT
#pragma once
// The measurements of a joint fit, one a line: `f er s` or `f er s u_er u_s`
// (MHz, relative permittivity, mS/m and the standard uncertainties of the
// last two), with the console's number forms, each read as a double;
// blanks, tabs or commas separate the fields, blank lines and lines
// starting with # are skipped, and so is the header line of --probe's CSV
// as a file's first line.  Either every line gives uncertainties or
// none does.  Every faulty line is kept as an error naming its file and
// line; a fit runs only when there is none.
#include <string>
#include <string_view>
#include <vector>

#include "located/measurement.hpp"
#include "located/outcome.hpp"

namespace gndfit {

class JointInput {
 public:
  // The lines that follow are of `source` ("-" for standard input),
  // counted from 1.
  void start_file(const std::string& source);
  // One line (its line end removed or not).
  void take_line(std::string_view text);
  // A measurement that comes already read and located (a probe sweep's
  // converted point), with its uncertainties or without.
  void add(const LocatedMeasurement& measurement, bool with_uncertainties = false);

  const std::vector<LocatedMeasurement>& measurements() const { return measurements_; }
  bool weighted() const { return kind_ == Kind::with_uncertainties; }
  // Every faulty line so far, and when there is none and no measurement
  // either, that (a failure of the whole input).
  std::vector<Failure> errors() const;

 private:
  enum class Kind { unknown, plain, with_uncertainties };
  void fail(const std::string& reason);

  std::vector<LocatedMeasurement> measurements_;
  std::vector<Failure> errors_;
  Location current_;
  Kind kind_ = Kind::unknown;
  Location first_of_kind_;
};

}  // namespace gndfit
