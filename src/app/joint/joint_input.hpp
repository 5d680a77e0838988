// SPDX-License-Identifier: MIT
#pragma once
// The measurements of a joint fit, one a line: `f er s` or `f er s u_er u_s`
// (MHz, relative permittivity, mS/m and the standard uncertainties of the
// last two), with the console's number forms, each read as a double;
// blanks, tabs or commas separate the fields, blank lines and lines
// starting with # are skipped.  Either every line gives uncertainties or
// none does.  Every faulty line is kept as an error naming its file and
// line; a fit runs only when there is none.
#include <string>
#include <string_view>
#include <vector>

#include "model/joint_fit.hpp"

namespace gndfit {

struct JointOrigin {
  std::string file = "-";  // "-" for standard input
  long line = 0;           // counted from 1 in each file
};

// A faulty line, or with line 0 a fault of the whole input.
struct JointInputError {
  JointOrigin origin;
  std::string reason;
};

class JointInput {
 public:
  // The lines that follow are of `file`, counted from 1.
  void start_file(const std::string& file);
  // One line (its line end removed or not).
  void take_line(std::string_view text);
  // A measurement that comes already read (a probe sweep's converted
  // point), without uncertainties, from `origin`.
  void add(const JointMeasurement& measurement, const JointOrigin& origin);

  const std::vector<JointMeasurement>& measurements() const { return measurements_; }
  const std::vector<JointOrigin>& origins() const { return origins_; }
  bool weighted() const { return kind_ == Kind::with_uncertainties; }
  // Every faulty line so far, and when there is none and no measurement
  // either, that.
  std::vector<JointInputError> errors() const;

 private:
  enum class Kind { unknown, plain, with_uncertainties };
  void fail(const std::string& reason);

  std::vector<JointMeasurement> measurements_;
  std::vector<JointOrigin> origins_;
  std::vector<JointInputError> errors_;
  JointOrigin current_;
  Kind kind_ = Kind::unknown;
  JointOrigin first_of_kind_;
};

// The place of a line in messages: "FILE:line N", or "line N" for
// standard input.
std::string joint_place(const JointOrigin& origin);
// "FILE:line N: reason", or the reason alone for the whole input.
std::string joint_message(const JointInputError& error);

}  // namespace gndfit
