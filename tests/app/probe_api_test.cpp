// SPDX-License-Identifier: MIT
// The probe sweeps' C API, as the page calls it: a sweep's text in, its
// ground points and their joint fit out, or the error with its file and
// line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "app/api/probe_api.h"
#include "support/json_syntax.hpp"

namespace gndfit {
namespace {

// A short probe of C0 = 10 pF in a ground of 20 and 10 mS/m at 10 MHz and
// 18 and 12 mS/m at 20 MHz: Y = sigma C0 / eps0 + j omega C0 eps_r,
// written normalised by R = 50 ohms (computed apart, in Python).
constexpr const char* kSweep =
    "! a short probe in the ground\n"
    "# MHz Y RI R 50\n"
    "10 0.5647045336865095 0.6283185307179586\n"
    "20 0.6776454404238114 1.1309733552923256\n";
// The same probe in air: Y = j omega C0.
constexpr const char* kAir =
    "# MHz Y RI R 50\n"
    "10 0 0.031415926535897934\n"
    "20 0 0.06283185307179587\n";

// The number after the n-th (from 0) `"name":` in `json`.
double number_after(const std::string& json, const std::string& name, int n = 0) {
  std::size_t at = 0;
  for (int i = 0; i <= n; ++i) {
    at = json.find("\"" + name + "\":", at);
    if (at == std::string::npos) return -1.0;
    at += name.size() + 3;
  }
  return std::strtod(json.c_str() + at, nullptr);
}

TEST(ProbeApi, ASweepGivesItsPointsAndTheirJointFit) {
  using Run = std::pair<const char*, const char*>;  // the setting, the air sweep
  for (const auto& [setting, air] : {Run{"short,c0=10", nullptr}, Run{"short,air=air.s1p", kAir}}) {
    const std::string json = gndfit_probe_json(setting, "ground.s1p", kSweep, air, nullptr);
    ASSERT_TRUE(test::JsonSyntax::valid(json)) << json;
    ASSERT_EQ(json.find("\"errors\""), std::string::npos) << json;
    const std::string points = json.substr(0, json.find("\"joint\""));
    EXPECT_NEAR(number_after(points, "permittivity", 0), 20.0, 1e-9) << setting;
    EXPECT_NEAR(number_after(points, "conductivity_ms_per_m", 0), 10.0, 1e-9) << setting;
    EXPECT_NEAR(number_after(points, "permittivity", 1), 18.0, 1e-9) << setting;
    EXPECT_NEAR(number_after(points, "conductivity_ms_per_m", 1), 12.0, 1e-9) << setting;
    EXPECT_EQ(number_after(points, "line", 1), 4.0) << setting;
    EXPECT_NE(points.find("\"csv\":\"frequency_mhz,permittivity,conductivity_ms_per_m\\u000a10,"),
              std::string::npos)
        << points;
    // The joint fit's measurements keep the sweep's lines; its bands are
    // the table's ten.
    const std::string joint = json.substr(json.find("\"joint\""));
    EXPECT_EQ(number_after(joint, "line", 0), 3.0) << joint;
    EXPECT_NE(joint.find("\"degrees_of_freedom\":2"), std::string::npos) << joint;
    EXPECT_NE(joint.find("\"frequency_mhz\":28.5"), std::string::npos) << joint;
  }
  const std::string air = gndfit_probe_json("short,air=air.s1p", "g", kSweep, kAir, nullptr);
  EXPECT_NE(air.find("\"notes\":[\"C0 from air.s1p: 10 pF"), std::string::npos) << air;
}

TEST(ProbeApi, TheModelAtChosenFrequencies) {
  const std::string json = gndfit_probe_json("short,c0=10", "g", kSweep, nullptr, "3.6,7");
  const std::string joint = json.substr(json.find("\"joint\""));
  const std::string bands = joint.substr(joint.find("\"bands\""));
  EXPECT_EQ(number_after(bands, "frequency_mhz", 0), 3.6) << bands;
  EXPECT_EQ(number_after(bands, "frequency_mhz", 1), 7.0) << bands;
  EXPECT_EQ(number_after(bands, "frequency_mhz", 2), -1.0) << bands;
}

// Each refusal is one error of the whole input, valid JSON, with the
// sweep's name and line where the fault is in the file.
TEST(ProbeApi, RefusalsSayWhatIsWrong) {
  const struct {
    const char* setting;
    const char* sweep;
    const char* air;
    const char* frequencies;
    const char* reason;
  } cases[] = {
      {"short", kSweep, nullptr, nullptr, "the probe needs 'c0=picofarads' (or 'air=FILE')"},
      {"short,air=air.s1p", kSweep, nullptr, nullptr,
       "the probe setting takes C0 from a sweep in air (air.s1p): give that sweep too"},
      {"short,c0=10", kSweep, nullptr, "7,,14", "invalid frequency list"},
      {"short,c0=10", "# MHz Y RI R 50\n10 1 2\n5 1 2\n", nullptr, nullptr,
       "ground.s1p:line 3: "},
      {"short,air=air.s1p", kSweep, "# MHz Y RI R 50\n10 0 -1\n", nullptr,
       "air.s1p:line 2: at 10 MHz the probe in air is not a capacitance"},
      {"short,c0=10", "", nullptr, nullptr, "ground.s1p:line "},
      // Never C0 = C_air without a word: the liquid's sweep is not taken.
      {"short,air=air.s1p,liquid=w.csv,liquid_er=78.4", kSweep, kAir, nullptr,
       "the probe setting takes a sweep in a liquid (w.csv), which this entry does not take yet"},
  };
  for (const auto& c : cases) {
    const std::string json =
        gndfit_probe_json(c.setting, "ground.s1p", c.sweep, c.air, c.frequencies);
    EXPECT_TRUE(test::JsonSyntax::valid(json)) << json;
    EXPECT_EQ(json.rfind("{\"format\":2,\"errors\":[{\"line\":null,\"reason\":\"", 0), 0u) << json;
    EXPECT_NE(json.find(c.reason), std::string::npos) << c.setting << ": " << json;
    EXPECT_EQ(json.find("\"points\""), std::string::npos) << json;
  }
  // What was learnt before the fault is kept: C0 from the air sweep.
  const std::string late = gndfit_probe_json("short,air=air.s1p", "ground.s1p",
                                             "# MHz Y RI R 50\n10 1 2\n5 1 2\n", kAir, nullptr);
  EXPECT_NE(late.find("\"notes\":[\"C0 from air.s1p: 10 pF"), std::string::npos) << late;
}

}  // namespace
}  // namespace gndfit
