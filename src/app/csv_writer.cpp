// SPDX-License-Identifier: MIT
#include "app/csv_writer.hpp"

#include <string>

#include "app/band_values.hpp"
#include "number/shortest.hpp"

namespace gndfit {

CsvWriter::CsvWriter(std::span<const float> frequencies, std::ostream& out, std::ostream& errors)
    : frequencies_(frequencies),
      out_(out),
      lines_(errors, [this](const Measurement& m, long) { write_rows(m); }) {}

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
