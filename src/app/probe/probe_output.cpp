// SPDX-License-Identifier: MIT
#include "app/probe/probe_output.hpp"

#include "number/shortest.hpp"

namespace gndfit {

// Built as a string, so that the C API (the page) needs no streams.
std::string probe_csv(std::span<const LocatedMeasurement> points) {
  std::string csv = "frequency_mhz,permittivity,conductivity_ms_per_m\n";
  for (const LocatedMeasurement& p : points) {
    append_shortest(csv, p.frequency_mhz);
    csv += ',';
    append_shortest(csv, p.permittivity);
    csv += ',';
    append_shortest(csv, p.conductivity_ms);
    csv += '\n';
  }
  return csv;
}

void write_probe_csv(std::ostream& out, std::span<const LocatedMeasurement> points) {
  out << probe_csv(points);
}

JointInput joint_input_of(std::span<const LocatedMeasurement> points) {
  JointInput input;
  for (const LocatedMeasurement& p : points) input.add(p);
  return input;
}

}  // namespace gndfit
