// SPDX-License-Identifier: MIT
#pragma once
// An analyser's CSV export of resistance and reactance: on each row the
// frequency in MHz, R and X in ohms, separated by commas, semicolons or
// tabs (the first line with anything on it decides which), each field
// perhaps in double quotes, and an optional header line first.  With semicolons or tabs a comma
// inside a number is a decimal comma, as such exports write it.
#include <string_view>

#include "sweep/sweep_point.hpp"

namespace gndfit {

SweepRead read_rx_csv(std::string_view text);

}  // namespace gndfit
