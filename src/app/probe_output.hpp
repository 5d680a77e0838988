// SPDX-License-Identifier: MIT
#pragma once
// --probe: the converted points of the sweeps as CSV, one row per point
// in the files' order, in shortest round-trip text.
#include <ostream>
#include <span>

#include "sweep/ground_point.hpp"

namespace gndfit {

void write_probe_csv(std::ostream& out, std::span<const GroundPoint> points);

}  // namespace gndfit
