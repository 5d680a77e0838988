// SPDX-License-Identifier: MIT
// The joint fit's input, command line and C API: what is accepted, what
// is refused and how it is said.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/api/joint_api.h"
#include "app/common/command_line.hpp"
#include "app/joint/joint_input.hpp"

namespace gndfit {
namespace {

std::vector<std::string> messages(const JointInput& input) {
  std::vector<std::string> out;
  for (const Failure& e : input.errors()) out.push_back(failure_text(e));
  return out;
}

TEST(JointInput, EveryFaultyLineIsReportedWithItsFileAndLine) {
  JointInput input;
  input.start_file("a.txt");
  input.take_line("# f er s");
  input.take_line("1.8, 15\t5\r");
  input.take_line("");
  input.take_line("3.6 13 6 0.5");
  input.take_line("7.1 12 -7");
  input.take_line("7.1 12 nan");
  input.start_file("-");
  input.take_line("14 11 8 0.5 0.3");
  input.take_line("14 11 8 0.5 0");
  input.start_file("a.txt");  // the same file again counts from 1 again
  input.take_line("abc 11 8");
  EXPECT_EQ(messages(input),
            (std::vector<std::string>{
                "a.txt:line 4: expected 3 or 5 numbers, got 4",
                "a.txt:line 5: conductivity must be a finite positive number",
                "a.txt:line 6: conductivity must be a finite positive number",
                "line 1: uncertainties given, but a.txt:line 2 has none",
                "line 2: conductivity uncertainty must be a finite positive number",
                "a.txt:line 1: frequency must be a finite positive number",
            }));
  ASSERT_EQ(input.measurements().size(), 1u);
  EXPECT_EQ(input.measurements()[0].permittivity, 15.0);
  EXPECT_FALSE(input.weighted());
}

TEST(JointInput, ValuesAreReadAsDoublesWithTheirUncertainties) {
  JointInput input;
  input.take_line("1.8 5 10 0.25 0.1");
  input.take_line("  28.5,13,2.5d1,1e-1,&H2");  // the console's number forms
  input.take_line("3.6 13 6");
  ASSERT_EQ(input.measurements().size(), 2u);
  EXPECT_TRUE(input.weighted());
  const LocatedMeasurement& m = input.measurements()[1];
  EXPECT_EQ(m.conductivity_ms, 25.0);
  EXPECT_EQ(m.permittivity_u, 0.1);  // the double nearest 0.1, not a single's
  EXPECT_EQ(m.conductivity_u, 2.0);
  EXPECT_EQ(m.where.line, 2);
  EXPECT_EQ(messages(input),
            std::vector<std::string>{"line 3: no uncertainties given, but line 1 has them"});
}

TEST(JointInput, NoMeasurementAtAllIsAnError) {
  JointInput input;
  input.take_line("# nothing");
  EXPECT_EQ(messages(input), std::vector<std::string>{"no measurement in the input"});
}

TEST(JointCommandLine, OptionsCombineWithJoint) {
  const struct {
    std::vector<std::string_view> arguments;
    RunMode mode;
    JointOutput output;
    std::string error;
  } cases[] = {
      {{"--joint", "a"}, RunMode::joint, JointOutput::report, ""},
      {{"--joint", "--json"}, RunMode::joint, JointOutput::json, ""},
      {{"--csv", "--joint", "--freq", "3.6"}, RunMode::joint, JointOutput::csv, ""},
      {{"--joint", "--freq", "3.6"}, RunMode::joint, JointOutput::report, ""},
      {{"--joint", "--json", "--freq=3.6,7"}, RunMode::joint, JointOutput::json, ""},
      {{"--nec", "7.1", "--joint"}, RunMode::joint, JointOutput::nec, ""},
      {{"--json"}, RunMode::error, JointOutput::report, "option '--json' needs '--joint'"},
      {{"--joint", "--json", "--csv"},
       RunMode::error,
       JointOutput::report,
       "option '--json' excludes '--csv' and '--nec'"},
      {{"--joint", "--csv", "--nec", "7"},
       RunMode::error,
       JointOutput::report,
       "options '--csv' and '--nec' exclude each other"},
      {{"--joint", "--nec", "7", "--freq", "3"},
       RunMode::error,
       JointOutput::report,
       "option '--nec' takes its own list; '--freq' is for the others"},
  };
  for (const auto& c : cases) {
    const CommandLine line = parse_command_line(c.arguments);
    EXPECT_EQ(line.mode, c.mode) << c.arguments[0];
    EXPECT_EQ(line.joint_output, c.output) << c.arguments[0];
    EXPECT_EQ(line.error, c.error);
  }
}

TEST(JointApi, ErrorsAsJson) {
  EXPECT_STREQ(
      gndfit_joint_json("1.8 5 10\n3.6 13\n0 1 1\n"),
      "{\"format\":2,\"errors\":[{\"line\":2,\"reason\":\"expected 3 or 5 numbers, got 2\"},"
      "{\"line\":3,\"reason\":\"frequency must be a finite positive number\"}]}");
  EXPECT_STREQ(
      gndfit_joint_json(nullptr),
      "{\"format\":2,\"errors\":[{\"line\":null,\"reason\":\"no measurement in the input\"}]}");
  EXPECT_STREQ(
      gndfit_joint_json_at("1.8 5 10", "7,,14"),
      "{\"format\":2,\"errors\":[{\"line\":null,\"reason\":\"invalid frequency list: expected "
      "positive numbers in MHz separated by commas\"}]}");
  const std::string edge = gndfit_joint_json("1.8 5 1e-9\n7 10 1e-9\n28 20 1e-9");
  EXPECT_NE(edge.find("\"line\":null,\"reason\":\"the measurements have no best fit"),
            std::string::npos)
      << edge;
}

// Each measurement carries its standard uncertainties when the lines give
// them (the page's error bars), null when they do not.
TEST(JointApi, MeasurementsCarryTheirUncertainties) {
  const std::string weighted = gndfit_joint_json("1.8 5 10 0.5 0.25\n7.1 13 5 2.5d-1 1\n");
  EXPECT_NE(
      weighted.find(R"("line":2,"frequency_mhz":7.1,"permittivity":13,"permittivity_sd":0.25,)"
                    R"("conductivity_ms_per_m":5,"conductivity_sd_ms_per_m":1,)"),
      std::string::npos)
      << weighted;
  EXPECT_NE(weighted.find(R"("permittivity_sd":0.5,"conductivity_ms_per_m":10,)"
                          R"("conductivity_sd_ms_per_m":0.25,)"),
            std::string::npos)
      << weighted;
  const std::string plain = gndfit_joint_json("1.8 5 10\n7.1 13 5\n");
  EXPECT_NE(plain.find(R"("permittivity":13,"permittivity_sd":null,"conductivity_ms_per_m":5,)"
                       R"("conductivity_sd_ms_per_m":null,)"),
            std::string::npos)
      << plain;
  EXPECT_EQ(
      plain.rfind(R"({"format":2,"model_name":"messier","model":{"base_conductivity_s_per_m":)", 0),
      0u)
      << plain;
}

// The model by name: an unknown one and compare without uncertainties are
// errors of the whole text; compare lists every model and the outputs
// follow the chosen one.
TEST(JointApi, ModelByName) {
  const char* sweep = "1.8 48.5 13.2 0.5 0.2\n7.1 31.4 16.8 0.5 0.2\n28 22.3 24.2 0.5 0.2\n";
  EXPECT_STREQ(gndfit_joint_model_json_at(sweep, nullptr, "clay"),
               "{\"format\":2,\"errors\":[{\"line\":null,\"reason\":\"unknown model 'clay': "
               "expected messier, alipio-visacro, power-law or compare\"}]}");
  const std::string plain = gndfit_joint_model_json_at("1.8 5 10\n7.1 13 5\n", "7", "compare");
  EXPECT_NE(plain.find("needs measurements with uncertainties"), std::string::npos) << plain;
  const std::string compared = gndfit_joint_model_json_at(sweep, "7", "compare");
  EXPECT_NE(compared.find(R"("chosen":"alipio-visacro")"), std::string::npos) << compared;
  EXPECT_EQ(compared.rfind(R"({"format":2,"model_name":"alipio-visacro","model":{)", 0), 0u);
  const std::string alone = gndfit_joint_model_json_at(sweep, "7", "alipio-visacro");
  // The chosen model's bands are those of the model fitted alone.
  const auto bands = [](const std::string& json) {
    const std::size_t start = json.find("\"bands\":");
    return json.substr(start, json.find(']', start) - start);
  };
  EXPECT_EQ(bands(compared), bands(alone));
}

TEST(JointApi, TheModelAtChosenFrequencies) {
  const std::string json = gndfit_joint_json_at("1.8 5 10", "1.8,3.6");
  // The measured frequency gives the measurement back; 3.6 is written as
  // typed, not as the single nearest it.
  EXPECT_NE(json.find("\"bands\":[{\"frequency_mhz\":1.8,\"permittivity\":5,"), std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"frequency_mhz\":3.6,"), std::string::npos) << json;
  EXPECT_EQ(json.find("\"frequency_mhz\":28.5"), std::string::npos) << json;
  EXPECT_NE(std::string(gndfit_joint_json("1.8 5 10")).find("\"frequency_mhz\":28.5"),
            std::string::npos);
}

}  // namespace
}  // namespace gndfit
