// SPDX-License-Identifier: MIT
#pragma once
// The probe a sweep was measured with, as `--probe` gives it:
//   short,c0=PF               a short probe of air capacitance PF picofarads
//   short,c0=PF,l=NH,cs=PF    the same behind leads of NH nanohenries and a
//                             stray capacitance of PF picofarads
//   short,air=FILE            the same, C0 and L fitted to a sweep of it in air
//   short,air=FILE,liquid=FILE2,liquid_er=ER
//                             C0 and Cs apart from a second sweep of it in a
//                             liquid of relative permittivity ER
//   line,length=M,z0=OHMS     an open line of M metres and Z0 ohms in air
// Every setting must be there once, known to that probe and positive
// (l and cs may be 0, their default).
#include <string>
#include <string_view>

#include "located/outcome.hpp"

namespace gndfit {

enum class ProbeKind { short_probe, line_probe };

struct ProbeSetting {
  ProbeKind kind = ProbeKind::short_probe;
  double c0_farads = 0.0;            // short probe, when no air file
  double lead_henries = 0.0;         // short probe with c0: the leads' series inductance
  double stray_farads = 0.0;         // and the stray capacitance beside the probe
  std::string air_file;              // short probe: C0 from this sweep in air
  std::string liquid_file;           // and with it, C0 and Cs apart from this sweep
  double liquid_permittivity = 0.0;  // in a liquid of this relative permittivity
  double length_m = 0.0;             // line probe
  double z0_ohms = 0.0;              // line probe
  // Any probe: the standard uncertainty of Re and of Im of the measured
  // reflection coefficient, independent; 0 when none is given.
  double u_gamma = 0.0;
};

// The probe `text` gives, or a usage failure saying what is wrong.
Outcome<ProbeSetting> parse_probe_setting(std::string_view text);

}  // namespace gndfit
