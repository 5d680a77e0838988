// SPDX-License-Identifier: MIT
#include "app/probe/probe_output.hpp"

#include "number/shortest.hpp"

namespace gndfit {

// Built as a string, so that the C API (the page) needs no streams.
std::string probe_csv(std::span<const GroundPoint> points) {
  std::string csv = "frequency_mhz,permittivity,conductivity_ms_per_m\n";
  for (const GroundPoint& p : points) {
    append_shortest(csv, p.frequency_mhz);
    csv += ',';
    append_shortest(csv, p.permittivity);
    csv += ',';
    append_shortest(csv, p.conductivity_ms_per_m);
    csv += '\n';
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
