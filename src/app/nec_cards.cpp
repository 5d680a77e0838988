// SPDX-License-Identifier: MIT
#include "app/nec_cards.hpp"

#include "number/shortest.hpp"

namespace gndfit {

void write_nec_cards(std::ostream& out, std::span<const BandValues> bands) {
  for (const BandValues& b : bands) {
    out << "GN 2 0 0 0 " << shortest(b.model.permittivity) << ' '
        << shortest(static_cast<double>(b.model.conductivity_ms) / 1000.0) << '\n'
        << "FR 0 1 0 0 " << shortest(b.band_mhz) << " 0\n"
        << "XQ\n";
  }
}

}  // namespace gndfit
