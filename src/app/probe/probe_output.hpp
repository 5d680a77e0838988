// SPDX-License-Identifier: MIT
#pragma once
// --probe's outputs from the converted points of the sweeps: the CSV, one
// row per point in the files' order, in shortest round-trip text; or the
// points as the joint fit's measurements.
#include <ostream>
#include <span>
#include <string>

#include "app/joint/joint_input.hpp"
#include "located/measurement.hpp"

namespace gndfit {

// `with_uncertainties` (u_gamma given): five columns, the standard
// uncertainties after the values, exactly the line --joint reads.
std::string probe_csv(std::span<const LocatedMeasurement> points, bool with_uncertainties = false);
void write_probe_csv(std::ostream& out, std::span<const LocatedMeasurement> points,
                     bool with_uncertainties = false);

// Each point a measurement from its file and line, weighted by its
// uncertainties when they are given.
JointInput joint_input_of(std::span<const LocatedMeasurement> points,
                          bool with_uncertainties = false);

}  // namespace gndfit
