// SPDX-License-Identifier: MIT
// The CSV rows against the tables: every value, shown through the mask the
// table uses for it, must give the table's field.  The tables are the
// golden outputs of an independent implementation.
#include "app/csv/csv_writer.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/program/band_table.hpp"
#include "app/common/command_line.hpp"
#include "app/program/table_rows.hpp"
#include "console/numeric_mask.hpp"

#include "support/read_back.hpp"

namespace gndfit {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// The value and skin-depth rows of every table in a run's output, line
// ends removed.
std::vector<std::pair<std::string, std::string>> tables(const std::string& out) {
  std::vector<std::pair<std::string, std::string>> result;
  std::vector<std::string> lines = split(out, '\n');
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    if (lines[i].find("    1.8        3.7") == 0) result.emplace_back(lines[i + 1], lines[i + 2]);
  }
  return result;
}

using test::read_back;

class CsvAgainstGolden : public testing::TestWithParam<const char*> {};

TEST_P(CsvAgainstGolden, EveryValueShowsAsTheTableShowsIt) {
  const std::string base = std::string(GNDFIT_TEST_DATA "/golden/") + GetParam();
  std::ifstream input(base + ".in", std::ios::binary);
  std::ostringstream csv, errors;
  CsvWriter writer(kBandTable, csv, errors);
  writer.take_stream(input);
  // No line skipped: the only messages are warnings of models below vacuum.
  EXPECT_FALSE(writer.skipped_any());
  for (const std::string& message : split(errors.str(), '\n')) {
    EXPECT_NE(message.find(": warning: permittivity-below-vacuum: "), std::string::npos) << message;
  }
  const auto expected = tables(read_file(base + ".out"));
  const std::vector<std::string> lines = split(csv.str(), '\n');
  ASSERT_EQ(lines.size(), expected.size() * kBandTable.size());

  // The rows built from the CSV values through the table's masks, laid
  // out as the table lays them out.
  NumericMask mask;
  for (std::size_t m = 0; m < expected.size(); ++m) {
    std::string values, depths;
    for (std::size_t b = 0; b < kBandTable.size(); ++b) {
      const std::vector<std::string> f = split(lines[m * kBandTable.size() + b], ',');
      ASSERT_EQ(f.size(), 8u);
      EXPECT_EQ(read_back<float>(f[3]), kBandTable[b]);
      append_auto_mask(mask, values, read_back<float>(f[4]));
      values += ' ';
      append_auto_mask(mask, values, read_back<float>(f[5]));
      mask.append_single(depths, " ###.##", read_back<float>(f[7]));
      if (b + 1 < kBandTable.size()) {
        values += "  ";
        depths += "    ";
      }
      EXPECT_EQ(read_back<double>(f[6]), static_cast<double>(read_back<float>(f[5])) / 1000.0);
    }
    EXPECT_EQ(values, expected[m].first) << GetParam() << " measurement " << m;
    EXPECT_EQ(depths, expected[m].second) << GetParam() << " measurement " << m;
  }
}

// One measurement per line in these; the others run fields across lines.
INSTANTIATE_TEST_SUITE_P(Golden, CsvAgainstGolden,
                         testing::Values("golden_01", "golden_02", "golden_05", "golden_08"));

TEST(CsvLines, EachSkippedLineIsReportedWithItsNumberAndReason) {
  std::istringstream input(
      "7.1 13 5\n"
      "# a comment\n"
      "\n"
      "10 15\n"
      "10 15 5 6\n"
      "0 15 5\n"
      "10 -1 5\n"
      "10 15 1e39\n"
      "10,15,5\r\n");
  std::ostringstream csv, errors;
  CsvWriter writer(kBandTable, csv, errors);
  writer.take_stream(input);
  EXPECT_EQ(errors.str(),
            "gndfit: line 4: expected 3 numbers, got 2\n"
            "gndfit: line 5: expected 3 numbers, got 4\n"
            "gndfit: line 6: frequency must be a finite positive number\n"
            "gndfit: line 7: permittivity must be a finite positive number\n"
            "gndfit: line 8: conductivity must be a finite positive number\n");
  EXPECT_TRUE(writer.skipped_any());
  EXPECT_EQ(split(csv.str(), '\n').size(), 2 * kBandTable.size());
}

TEST(CsvLines, TheBandListGivenExplicitlyIsTheDefault) {
  std::vector<float> listed;
  ASSERT_TRUE(parse_frequency_list("1.8,3.7,5.3,7.1,10.1,14.2,18.1,21.2,24.9,28.5", listed));
  std::ostringstream by_default, explicitly, errors;
  for (auto* out : {&by_default, &explicitly}) {
    std::istringstream input("7.1 13 5\n1.6 30 3\n");
    CsvWriter writer(out == &by_default ? std::span<const float>(kBandTable) : listed, *out, errors);
    writer.take_stream(input);
  }
  EXPECT_EQ(explicitly.str(), by_default.str());
}

}  // namespace
}  // namespace gndfit
