// SPDX-License-Identifier: MIT
#include "model/ground.hpp"

#include <cmath>

namespace gndfit {

double skin_depth_m(double frequency_mhz, const GroundValues& ground) {
  const double omega = angular_frequency(frequency_mhz);
  const double loss =
      ground.conductivity_ms / 1000.0 / (omega * kVacuumPermittivity * ground.permittivity);
  // sqrt(1 + t^2) - 1 without the cancellation at small t.
  const double excess = loss * loss / (std::sqrt(1.0 + loss * loss) + 1.0);
  return kSpeedOfLight / (omega * std::sqrt(ground.permittivity / 2.0 * excess));
}

}  // namespace gndfit
