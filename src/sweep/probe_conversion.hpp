// SPDX-License-Identifier: MIT
#pragma once
// A probe's sweeps converted to ground points, everything read and
// checked before anything is written: the points (each file's in its own
// order), or the first failure, naming the file (standard input too) and
// line; and the notes for the user either way.
#include <string>
#include <vector>

#include "located/outcome.hpp"
#include "sweep/ground_point.hpp"
#include "sweep/probe_setting.hpp"

namespace gndfit {

// A sweep file's name as given ("-" for standard input) and its whole text.
struct SweepSource {
  std::string name;
  std::string text;
};

using ProbePoints = Outcome<std::vector<LocatedMeasurement>>;

// `air`: the sweep of the probe in air, where the probe setting takes C0
// from one (`short,air=FILE`); the caller reads it.  `notes` gets what
// standard error is to say besides a failure: C0 from air, warnings.
// `liquid`: the sweep of the probe in a liquid (`liquid=FILE`), with the
// air's; the caller reads it too.
ProbePoints convert_probe_sweeps(const ProbeSetting& setting,
                                 const std::vector<SweepSource>& sweeps, const SweepSource* air,
                                 std::vector<std::string>& notes,
                                 const SweepSource* liquid = nullptr);

}  // namespace gndfit
