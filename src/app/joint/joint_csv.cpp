// SPDX-License-Identifier: MIT
#include "app/joint/joint_csv.hpp"

#include "app/common/nec_cards.hpp"
#include "number/shortest.hpp"

namespace gndfit {

void write_joint_csv(std::ostream& out, const JointSolution& s) {
  const bool sd = s.fit.covariance.present;
  out << "frequency_mhz,permittivity,permittivity_sd,conductivity_ms_per_m,"
         "conductivity_sd_ms_per_m,skin_depth_m\n";
  for (const JointBand& b : s.bands) {
    out << shortest(b.frequency_mhz) << ',' << shortest(b.estimate.value.permittivity) << ','
        << (sd ? shortest(b.estimate.permittivity_sd) : "") << ','
        << shortest(b.estimate.value.conductivity_ms) << ','
        << (sd ? shortest(b.estimate.conductivity_sd_ms) : "") << ',' << shortest(b.skin_depth_m)
        << '\n';
  }
}

void write_joint_nec_cards(std::ostream& out, const JointSolution& s) {
  for (const JointBand& b : s.bands) {
    write_nec_card_set(out, shortest(b.estimate.value.permittivity),
                       shortest(b.estimate.value.conductivity_ms / 1000.0),
                       shortest(b.frequency_mhz));
  }
}

}  // namespace gndfit
