// SPDX-License-Identifier: MIT
#pragma once
// A NEC-2 input deck as the antenna runs use it: the user's geometry (up
// to and including GE) and the cards that belong to the antenna itself
// (its one voltage source EX, loads LD, transmission lines TL and networks
// NT); everything about the ground, the frequency and the pattern is
// gndfit's to write, once per frequency.
#include <string>
#include <string_view>
#include <vector>

namespace gndfit {

struct NecDeck {
  std::vector<std::string> geometry;  // comment and geometry cards, GE last (as "GE 1")
  std::vector<std::string> antenna;   // EX, LD, TL and NT, in the deck's order
  std::vector<std::string> ignored;   // mnemonics of other program cards, once each
};

// Where a deck is refused: its line (0 for the deck as a whole) and why.
struct NecDeckError {
  long line = 0;
  std::string reason;
};

// Reads a deck's text.  False, with `error` set, for a deck without GE or
// EX, with more than one EX or an EX that is not a voltage source, or with
// a GW wire whose end lies below the ground (z < 0; z = 0 is a wire that
// touches it, such as a vertical fed at the ground).
bool read_nec_deck(std::string_view text, NecDeck& deck, NecDeckError& error);

// The ground and frequency of one run, as the texts the cards carry.
struct NecRunCards {
  std::string permittivity;          // relative
  std::string conductivity_s_per_m;  // S/m
  std::string frequency_mhz;
};

// The deck of one run: the geometry with a ground present, the antenna's
// cards, a Sommerfeld-Norton ground, the one frequency, and the pattern of
// the upper hemisphere: theta 0 to 90 by 1, phi 0 to 360 by 5 (73 values,
// so that nec2c's average, taken over (NPH - 1) DPH, covers the whole
// circle), power gains with the average gain.
std::string nec_run_deck(const NecDeck& deck, const NecRunCards& cards);

}  // namespace gndfit
