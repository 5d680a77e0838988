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
    EXPECT_TRUE(result.failed) << c.text;
    EXPECT_EQ(result.error.line, c.line) << c.text;
    EXPECT_EQ(result.error.reason, c.reason) << c.text;
    EXPECT_TRUE(result.points.empty()) << c.text;
  }
}

}  // namespace gndfit::test
