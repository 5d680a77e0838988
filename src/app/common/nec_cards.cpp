// SPDX-License-Identifier: MIT
#include "app/common/nec_cards.hpp"

#include "app/common/nec_card_text.hpp"
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
  out << nec_card_set(permittivity, conductivity_s_per_m, frequency_mhz);
}

}  // namespace gndfit
