// SPDX-License-Identifier: MIT
#pragma once
// A probe's sweeps converted to ground points, everything read and
// checked before anything is written: the points (each file's in its own
// order) with the notes for the user, or the first error, naming the file
// and line.
#include <string>
#include <vector>

#include "sweep/ground_point.hpp"
#include "sweep/probe_setting.hpp"

namespace gndfit {

// A sweep file's name (as messages give it) and its whole text.
struct SweepSource {
  std::string name;
  std::string text;
};

struct ProbeRun {
  std::vector<GroundPoint> points;
  std::vector<std::string> notes;  // for standard error: C0 from air, warnings
  bool failed = false;
  std::string error;  // "FILE:line N: reason"
};

// `air`: the sweep of the probe in air, where the probe setting takes C0
// from one (`short,air=FILE`); the caller reads it.
ProbeRun convert_probe_sweeps(const ProbeSetting& setting, const std::vector<SweepSource>& sweeps,
                              const SweepSource* air = nullptr);

}  // namespace gndfit
