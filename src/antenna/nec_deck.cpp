// SPDX-License-Identifier: MIT
#include "antenna/nec_deck.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include "antenna/card_words.hpp"
#include "number/decimal_text.hpp"

namespace gndfit {
namespace {

// The fields after a card's two-letter mnemonic: NEC-2's free form, split
// by blanks, tabs or commas.
std::vector<std::string_view> card_fields(std::string_view line) {
  return card_words(line.substr(std::min<std::size_t>(2, line.size())), " \t,");
}

std::string mnemonic_of(std::string_view line) {
  std::string m(line.substr(0, std::min<std::size_t>(2, line.size())));
  for (char& c : m) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return m;
}

// A field read as a number the way NEC reads a floating-point field; an
// integer field such as "1" reads as well.
bool field_number(std::string_view field, double& value) { return read_decimal(field, value); }

// GW ITG NS X1 Y1 Z1 X2 Y2 Z2 RAD: both ends at or above the ground.
bool check_wire(std::string_view line, std::string& reason) {
  const std::vector<std::string_view> f = card_fields(line);
  if (f.size() < 8) {
    reason = "a GW card needs the tag, the segments and both ends' x, y and z";
    return false;
  }
  for (const std::size_t i : {std::size_t{4}, std::size_t{7}}) {
    double z = 0.0;
    if (!field_number(f[i], z)) {
      reason = "the GW card's z '" + std::string(f[i]) + "' is not a number";
      return false;
    }
    if (z < 0.0) {
      reason = "the wire's end at z = " + std::string(f[i]) +
               " m lies below the ground (z = 0); over a ground every wire must be at or above it";
      return false;
    }
  }
  return true;
}

// EX I1 ...: type 0 (applied field) and 5 (current-slope discontinuity)
// are NEC-2's voltage sources.
bool check_source(std::string_view line, std::string& reason) {
  const std::vector<std::string_view> f = card_fields(line);
  double type = 0.0;
  if (!f.empty() && !field_number(f[0], type)) {
    reason = "the EX card's type '" + std::string(f[0]) + "' is not a number";
    return false;
  }
  if (type != 0.0 && type != 5.0) {
    reason =
        "the EX card is not a voltage source (its type is " + std::string(f[0]) + "; 0 or 5 is)";
    return false;
  }
  return true;
}

bool is_kept_program_card(const std::string& m) {
  return m == "EX" || m == "LD" || m == "TL" || m == "NT";
}

// Cards gndfit writes itself for each run, or that only end or repeat one.
bool is_replaced_program_card(const std::string& m) {
  static constexpr std::array<const char*, 8> kReplaced = {"GN", "FR", "RP", "XQ",
                                                           "EN", "NE", "NH", "PQ"};
  return std::find(kReplaced.begin(), kReplaced.end(), m) != kReplaced.end();
}

}  // namespace

bool read_nec_deck(std::string_view text, NecDeck& deck, NecDeckError& error) {
  deck = NecDeck{};
  bool geometry_ended = false;
  long sources = 0;
  long number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    const std::string m = mnemonic_of(line);
    if (!geometry_ended) {
      if (m == "GW" && !check_wire(line, error.reason)) {
        error.line = number;
        return false;
      }
      if (m == "GE") {
        deck.geometry.emplace_back("GE 1");
        geometry_ended = true;
      } else {
        deck.geometry.emplace_back(line);
      }
      continue;
    }
    if (m == "EN") break;
    if (is_kept_program_card(m)) {
      if (m == "EX") {
        if (++sources > 1) {
          error = {number, "a second EX card: the antenna runs take one voltage source"};
          return false;
        }
        if (!check_source(line, error.reason)) {
          error.line = number;
          return false;
        }
      }
      deck.antenna.emplace_back(line);
    } else if (!is_replaced_program_card(m) &&
               std::find(deck.ignored.begin(), deck.ignored.end(), m) == deck.ignored.end()) {
      deck.ignored.push_back(m);
    }
  }
  if (!geometry_ended) {
    error = {0, "the deck has no GE card (the end of its geometry)"};
    return false;
  }
  if (sources == 0) {
    error = {0, "the deck has no EX card (its voltage source)"};
    return false;
  }
  return true;
}

std::string nec_run_deck(const NecDeck& deck, const NecRunCards& cards) {
  std::string out;
  for (const std::string& line : deck.geometry) out += line + '\n';
  for (const std::string& line : deck.antenna) out += line + '\n';
  out += "GN 2 0 0 0 " + cards.permittivity + ' ' + cards.conductivity_s_per_m + '\n';
  out += "FR 0 1 0 0 " + cards.frequency_mhz + " 0\n";
  out += "RP 0 91 73 1001 0 0 1 5\n";
  out += "EN\n";
  return out;
}

}  // namespace gndfit
