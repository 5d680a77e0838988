// SPDX-License-Identifier: MIT
#pragma once
// --nec: one measurement, written as NEC-2 ground, frequency and execute
// cards for each frequency.
#include <ostream>
#include <span>
#include <string_view>

#include "model/band_values.hpp"

namespace gndfit {

// NEC-2 cards, free-field form, for each frequency: a Sommerfeld-Norton
// ground with the model's values there, that one frequency, and execute.
void write_nec_cards(std::ostream& out, std::span<const BandValues> bands);

// The three cards of one frequency, in the texts the caller gives: the
// ground's relative permittivity and conductivity in S/m, the MHz.  Also
// the joint fit's cards.
void write_nec_card_set(std::ostream& out, std::string_view permittivity,
                        std::string_view conductivity_s_per_m, std::string_view frequency_mhz);

}  // namespace gndfit
