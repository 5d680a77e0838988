// SPDX-License-Identifier: MIT
// The whole program through redirected input and output, byte for byte.
#include "app/program/program.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/memory_console.hpp"
#include "support/temp_dir.hpp"

namespace gndfit {
namespace {

namespace fs = std::filesystem;

// The worked examples, 10 MHz, 15, 5 mS/m and 28.5 MHz, 13, 10 mS/m, as the
// program must print them in one run: written out from their tables.
std::string worked_examples() {
  std::ifstream in(GNDFIT_TEST_DATA "/app/worked_examples.expected", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
const std::string kExpected = worked_examples();
// The heading and legend: four lines; then a block for each example, both
// of the same length.
const std::size_t kHeadingEnd = [] {
  std::size_t at = 0;
  for (int line = 0; line < 4; ++line) at = kExpected.find("\r\n", at) + 2;
  return at;
}();
const std::string kHeading = kExpected.substr(0, kHeadingEnd);
const std::string kTenMegahertz =
    kExpected.substr(kHeadingEnd, (kExpected.size() - kHeadingEnd) / 2);

// The rows of a result block (band frequencies, model values, skin depths)
// split into their fields.
std::vector<std::vector<std::string>> block_fields(const std::string& out, std::size_t block) {
  std::size_t at = kHeadingEnd;
  for (std::size_t i = 0; i < block; ++i) at = out.find("\r\n\r\n", at) + 4;
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < 3; ++r) {
    at = out.find("\r\n", at) + 2;
    const std::size_t end = out.find("\r\n", at);
    std::istringstream fields(out.substr(at, end - at));
    rows.emplace_back(std::istream_iterator<std::string>(fields),
                      std::istream_iterator<std::string>());
    at = end;
  }
  return rows;
}

class ProgramTest : public testing::Test {
 protected:
  std::string run(const std::string& input) {
    MemoryConsole console = MemoryConsole::redirected(input);
    Program program(console, (dir_ / "gndfit.ini").string());
    program.enter();
    int passes = 0;
    while (program.run_pass()) ++passes;
    program.end_run();
    passes_ = passes;
    return console.raw_output;
  }
  testing_support::TempDir temp_{"gndfit_program_"};
  const fs::path& dir_ = temp_.path();
  int passes_ = 0;
};

TEST_F(ProgramTest, WorkedExamplesInOneRun) {
  ASSERT_GT(kExpected.size(), kHeadingEnd);
  EXPECT_EQ(run("10 15 5\r\n28.5,13,10\r\n"), kExpected);
}

TEST_F(ProgramTest, SevenMegahertzOverflowsNothingButWidensToFourDigits) {
  const std::string out = run("7 80 30");
  const std::string row2 = out.substr(out.find("28.5\r\n") + 6, 14);
  EXPECT_EQ(row2, " 125 21.2  97.");
  EXPECT_NE(out.find("   1.97       1.38"), std::string::npos);
}

TEST_F(ProgramTest, RejectedLinesPrintNothing) {
  EXPECT_EQ(run("\n1 2\n0 5 5\n"), kHeading);
  EXPECT_EQ(run("10 -15 5\n"), kHeading);
  EXPECT_EQ(run("10 15 5 \n -1 1 1\n"), kHeading + kTenMegahertz);
}

// Typed by a person at a terminal used line by line (TERM=dumb): the prompt
// is written before each measurement, and the last one's line is ended.
TEST_F(ProgramTest, ATypedStreamShowsThePromptAndEndsItsLine) {
  MemoryConsole console = MemoryConsole::redirected("10 15 5\n");
  console.typed_stdin = true;
  Program program(console, (dir_ / "gndfit.ini").string());
  program.enter();
  while (program.run_pass()) {
  }
  program.end_run();
  EXPECT_EQ(console.raw_output,
            kHeading + "Freq perm cond = " + kTenMegahertz + "Freq perm cond = \r\n");
}

TEST_F(ProgramTest, EndOfInputEndsTheRunAndClosesThePositionFile) {
  EXPECT_EQ(run(""), kHeading);
  EXPECT_EQ(passes_, 0);
  // No window, so no position to keep: no file is made.
  EXPECT_FALSE(fs::exists(dir_ / "gndfit.ini"));
}

// A permittivity of 20000 does not fit the four places of its mask: it is
// written in full behind a %, and the row still holds all 20 values.
TEST_F(ProgramTest, AValueTooLargeForItsMaskWidensTheRow) {
  const auto rows = block_fields(run("1 20000 0.1"), 0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].size(), 10u);
  ASSERT_EQ(rows[1].size(), 20u);
  EXPECT_EQ(rows[1][0].substr(0, 1), "%");
  EXPECT_GT(std::stod(rows[1][0].substr(1)), 9999.5);
  EXPECT_EQ(rows[2].size(), 10u);
}

TEST_F(ProgramTest, TheGridInOneRunGivesOneBlockEach) {
  std::string input;
  for (const char* f : {"1.8", "5", "10", "21", "28.5"})
    for (const char* e : {"2", "5", "15", "40", "80"})
      for (const char* c : {"0.1", "1", "5", "30", "300"})
        input += std::string(f) + " " + e + " " + c + "\n";
  const std::string out = run(input);
  EXPECT_EQ(passes_, 125);
  // Each block: the ten bands, then 20 model values and 10 skin depths.
  for (std::size_t b = 0; b < 125; ++b) {
    const auto rows = block_fields(out, b);
    ASSERT_EQ(rows[0].size(), 10u) << "block " << b;
    EXPECT_EQ(rows[0].front(), "1.8");
    EXPECT_EQ(rows[0].back(), "28.5");
    EXPECT_EQ(rows[1].size(), 20u) << "block " << b;
    EXPECT_EQ(rows[2].size(), 10u) << "block " << b;
  }
}

// At a console: the window goes where the file says, and each control event
// reaches the program's handler first, which saves where the window is now.
class ConsoleRun : public ProgramTest {
 protected:
  std::string ini() const { return (dir_ / "gndfit.ini").string(); }
  std::string ini_bytes() const {
    std::ifstream in(ini(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  MemoryConsole console{120, 30};
};

TEST_F(ConsoleRun, SetUpPlacesAndProtectsTheWindowAndRegistersBothHandlers) {
  std::ofstream(ini(), std::ios::binary) << std::string("\x00\x01\x60\x01", 4);
  Program program(console, ini());
  program.enter();
  EXPECT_EQ(console.title, " ");
  EXPECT_EQ(console.window_x, 256);
  EXPECT_EQ(console.window_y, 352);
  EXPECT_TRUE(console.size_and_maximize_removed);
  EXPECT_EQ(console.input_mode & 0x40u, 0u) << "quick-edit off";
  EXPECT_EQ(console.input_mode & 0x80u, 0x80u) << "extended flags on";
  const std::vector<ControlHandlerId> registered{program.runtime.ctrl_handler_id(),
                                                 program.position_handler_id()};
  EXPECT_EQ(console.handlers.ids(), registered) << "the run-time's first";
  EXPECT_EQ(console.row_text(0).substr(0, 23), "Gndfit ground constants");
}

// The handlers act on the program that registered them: a program that is
// gone leaves none behind for a late event to run.
TEST_F(ConsoleRun, NoHandlerOutlivesTheProgram) {
  {
    Program program(console, ini());
    program.enter();
  }
  EXPECT_TRUE(console.handlers.ids().empty());
  EXPECT_FALSE(console.raise(ControlEvent::close));
}

TEST_F(ConsoleRun, CtrlCSavesThePositionAndQueuesNoKey) {
  Program program(console, ini());
  program.enter();
  console.window_x = 40;
  console.window_y = -2;
  EXPECT_FALSE(console.raise(ControlEvent::ctrl_c)) << "the system ends the process";
  EXPECT_EQ(ini_bytes(), std::string("\x28\x00\xFE\xFF", 4));
  EXPECT_TRUE(program.key_queue.empty());
}

TEST_F(ConsoleRun, ClosingSavesThePositionThenQueuesTheCloseKey) {
  Program program(console, ini());
  program.enter();
  console.window_x = 700;
  console.window_y = 10;
  EXPECT_TRUE(console.raise(ControlEvent::close));
  EXPECT_EQ(ini_bytes(), std::string("\xBC\x02\x0A\x00", 4));
  EXPECT_EQ(program.key_queue.take(), CLOSE_KEY_CODE);
  // A second event finds the file closed: the first position stays.
  console.window_x = 1;
  EXPECT_TRUE(console.raise(ControlEvent::logoff));
  EXPECT_EQ(ini_bytes(), std::string("\xBC\x02\x0A\x00", 4));
}

TEST_F(ConsoleRun, ATypedMeasurementGivesItsRowsAndTheExitRemovesTheHandler) {
  Program program(console, ini());
  program.enter();
  for (unsigned char c : std::string("10 15 5\r")) program.key_queue.push(c);
  EXPECT_TRUE(program.run_pass());
  EXPECT_EQ(console.row_text(4).substr(0, 24), "Freq perm cond = 10 15 5");
  EXPECT_EQ(console.row_text(6).substr(0, 11), "    1.8    ");
  EXPECT_EQ(console.row_text(8).substr(0, 7), "   2.36");
  EXPECT_EQ(console.cell(3, 8).attr, 8) << "skin depths in dark grey";
  EXPECT_EQ(console.cell(0, 7).attr, 11) << "permittivity in bright cyan";
  program.exit_process();
  EXPECT_TRUE(console.control_events_ended);
  EXPECT_TRUE(console.handlers.ids().empty()) << "no handler outlives the orderly end";
}

}  // namespace
}  // namespace gndfit
