// SPDX-License-Identifier: MIT
#include "app/probe/probe_output.hpp"

#include "number/shortest.hpp"

namespace gndfit {

// Built as a string, so that the C API (the page) needs no streams.
std::string probe_csv(std::span<const GroundPoint> points) {
  std::string csv = "frequency_mhz,permittivity,conductivity_ms_per_m\n";
  for (const GroundPoint& p : points) {
    csv += shortest(p.frequency_mhz) + ',' + shortest(p.permittivity) + ',' +
           shortest(p.conductivity_ms_per_m) + '\n';
  }
  return csv;
}

void write_probe_csv(std::ostream& out, std::span<const GroundPoint> points) {
  out << probe_csv(points);
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
