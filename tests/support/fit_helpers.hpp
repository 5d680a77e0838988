// SPDX-License-Identifier: MIT
#pragma once
// Small helpers shared by the model tests.
#include <cstdint>
#include <cstring>

#include "model/band_values.hpp"
#include "model/fit_state.hpp"
#include "model/ground_model.hpp"
#include "model/measurement_start.hpp"
#include "model/simplex_fit.hpp"

namespace gndfit::test {

// Distance of two finite singles in units in the last place.
inline std::int64_t ulp_distance(float a, float b) {
  auto ordered = [](float f) {
    std::int32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits < 0 ? std::int64_t{INT32_MIN} - bits : std::int64_t{bits};
  };
  const std::int64_t d = ordered(a) - ordered(b);
  return d < 0 ? -d : d;
}

}  // namespace gndfit::test
