// SPDX-License-Identifier: MIT
// --probe's SPEC: each probe and setting read, every wrong one refused.
#include "sweep/probe_setting.hpp"

#include <gtest/gtest.h>

namespace gndfit {
namespace {

// The setting into `probe`, or false with the failure's reason in `error`.
bool parse_probe_setting(std::string_view text, ProbeSetting& probe, std::string& error) {
  const Outcome<ProbeSetting> parsed = gndfit::parse_probe_setting(text);
  if (parsed.failed()) {
    EXPECT_EQ(parsed.failure().status, kUsageStatus) << text;
    error = parsed.failure().reason;
    return false;
  }
  probe = parsed.value();
  return true;
}

TEST(ProbeSetting, ReadsEachProbe) {
  ProbeSetting probe;
  std::string error;
  ASSERT_TRUE(parse_probe_setting("short,c0=4.7", probe, error)) << error;
  EXPECT_EQ(probe.kind, ProbeKind::short_probe);
  EXPECT_DOUBLE_EQ(probe.c0_farads, 4.7e-12);
  EXPECT_TRUE(probe.air_file.empty());
  EXPECT_EQ(probe.lead_henries, 0.0);
  EXPECT_EQ(probe.stray_farads, 0.0);
  ASSERT_TRUE(parse_probe_setting("short,cs=3,c0=4.7,l=20", probe, error)) << error;
  EXPECT_DOUBLE_EQ(probe.lead_henries, 20e-9);
  EXPECT_DOUBLE_EQ(probe.stray_farads, 3e-12);
  ASSERT_TRUE(parse_probe_setting("short,c0=4.7,l=0", probe, error)) << error;
  ASSERT_TRUE(parse_probe_setting("short,liquid_er=78.4,air=a.s1p,liquid=w.csv", probe, error))
      << error;
  EXPECT_EQ(probe.liquid_file, "w.csv");
  EXPECT_EQ(probe.liquid_permittivity, 78.4);
  ASSERT_TRUE(parse_probe_setting("short,air=in air.s1p", probe, error)) << error;
  EXPECT_TRUE(probe.liquid_file.empty());
  EXPECT_EQ(probe.air_file, "in air.s1p");
  ASSERT_TRUE(parse_probe_setting("line,z0=377,length=1.5", probe, error)) << error;
  EXPECT_EQ(probe.kind, ProbeKind::line_probe);
  EXPECT_EQ(probe.length_m, 1.5);
  EXPECT_EQ(probe.z0_ohms, 377.0);
}

TEST(ProbeSetting, RefusesWhatIsMissingUnknownOrNotPositive) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "unknown probe '': expected 'short' or 'line'"},
      {"coax,c0=5", "unknown probe 'coax': expected 'short' or 'line'"},
      {"short", "the probe needs 'c0=picofarads' (or 'air=FILE')"},
      {"short,c0=0",
       "probe setting 'c0=0': expected a positive number of picofarads (or 'air=FILE')"},
      {"short,c0=-5",
       "probe setting 'c0=-5': expected a positive number of picofarads (or 'air=FILE')"},
      {"short,c0=5pF",
       "probe setting 'c0=5pF': expected a positive number of picofarads (or 'air=FILE')"},
      {"short,c0=inf",
       "probe setting 'c0=inf': expected a positive number of picofarads (or 'air=FILE')"},
      {"short,c0=5,c0=6", "probe setting 'c0' is given twice"},
      {"short,c0=5,air=a.s1p", "give the short probe 'c0=PF' or 'air=FILE', not both"},
      {"short,air=", "probe setting 'air=' needs a file"},
      {"short,c0", "probe setting 'c0' is not NAME=VALUE"},
      {"short,c0=5,", "probe setting '' is not NAME=VALUE"},
      {"short,,c0=5", "probe setting '' is not NAME=VALUE"},
      {"short,length=1", "unknown setting 'length' for a short probe"},
      {"short,c0=5,l=-1", "probe setting 'l=-1': expected a number of nanohenries, 0 or more"},
      {"short,c0=5,cs=x", "probe setting 'cs=x': expected a number of picofarads, 0 or more"},
      {"short,air=a.s1p,l=20", "the short probe's 'l=NH' and 'cs=PF' go with 'c0=PF'"},
      {"short,c0=5,liquid=w.csv,liquid_er=78",
       "the short probe's 'liquid=FILE,liquid_er=ER' go with 'air=FILE'"},
      {"short,air=a.s1p,liquid_er=78",
       "probe setting 'liquid_er=' needs 'liquid=FILE', the sweep in the liquid"},
      {"short,air=a.s1p,liquid=w.csv", "the probe needs 'liquid_er=relative permittivity'"},
      {"short,air=a.s1p,liquid=w.csv,liquid_er=1",
       "probe setting 'liquid_er=1': a liquid's relative permittivity is above 1 (distilled "
       "water: 78.4 at 25 C)"},
      {"line,length=1", "the probe needs 'z0=ohms'"},
      {"line,z0=300", "the probe needs 'length=metres'"},
      {"line,length=0,z0=300", "probe setting 'length=0': expected a positive number of metres"},
      {"line,length=1,z0=-1", "probe setting 'z0=-1': expected a positive number of ohms"},
      {"line,length=1,z0=300,c0=5", "unknown setting 'c0' for a line probe"},
  };
  for (const auto& [text, message] : cases) {
    ProbeSetting probe;
    std::string error;
    EXPECT_FALSE(parse_probe_setting(text, probe, error)) << text;
    EXPECT_EQ(error, message) << text;
  }
}

}  // namespace
}  // namespace gndfit
