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

// Why a line probe's point is not among the points: below the branch's
// start, no admitted ground or more than one; on it, a ground that is not
// positive; above a step that could not be followed.
enum class LeftOutReason { no_ground, ambiguous, not_positive, not_followed };

// A sweep's point left out, where it is in its file.
struct LeftOutPoint {
  Location where;
  double frequency_mhz = 0.0;
  LeftOutReason reason = LeftOutReason::ambiguous;
};

// A few words for `reason`, for a list of the points (the warning on
// standard error says it at length, with what would measure them).
const char* left_out_reason_text(LeftOutReason reason);

// `air`: the sweep of the probe in air, where the probe setting takes C0
// from one (`short,air=FILE`); the caller reads it.  `notes` gets what
// standard error is to say besides a failure: C0 from air, warnings.
// `liquid`: the sweep of the probe in a liquid (`liquid=FILE`), with the
// air's; the caller reads it too.  `left_out`, when given, gets each
// point the notes' warnings name as left out, in the files' order.
ProbePoints convert_probe_sweeps(const ProbeSetting& setting,
                                 const std::vector<SweepSource>& sweeps, const SweepSource* air,
                                 std::vector<std::string>& notes,
                                 const SweepSource* liquid = nullptr,
                                 std::vector<LeftOutPoint>* left_out = nullptr);

}  // namespace gndfit
