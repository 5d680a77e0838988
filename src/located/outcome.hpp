// SPDX-License-Identifier: MIT
#pragma once
// One vocabulary for results and errors: a Failure is where (an input and
// a line of it), why, and the exit status it ends the run with; an
// Outcome<T> is a T or a Failure.  Every reader, conversion and command
// returns one of these.
#include <optional>
#include <string>
#include <utility>

#include "located/location.hpp"

namespace gndfit {

inline constexpr int kFailureStatus = 1;  // faulty input, no fit, a read or write failed
inline constexpr int kUsageStatus = 2;    // a wrong command line, a file that cannot be opened

struct Failure {
  Location where{""};  // no source: an error of the whole run
  std::string reason;
  int status = kFailureStatus;
  StandardInputNaming naming = StandardInputNaming::unnamed;
};

// A whole-run failure with a usage error's status.
inline Failure usage_failure(std::string reason) {
  return {Location{""}, std::move(reason), kUsageStatus};
}

// "FILE:line N: reason", or the reason alone when there is no place.
std::string failure_text(const Failure& failure);

template <typename T>
class Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
  Outcome(Failure failure) : failure_(std::move(failure)) {}  // NOLINT: and a failure is not

  bool failed() const { return failure_.has_value(); }
  // Only when failed().
  const Failure& failure() const { return *failure_; }
  const T& value() const { return value_; }
  T& value() { return value_; }

 private:
  T value_{};
  std::optional<Failure> failure_;
};

}  // namespace gndfit
