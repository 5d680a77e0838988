// SPDX-License-Identifier: MIT
#pragma once
// --probe's outputs from the converted points of the sweeps: the CSV, one
// row per point in the files' order, in shortest round-trip text; or the
// points as the joint fit's measurements.
#include <ostream>
#include <span>
#include <string>

#include "app/joint/joint_input.hpp"
#include "sweep/ground_point.hpp"

namespace gndfit {

std::string probe_csv(std::span<const GroundPoint> points);
void write_probe_csv(std::ostream& out, std::span<const GroundPoint> points);

// Each point a measurement without uncertainties, from its file and line
// (standard input named "-", as the joint fit's messages name it).
JointInput joint_input_of(std::span<const GroundPoint> points);

}  // namespace gndfit
