// SPDX-License-Identifier: MIT
#pragma once
#include <array>

namespace gndfit {

// The ten band frequencies of the table, in MHz, as singles.
inline constexpr std::array<float, 10> kBandTable = {1.8f,  3.7f,  5.3f,  7.1f,  10.1f,
                                                     14.2f, 18.1f, 21.2f, 24.9f, 28.5f};

}  // namespace gndfit
