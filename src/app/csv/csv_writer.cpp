// SPDX-License-Identifier: MIT
#include "app/csv/csv_writer.hpp"

#include <string>

#include "app/joint/joint_solution.hpp"
#include "model/band_values.hpp"
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
  // One write for the line: the error stream is unbuffered.
  const std::string message =
      "gndfit: " + location_text(where) + ": warning: " + w.code + ": " + w.text + '\n';
  errors_.write(message.data(), static_cast<std::streamsize>(message.size()));
}

void CsvWriter::write_header() {
  out_ << "measured_mhz,measured_permittivity,measured_conductivity_ms_per_m,frequency_mhz,"
          "permittivity,conductivity_ms_per_m,conductivity_s_per_m,relative_skin_depth\n";
}

void CsvWriter::write_rows(const Measurement& m) {
  line_.clear();
  append_shortest(line_, m.frequency_mhz);
  line_ += ',';
  append_shortest(line_, m.permittivity);
  line_ += ',';
  append_shortest(line_, m.conductivity_ms);
  line_ += ',';
  const std::size_t measured_length = line_.size();
  for (const BandValues& b : fit_and_evaluate(fit_, m, frequencies_)) {
    line_.resize(measured_length);
    append_shortest(line_, b.band_mhz);
    line_ += ',';
    append_shortest(line_, b.model.permittivity);
    line_ += ',';
    append_shortest(line_, b.model.conductivity_ms);
    line_ += ',';
    append_shortest(line_, static_cast<double>(b.model.conductivity_ms) / 1000.0);
    line_ += ',';
    append_shortest(line_, b.relative_skin_depth);
    line_ += '\n';
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
  }
}

}  // namespace gndfit
