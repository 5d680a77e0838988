// SPDX-License-Identifier: MIT
#pragma once
// The probe a sweep was measured with, as `--probe` gives it:
//   short,c0=PF               a short probe of air capacitance PF picofarads
//   short,air=FILE            the same, C0 taken from a sweep of it in air
//   line,length=M,z0=OHMS     an open line of M metres and Z0 ohms in air
// Every setting must be there once, known to that probe and positive.
#include <string>
#include <string_view>

#include "located/outcome.hpp"

namespace gndfit {

enum class ProbeKind { short_probe, line_probe };

struct ProbeSetting {
  ProbeKind kind = ProbeKind::short_probe;
  double c0_farads = 0.0;  // short probe, when no air file
  std::string air_file;    // short probe: C0 from this sweep in air
  double length_m = 0.0;   // line probe
  double z0_ohms = 0.0;    // line probe
};

// The probe `text` gives, or a usage failure saying what is wrong.
Outcome<ProbeSetting> parse_probe_setting(std::string_view text);

}  // namespace gndfit
