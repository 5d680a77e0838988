// SPDX-License-Identifier: MIT
#pragma once
// The sweep readers' refusals, checked one way for each reader: the read
// fails at the line given, with the reason given, and keeps no point.
#include <gtest/gtest.h>

#include <span>
#include <string_view>

#include "sweep/sweep_point.hpp"

namespace gndfit::test {

struct RefusedSweep {
  const char* text;
  long line;
  const char* reason;
};

template <typename Read>
void expect_refused(Read read, std::span<const RefusedSweep> cases) {
  for (const RefusedSweep& c : cases) {
    const SweepRead result = read(std::string_view(c.text));
    if (!result.failed()) {
      ADD_FAILURE() << "accepted: " << c.text;
      continue;
    }
    EXPECT_EQ(result.failure().where.line, c.line) << c.text;
    EXPECT_EQ(result.failure().reason, c.reason) << c.text;
    EXPECT_TRUE(result.value().empty()) << c.text;
  }
}

}  // namespace gndfit::test
