// SPDX-License-Identifier: MIT
#pragma once
// A sweep file of any form gndfit reads, told apart by its content: a
// Touchstone file starts (after comments) with its option line `#...` or
// with `[Version]`; anything else is read as an R/X CSV export.  The
// points must then have positive, increasing frequencies.  A UTF-8
// byte-order mark at the start and a DOS end-of-file mark (Ctrl-Z) at the
// end are not part of the file's text, whatever its form.
#include <string_view>

#include "sweep/sweep_point.hpp"

namespace gndfit {

enum class SweepForm { touchstone, rx_csv };

// `text` without those two marks.
std::string_view without_leftovers(std::string_view text);

SweepForm sweep_form(std::string_view text);
SweepRead read_sweep(std::string_view text);

}  // namespace gndfit
