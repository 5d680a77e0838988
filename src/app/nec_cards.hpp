// SPDX-License-Identifier: MIT
#pragma once
// --nec: one measurement, written as NEC-2 ground, frequency and execute
// cards for each frequency.
#include <ostream>
#include <span>

#include "app/band_values.hpp"

namespace gndfit {

// NEC-2 cards, free-field form, for each frequency: a Sommerfeld-Norton
// ground with the model's values there, that one frequency, and execute.
void write_nec_cards(std::ostream& out, std::span<const BandValues> bands);

}  // namespace gndfit
