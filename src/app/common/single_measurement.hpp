// SPDX-License-Identifier: MIT
#pragma once
// The one measurement of the input for the outputs that are about exactly
// one (--nec, --antenna without --joint): none, or a second, is an error.
#include <string_view>

#include "app/common/command_line.hpp"
#include "model/fit_state.hpp"

namespace gndfit {

struct SingleMeasurement {
  bool found = false;  // false: `status` is the run's exit status, already reported
  int status = 0;
  Measurement measurement;
  bool skipped_any = false;  // a faulty line was reported and skipped
};

// Reads the command line's inputs; `option` names the output in messages.
SingleMeasurement read_single_measurement(const CommandLine& line, std::string_view option);

}  // namespace gndfit
