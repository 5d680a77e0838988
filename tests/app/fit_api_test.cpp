// SPDX-License-Identifier: MIT
// The C API against the console program itself: for measurements each run
// alone (as the API fits each from a fresh state), the API's field texts,
// laid out as the table lays them out, must be the rows the program prints.
#include "app/api/fit_api.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/program/program.hpp"
#include "app/program/table_rows.hpp"
#include "support/json_syntax.hpp"
#include "support/memory_console.hpp"

namespace gndfit {
namespace {

// The program's band, value and depth rows for one measurement run alone.
std::vector<std::string> console_rows(const std::string& line) {
  MemoryConsole console = MemoryConsole::redirected(line + "\r\n");
  Program program(console, "");
  program.enter();
  while (program.run_pass()) {
  }
  program.end_run();
  std::vector<std::string> rows;
  std::istringstream out(console.raw_output);
  for (std::string row; std::getline(out, row);) {
    if (!row.empty() && row.back() == '\r') row.pop_back();
    if (row.find("    1.8        3.7") == 0 || !rows.empty()) rows.push_back(row);
    if (rows.size() == 3) break;
  }
  return rows;
}

// The table's rows as plain lines, colours dropped.
class LineRows : public TableRowSink {
 public:
  void set_colour(int) override {}
  void write(std::string_view text, bool ends_line) override {
    lines.back() += text;
    if (ends_line) end_line();
  }
  void end_line() override { lines.emplace_back(); }
  std::vector<std::string> lines{1};
};

std::vector<std::string> api_rows(const gndfit_result& r) {
  std::vector<BandFields> fields;
  for (const gndfit_band& b : r.bands) {
    fields.push_back({b.band_text, b.permittivity_text, b.conductivity_text, b.depth_text});
  }
  LineRows rows;
  std::string work;
  write_table_rows(fields, rows, work);
  return rows.lines;
}

void expect_rows_match(const char* golden, int count) {
  std::ifstream in(std::string(GNDFIT_TEST_DATA "/golden/") + golden + ".in", std::ios::binary);
  std::string line;
  for (int n = 0; n < count && std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    gndfit_result r;
    gndfit_fit_text(line.c_str(), &r);
    ASSERT_EQ(r.table, 1) << line;
    EXPECT_EQ(api_rows(r), console_rows(line)) << golden << " line " << n + 1 << ": " << line;
  }
}

TEST(FitApi, TextsAreTheConsoleRowsOfTheMeasurementRunAlone) {
  expect_rows_match("golden_01", 40);
  expect_rows_match("golden_05", 40);  // extreme values: % markers, exponents, NaN
}

TEST(JsonSyntaxCheck, RefusesWhatJsonHasNot) {
  using test::JsonSyntax;
  for (const char* good : {R"({"a":[1,-0.5,2e-3,true,null],"b":"x\u0041\n"})", "[]", "{}", "0"}) {
    EXPECT_TRUE(JsonSyntax::valid(good)) << good;
  }
  for (const char* bad : {R"({"a":nan})", R"({"a":inf})", "[1,]", R"({"a" 1})", "01", "1.",
                          R"({"a":1}})", R"(["\x"])", "[1 2]", "{\"a\":-}", ""}) {
    EXPECT_FALSE(JsonSyntax::valid(bad)) << bad;
  }
}

// The page parses the JSON of every measurement it is given: for tables
// with ordinary and extreme values (%, exponents, NaN fields) as for none.
TEST(FitApi, JsonIsValidForEveryKindOfResult) {
  std::ifstream in(std::string(GNDFIT_TEST_DATA "/golden/golden_05.in"), std::ios::binary);
  std::vector<std::string> lines = {"7.1 13 5", "1.8 5 10", "7.1 13", "", "abc", "0.238 152 1.27e-6"};
  std::string line;
  for (int n = 0; n < 60 && std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  for (const std::string& text : lines) {
    const std::string json = gndfit_fit_json(text.c_str());
    EXPECT_TRUE(test::JsonSyntax::valid(json)) << text << " gives " << json;
  }
}

// Singles are written as singles: the text typed and the band's own
// frequency, not the digits of the same value widened to double.
TEST(FitApi, JsonSinglesAreTheirOwnShortestText) {
  const std::string json = gndfit_fit_json("7.1 13.1 5.3");
  const char* measurement = R"({"format":2,"table":true,"frequency_mhz":7.1,"permittivity":13.1,)"
                            R"("conductivity_ms_per_m":5.3,)";
  EXPECT_EQ(json.find(measurement), 0u) << json;
  EXPECT_NE(json.find(R"("bands":[{"frequency_mhz":1.8,"permittivity":)"), std::string::npos)
      << json;
  EXPECT_NE(json.find(R"({"frequency_mhz":28.5,"permittivity":)"), std::string::npos) << json;
}

// 1.8 MHz, 5, 10 mS/m fits a base relative permittivity of 0.125 (by
// hand from the model's closed form): below vacuum, said as --csv says it.
TEST(FitApi, JsonWarnsOfABasePermittivityBelowVacuum) {
  const std::string below = gndfit_fit_json("1.8 5 10");
  EXPECT_NE(below.find(R"("warnings":[{"code":"permittivity-below-vacuum","text":"The base )"
                       R"(relative permittivity is 0.125, below that of vacuum (1))"),
            std::string::npos)
      << below;
  const std::string physical = gndfit_fit_json("7.1 13 5");
  EXPECT_NE(physical.find(R"("warnings":[]})"), std::string::npos) << physical;
}

// The number after the first `"name":` in `json`.
double number_after(const std::string& json, const std::string& name) {
  const std::size_t at = json.find("\"" + name + "\":");
  return at == std::string::npos ? -1.0 : std::strtod(json.c_str() + at + name.size() + 3, nullptr);
}

// The base permittivity is relative, as the joint fit gives it (0.125 and
// 0.009512 S/m for this measurement, by hand from the closed form; the
// simplex stops within its tolerance), and the curve is the fitted model:
// at the measured frequency it gives the measurement back.
TEST(FitApi, JsonModelIsRelativeAndItsCurveGoesThroughTheMeasurement) {
  const std::string json = gndfit_fit_json_at("1.8 5 10", "1,1.8,30");
  ASSERT_TRUE(test::JsonSyntax::valid(json)) << json;
  EXPECT_NEAR(number_after(json, "base_permittivity"), 0.125, 2e-4) << json;
  EXPECT_NEAR(number_after(json, "base_conductivity_s_per_m"), 0.009512, 2e-6) << json;
  EXPECT_NE(json.find(R"("base_permittivity_sd":null)"), std::string::npos) << json;
  const std::string curve = json.substr(json.find("\"curve\":[{\"frequency_mhz\":1,"));
  const std::string at_measurement = curve.substr(curve.find("\"frequency_mhz\":1.8,"));
  EXPECT_NEAR(number_after(at_measurement, "permittivity"), 5.0, 1e-5) << curve;
  EXPECT_NEAR(number_after(at_measurement, "conductivity_ms_per_m"), 10.0, 1e-5) << curve;
  EXPECT_NE(curve.find(R"({"frequency_mhz":30,)"), std::string::npos) << curve;
  EXPECT_EQ(std::string(gndfit_fit_json("1.8 5 10")).find("\"curve\""), std::string::npos);
  EXPECT_STREQ(gndfit_fit_json_at("1.8 5 10", "7,,14"),
               R"({"format":2,"errors":[{"line":null,"reason":"invalid frequency list: )"
               R"(expected positive numbers in MHz separated by commas"}]})");
}

TEST(FitApi, NoTableWhereTheConsolePrintsNone) {
  for (const char* text : {"", "7.1 13", "0 13 5", "7.1,-13,5", "abc", "7.1 13 0x0"}) {
    gndfit_result r;
    gndfit_fit_text(text, &r);
    EXPECT_EQ(r.table, 0) << text;
    EXPECT_EQ(console_rows(text).size(), 0u) << text;
  }
  const std::string json = gndfit_fit_json("7.1 13");
  EXPECT_EQ(json, R"({"format":2,"table":false,"frequency_mhz":7.1,"permittivity":13,)"
                  R"("conductivity_ms_per_m":0})");
}

}  // namespace
}  // namespace gndfit
