// SPDX-License-Identifier: MIT
#pragma once
// A sweep file of any form gndfit reads, told apart by its content: a
// Touchstone file starts (after comments) with its option line `#...` or
// with `[Version]`; anything else is read as an R/X CSV export.  The
// points must then have positive, increasing frequencies.
#include <string_view>

#include "sweep/sweep_point.hpp"

namespace gndfit {

enum class SweepForm { touchstone, rx_csv };

SweepForm sweep_form(std::string_view text);
SweepRead read_sweep(std::string_view text);

}  // namespace gndfit
