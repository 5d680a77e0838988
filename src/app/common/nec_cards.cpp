// SPDX-License-Identifier: MIT
#include "app/common/nec_cards.hpp"

#include "number/shortest.hpp"

namespace gndfit {

void write_nec_cards(std::ostream& out, std::span<const BandValues> bands) {
  for (const BandValues& b : bands) {
    write_nec_card_set(out, shortest(b.model.permittivity),
                       shortest(static_cast<double>(b.model.conductivity_ms) / 1000.0),
                       shortest(b.band_mhz));
  }
}

void write_nec_card_set(std::ostream& out, std::string_view permittivity,
                        std::string_view conductivity_s_per_m, std::string_view frequency_mhz) {
  out << "GN 2 0 0 0 " << permittivity << ' ' << conductivity_s_per_m << '\n'
      << "FR 0 1 0 0 " << frequency_mhz << " 0\n"
      << "XQ\n";
}

}  // namespace gndfit
