// SPDX-License-Identifier: MIT
#include "app/joint/joint_nec.hpp"

#include "app/common/nec_card_text.hpp"
#include "number/shortest.hpp"

namespace gndfit {

std::string joint_nec_cards(const JointSolution& s) {
  std::string cards;
  for (const JointBand& b : s.bands) {
    cards += nec_card_set(shortest(b.estimate.value.permittivity),
                          shortest(b.estimate.value.conductivity_ms / 1000.0),
                          shortest(b.frequency_mhz));
  }
  return cards;
}

}  // namespace gndfit
