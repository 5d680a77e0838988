// SPDX-License-Identifier: MIT
#include "app/common/nec_card_text.hpp"

namespace gndfit {

std::string nec_card_set(std::string_view permittivity, std::string_view conductivity_s_per_m,
                         std::string_view frequency_mhz) {
  std::string cards = "GN 2 0 0 0 ";
  cards.append(permittivity).append(1, ' ').append(conductivity_s_per_m).append("\nFR 0 1 0 0 ");
  cards.append(frequency_mhz).append(" 0\nXQ\n");
  return cards;
}

}  // namespace gndfit
