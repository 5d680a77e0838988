// SPDX-License-Identifier: MIT
#include "app/probe/probe_output.hpp"

#include "number/shortest.hpp"

namespace gndfit {

// Built as a string, so that the C API (the page) needs no streams.
std::string probe_csv(std::span<const LocatedMeasurement> points, bool with_uncertainties) {
  std::string csv = with_uncertainties ? "frequency_mhz,permittivity,conductivity_ms_per_m,"
                                         "permittivity_u,conductivity_u_ms_per_m\n"
                                       : "frequency_mhz,permittivity,conductivity_ms_per_m\n";
  for (const LocatedMeasurement& p : points) {
    append_shortest(csv, p.frequency_mhz);
    csv += ',';
    append_shortest(csv, p.permittivity);
    csv += ',';
    append_shortest(csv, p.conductivity_ms);
    if (with_uncertainties) {
      csv += ',';
      append_shortest(csv, p.permittivity_u);
      csv += ',';
      append_shortest(csv, p.conductivity_u);
    }
    csv += '\n';
  }
  return csv;
}

void write_probe_csv(std::ostream& out, std::span<const LocatedMeasurement> points,
                     bool with_uncertainties) {
  out << probe_csv(points, with_uncertainties);
}

JointInput joint_input_of(std::span<const LocatedMeasurement> points, bool with_uncertainties) {
  JointInput input;
  for (const LocatedMeasurement& p : points) input.add(p, with_uncertainties);
  return input;
}

}  // namespace gndfit
