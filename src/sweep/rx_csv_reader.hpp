// SPDX-License-Identifier: MIT
#pragma once
// An analyser's CSV export of resistance and reactance: on each row the
// frequency in MHz, R and X in ohms, separated by commas, semicolons or
// tabs (the first row of numbers decides which), each field
// perhaps in double quotes, and an optional header line first.  With
// semicolons or tabs, or inside quotes, a comma in a number is a decimal
// comma, as such exports write it.  A spreadsheet's `sep=X` line names the
// separator; empty trailing fields and rows are skipped; the header may
// use its own separator, name the frequency's unit, and with more than
// three columns name R and X (the others ignored).  Without a unit named,
// a frequency above 1000 is refused: the file looks like kHz or Hz.
#include <string_view>

#include "sweep/sweep_point.hpp"

namespace gndfit {

SweepRead read_rx_csv(std::string_view text);

}  // namespace gndfit
