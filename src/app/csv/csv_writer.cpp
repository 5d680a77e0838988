// SPDX-License-Identifier: MIT
#include "app/csv/csv_writer.hpp"

#include <string>

#include "model/band_values.hpp"
#include "app/joint/joint_solution.hpp"
#include "number/shortest.hpp"

namespace gndfit {

CsvWriter::CsvWriter(std::span<const float> frequencies, std::ostream& out, std::ostream& errors)
    : frequencies_(frequencies),
      out_(out),
      errors_(errors),
      lines_(errors, [this](const Measurement& m, const Location& where) {
        write_rows(m);
        warn_if_unphysical(m, where);
      }) {}

void CsvWriter::warn_if_unphysical(const Measurement& m, const Location& where) {
  const MessierParameters model = messier_exact(m.frequency_mhz, m.permittivity, m.conductivity_ms);
  if (!below_vacuum(model.base_permittivity)) return;
  const JointWarning w = below_vacuum_warning(model.base_permittivity);
  errors_ << "gndfit: " << location_text(where) << ": warning: " << w.code << ": " << w.text << '\n';
}

void CsvWriter::write_header() {
  out_ << "measured_mhz,measured_permittivity,measured_conductivity_ms_per_m,frequency_mhz,"
          "permittivity,conductivity_ms_per_m,conductivity_s_per_m,relative_skin_depth\n";
}

void CsvWriter::write_rows(const Measurement& m) {
  const std::string measured =
      shortest(m.frequency_mhz) + ',' + shortest(m.permittivity) + ',' + shortest(m.conductivity_ms);
  for (const BandValues& b : fit_and_evaluate(fit_, m, frequencies_)) {
    out_ << measured << ',' << shortest(b.band_mhz) << ',' << shortest(b.model.permittivity) << ','
         << shortest(b.model.conductivity_ms) << ','
         << shortest(static_cast<double>(b.model.conductivity_ms) / 1000.0) << ','
         << shortest(b.relative_skin_depth) << '\n';
  }
}

}  // namespace gndfit
