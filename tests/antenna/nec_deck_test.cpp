// SPDX-License-Identifier: MIT
// The deck reader keeps the geometry and the antenna's own cards, writes
// each run's deck, and refuses the decks the runs cannot take, naming the
// line.
#include "antenna/nec_deck.hpp"

#include <gtest/gtest.h>

namespace gndfit {
namespace {

TEST(NecDeck, KeepsGeometryAndAntennaCardsAndWritesEachRun) {
  const char* text =
      "CM a dipole\r\n"
      "CE\r\n"
      "GW 1 21 0 -10 10 0 10 10 0.001\r\n"
      "\r\n"
      "GE 0\r\n"
      "GN 1\r\n"
      "LD 5 1 0 0 5.8e7\r\n"
      "EK\r\n"
      "EX 0 1 11 0 1 0\r\n"
      "FR 0 3 0 0 7 0.1\r\n"
      "EK\r\n"
      "TL 1 1 2 1 50 1\r\n"
      "RP 0 19 1 1000 0 0 5 0\r\n"
      "EN\r\n"
      "EX 0 1 1 0 1 0\r\n";  // after EN: not read
  NecDeck deck;
  NecDeckError error;
  ASSERT_TRUE(read_nec_deck(text, deck, error)) << error.reason;
  EXPECT_EQ(deck.ignored, std::vector<std::string>{"EK"});
  EXPECT_EQ(nec_run_deck(deck, {"13.5", "0.0052", "7.1"}),
            "CM a dipole\n"
            "CE\n"
            "GW 1 21 0 -10 10 0 10 10 0.001\n"
            "GE 1\n"
            "LD 5 1 0 0 5.8e7\n"
            "EX 0 1 11 0 1 0\n"
            "TL 1 1 2 1 50 1\n"
            "GN 2 0 0 0 13.5 0.0052\n"
            "FR 0 1 0 0 7.1 0\n"
            "RP 0 91 73 1001 0 0 1 5\n"
            "EN\n");
}

TEST(NecDeck, AWireMayTouchTheGroundAndFieldsMayBeCommaSeparated) {
  NecDeck deck;
  NecDeckError error;
  EXPECT_TRUE(read_nec_deck("CE\nGW,1,5,0,0,0,0,0,10,0.001\nGE\nEX 5 1 1 0 1\n", deck, error))
      << error.reason;
}

TEST(NecDeck, RefusesWhatTheRunsCannotTakeNamingTheLine) {
  struct Case {
    const char* text;
    long line;
    const char* reason_part;
  };
  const Case cases[] = {
      {"CE\nGW 1 5 0 0 1 0 0 9 0.001\nEX 0 1 1 0 1\n", 0, "no GE card"},
      {"CE\nGW 1 5 0 0 1 0 0 9 0.001\nGE 1\nLD 0 1 1 1 5\n", 0, "no EX card"},
      {"CE\nGW 1 5 0 0 1 0 0 9 0.001\nGE 1\nEX 0 1 1 0 1\nEX 0 1 2 0 1\n", 5, "a second EX"},
      {"CE\nGW 1 5 0 0 1 0 0 9 0.001\nGE 1\nEX 1 1 1 0 1\n", 4, "not a voltage source"},
      {"CM\nCE\nGW 1 5 0 0 1 0 0 9 0.001\nGW 2 5 0 0 1 0 0 -0.01 0.001\nGE 1\nEX 0 1 1 0 1\n", 4,
       "z = -0.01 m lies below the ground"},
      {"CE\nGW 1 5 0 0 -2 0 0 9 0.001\nGE 1\nEX 0 1 1 0 1\n", 2, "z = -2 m"},
      {"CE\nGW 1 5 0 0 x 0 0 9 0.001\nGE 1\nEX 0 1 1 0 1\n", 2, "'x' is not a number"},
      {"CE\nGW 1 5 0 0\nGE 1\nEX 0 1 1 0 1\n", 2, "both ends"},
      {"CE\nGE 1\nEN\nEX 0 1 1 0 1\n", 0, "no EX card"},
  };
  for (const Case& c : cases) {
    NecDeck deck;
    NecDeckError error;
    EXPECT_FALSE(read_nec_deck(c.text, deck, error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_NE(error.reason.find(c.reason_part), std::string::npos)
        << c.text << ": " << error.reason;
  }
}

}  // namespace
}  // namespace gndfit
