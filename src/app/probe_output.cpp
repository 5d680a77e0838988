// SPDX-License-Identifier: MIT
#include "app/probe_output.hpp"

#include "number/shortest.hpp"

namespace gndfit {

void write_probe_csv(std::ostream& out, std::span<const GroundPoint> points) {
  out << "frequency_mhz,permittivity,conductivity_ms_per_m\n";
  for (const GroundPoint& p : points) {
    out << shortest(p.frequency_mhz) << ',' << shortest(p.permittivity) << ','
        << shortest(p.conductivity_ms_per_m) << '\n';
  }
}

JointInput joint_input_of(std::span<const GroundPoint> points) {
  JointInput input;
  for (const GroundPoint& p : points) {
    JointMeasurement m;
    m.frequency_mhz = p.frequency_mhz;
    m.permittivity = p.permittivity;
    m.conductivity_ms = p.conductivity_ms_per_m;
    input.add(m, {p.source == "standard input" ? "-" : p.source, p.line});
  }
  return input;
}

}  // namespace gndfit
