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

std::string probe_csv(std::span<const LocatedMeasurement> points);
void write_probe_csv(std::ostream& out, std::span<const LocatedMeasurement> points);

// Each point a measurement without uncertainties, from its file and line.
JointInput joint_input_of(std::span<const LocatedMeasurement> points);

}  // namespace gndfit
