// SPDX-License-Identifier: MIT
#pragma once
// The NEC-2 cards of one frequency as text, apart from any stream, so that
// the C APIs (and the page's module) can give them without linking one.
#include <string>
#include <string_view>

namespace gndfit {

// A Sommerfeld-Norton ground with the texts given (relative permittivity,
// conductivity in S/m), that one frequency (MHz), and execute.
std::string nec_card_set(std::string_view permittivity, std::string_view conductivity_s_per_m,
                         std::string_view frequency_mhz);

}  // namespace gndfit
