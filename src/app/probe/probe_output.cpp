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
    csv += shortest(p.frequency_mhz) + ',' + shortest(p.permittivity) + ',' +
           shortest(p.conductivity_ms);
    if (with_uncertainties) {
      csv += ',' + shortest(p.permittivity_u) + ',' + shortest(p.conductivity_u);
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
