// SPDX-License-Identifier: MIT
// The probe sweeps' C API, as the page calls it: a sweep's text in, its
// ground points and their joint fit out, or the error with its file and
// line.
#include "app/api/probe_api.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

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
    const std::string json =
        gndfit_probe_json(setting, "ground.s1p", kSweep, air, nullptr, nullptr, nullptr);
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
  const std::string air =
      gndfit_probe_json("short,air=air.s1p", "g", kSweep, kAir, nullptr, nullptr, nullptr);
  EXPECT_NE(air.find("\"notes\":[\"C0 from air.s1p: 10 pF"), std::string::npos) << air;
}

TEST(ProbeApi, TheModelAtChosenFrequencies) {
  const std::string json =
      gndfit_probe_json("short,c0=10", "g", kSweep, nullptr, nullptr, "3.6,7", nullptr);
  const std::string joint = json.substr(json.find("\"joint\""));
  const std::string bands = joint.substr(joint.find("\"bands\""));
  EXPECT_EQ(number_after(bands, "frequency_mhz", 0), 3.6) << bands;
  EXPECT_EQ(number_after(bands, "frequency_mhz", 1), 7.0) << bands;
  EXPECT_EQ(number_after(bands, "frequency_mhz", 2), -1.0) << bands;
}

// The model named reaches the fit (compare with u_gamma only, as the
// command line's); another name is an error of the whole input.
TEST(ProbeApi, TheModelNamedIsFitted) {
  const std::string one =
      gndfit_probe_json("short,c0=10", "g", kSweep, nullptr, nullptr, nullptr, "alipio-visacro");
  EXPECT_NE(
      one.find(
          "\"model_name\":\"alipio-visacro\",\"model\":{\"low_frequency_conductivity_ms_per_m\""),
      std::string::npos)
      << one;
  const std::string compared = gndfit_probe_json("short,c0=10,u_gamma=0.01", "g", kSweep, nullptr,
                                                 nullptr, nullptr, "compare");
  ASSERT_TRUE(test::JsonSyntax::valid(compared)) << compared;
  EXPECT_NE(compared.find("\"chosen\":"), std::string::npos) << compared;
  const std::string unweighted =
      gndfit_probe_json("short,c0=10", "g", kSweep, nullptr, nullptr, nullptr, "compare");
  EXPECT_NE(
      unweighted.find("\"joint\":{\"errors\":[{\"line\":null,\"reason\":\"'--model compare' needs"),
      std::string::npos)
      << unweighted;
  const std::string unknown =
      gndfit_probe_json("short,c0=10", "g", kSweep, nullptr, nullptr, nullptr, "debye");
  EXPECT_EQ(unknown.rfind(
                "{\"format\":2,\"errors\":[{\"line\":null,\"reason\":\"unknown model 'debye'", 0),
            0u)
      << unknown;
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
    const char* liquid = nullptr;
  } cases[] = {
      {"short", kSweep, nullptr, nullptr, "the probe needs 'c0=picofarads' (or 'air=FILE')"},
      {"short,air=air.s1p", kSweep, nullptr, nullptr,
       "the probe setting takes C0 from a sweep in air (air.s1p): give that sweep too"},
      {"short,c0=10", kSweep, nullptr, "7,,14", "invalid frequency list"},
      {"short,c0=10", "# MHz Y RI R 50\n10 1 2\n5 1 2\n", nullptr, nullptr, "ground.s1p:line 3: "},
      {"short,air=air.s1p", kSweep, "# MHz Y RI R 50\n10 0 -1\n", nullptr,
       "air.s1p:line 2: at 10 MHz the probe in air is not a capacitance"},
      {"short,c0=10", "", nullptr, nullptr, "ground.s1p:line "},
      // Never C0 = C_air without a word when the liquid's sweep is missing.
      {"short,air=air.s1p,liquid=w.csv,liquid_er=78.4", kSweep, kAir, nullptr,
       "the probe setting takes C0 and Cs apart from a sweep in a liquid (w.csv): give that "
       "sweep too"},
      {"short,air=air.s1p,liquid=w.csv,liquid_er=78.4", kSweep, kAir, nullptr,
       "w.csv:line 2: ", "# MHz Y RI R 50\nten 1 2\n"},
  };
  for (const auto& c : cases) {
    const std::string json = gndfit_probe_json(c.setting, "ground.s1p", c.sweep, c.air, c.liquid,
                                               c.frequencies, nullptr);
    EXPECT_TRUE(test::JsonSyntax::valid(json)) << json;
    EXPECT_EQ(json.rfind("{\"format\":2,\"errors\":[{\"line\":null,\"reason\":\"", 0), 0u) << json;
    EXPECT_NE(json.find(c.reason), std::string::npos) << c.setting << ": " << json;
    EXPECT_EQ(json.find("\"points\""), std::string::npos) << json;
  }
  // What was learnt before the fault is kept: C0 from the air sweep.
  const std::string late =
      gndfit_probe_json("short,air=air.s1p", "ground.s1p", "# MHz Y RI R 50\n10 1 2\n5 1 2\n", kAir,
                        nullptr, nullptr, nullptr);
  EXPECT_NE(late.find("\"notes\":[\"C0 from air.s1p: 10 pF"), std::string::npos) << late;
}

