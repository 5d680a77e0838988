// SPDX-License-Identifier: MIT
#include "app/joint/joint_csv.hpp"

#include "app/joint/joint_nec.hpp"
#include "number/shortest.hpp"

namespace gndfit {

void write_joint_csv(std::ostream& out, const JointSolution& s) {
  const bool sd = s.fit.covariance_present;
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

void write_joint_nec_cards(std::ostream& out, const JointSolution& s) { out << joint_nec_cards(s); }

}  // namespace gndfit
