// SPDX-License-Identifier: MIT
#include "app/nec/nec_command.hpp"

#include <iostream>

#include "app/common/nec_cards.hpp"
#include "app/common/single_measurement.hpp"
#include "app/common/text_output.hpp"

namespace gndfit {

// NEC-2 takes comment cards only at the top of a deck, so the cards are
// for exactly one measurement: none, or a second, is an error and nothing
// is written.
int run_nec(const CommandLine& line) {
  const SingleMeasurement single = read_single_measurement(line, "--nec");
  if (!single.found) return single.status;
  FitState fit;
  write_nec_cards(std::cout, fit_and_evaluate(fit, single.measurement, line.frequencies));
  if (flush_standard_output() != 0) return 1;
  return single.skipped_any ? 1 : 0;
}

}  // namespace gndfit