// The short probe of C0 = 10 pF behind leads of 20 nH and a stray
// capacitance of 3 pF, in air, in distilled water (78.4, 50 mS/m) and in
// the ground of kSweep (computed apart, in Python).
constexpr const char* kFixtureAir =
    "# MHz Y RI R 50\n"
    "10 0 0.04088266805576674\n"
    "20 0 0.08201815548062778\n";
constexpr const char* kFixtureWater =
    "# MHz Y RI R 50\n"
    "10 3.1917954471521126 2.3947413747695068\n"
    "20 4.828095795153317 5.668601366365597\n";
constexpr const char* kFixtureGround =
    "# MHz Y RI R 50\n"
    "10 0.5831303696607536 0.6397207850953827\n"
    "20 0.7623348595535027 1.192795412630268\n";

// The liquid's sweep reaches the conversion: C0 and Cs apart, and the
// ground behind them; with u_gamma each point has its uncertainties,
// u_sigma = omega eps0 u_eps_r.
TEST(ProbeApi, AirAndLiquidSweepsCalibrateTheFixture) {
  const std::string json =
      gndfit_probe_json("short,air=air.s1p,liquid=water.s1p,liquid_er=78.4,u_gamma=0.01",
                        "ground.s1p", kFixtureGround, kFixtureAir, kFixtureWater, nullptr, nullptr);
  ASSERT_TRUE(test::JsonSyntax::valid(json)) << json;
  ASSERT_EQ(json.find("\"errors\""), std::string::npos) << json;
  EXPECT_NE(json.find("C0 and Cs from air.s1p and water.s1p: C0 = 10 pF, Cs = 3 pF"),
            std::string::npos)
      << json;
  const std::string points = json.substr(0, json.find("\"left_out\""));
  EXPECT_NEAR(number_after(points, "permittivity", 0), 20.0, 2e-5) << points;
  EXPECT_NEAR(number_after(points, "conductivity_ms_per_m", 0), 10.0, 1e-5) << points;
  EXPECT_NEAR(number_after(points, "permittivity", 1), 18.0, 2e-5) << points;
  EXPECT_NEAR(number_after(points, "conductivity_ms_per_m", 1), 12.0, 1e-5) << points;
  for (int i = 0; i < 2; ++i) {
    const double u = number_after(points, "permittivity_u", i);
    const double omega_eps0 = 2e7 * (i + 1) * 3.141592653589793 * 8.8541878128e-12;
    EXPECT_GT(u, 0.0) << points;
    EXPECT_NEAR(number_after(points, "conductivity_u_ms_per_m", i), 1000.0 * omega_eps0 * u,
                1e-12 * u)
        << points;
  }
  EXPECT_NE(json.find("\"left_out\":[]"), std::string::npos) << json;
  EXPECT_NE(json.find("permittivity_u,conductivity_u_ms_per_m\\u000a10,"), std::string::npos)
      << json;
}

// A 2 m line probe over a ground of 5 mS/m and 13 (computed apart, in
// Python): from 2 to 20 MHz the branch cannot be followed, so 20 MHz is
// left out, listed with its file, line and reason.
TEST(ProbeApi, LeftOutPointsAreListed) {
  constexpr const char* kLine =
      "! a 2 m line\n"
      "# MHz Y RI R 50.0\n"
      "1.0 1.0307549848912132 0.35631920301914194\n"
      "1.5 1.17612799437865 0.4194644185057607\n"
      "2.0 1.3329402439817586 0.44859101876882684\n"
      "20.0 0.9715877196691551 -0.15880833024956575\n";
  const std::string json = gndfit_probe_json("line,length=2,z0=300", "long.s1p", kLine, nullptr,
                                             nullptr, nullptr, nullptr);
  ASSERT_TRUE(test::JsonSyntax::valid(json)) << json;
  EXPECT_NE(json.find("\"left_out\":[{\"file\":\"long.s1p\",\"line\":6,\"frequency_mhz\":20,"
                      "\"reason\":\"not followed from the frequency below\"}]"),
            std::string::npos)
      << json;
  EXPECT_NEAR(number_after(json, "permittivity", 2), 47.18159933347111, 1e-6) << json;
  EXPECT_EQ(json.find("\"permittivity_u\""), std::string::npos) << json;
}

}  // namespace
}  // namespace gndfit
