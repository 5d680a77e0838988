// The whole program through redirected input and output, byte for byte.
#include "app/program.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/memory_console.hpp"
#include "support/temp_dir.hpp"

namespace gndfit {
namespace {

namespace fs = std::filesystem;

const std::string kHeading =
    "Gndfit ground constants\r\n\r\n"
    "Frequency MHz   Permittivity   Conductivity mS/m   Relative skin depth\r\n\r\n";

// One result block from the table of a measurement: column strings as they
// stand in each mask (four characters for row 2, seven for rows 1 and 3).
std::string block(const std::vector<std::string>& permittivity,
                  const std::vector<std::string>& conductivity,
                  const std::vector<std::string>& depth) {
  const char* bands[] = {"1.8", "3.7", "5.3", "7.1", "10.1", "14.2", "18.1", "21.2", "24.9", "28.5"};
  auto right = [](const std::string& s, std::size_t w) { return std::string(w - s.size(), ' ') + s; };
  std::string out = "\r\n";
  for (int i = 0; i < 10; ++i) out += right(bands[i], 7) + (i < 9 ? "    " : "\r\n");
  for (int i = 0; i < 10; ++i)
    out += right(permittivity[i], 4) + " " + right(conductivity[i], 4) + (i < 9 ? "  " : "\r\n");
  for (int i = 0; i < 10; ++i) out += right(depth[i], 7) + (i < 9 ? "    " : "\r\n\r\n");
  return out;
}

const std::string kTenMegahertz =
    block({"23.8", "19.2", "17.4", "16.2", "15.0", "14.0", "13.3", "13.0", "12.6", "12.3"},
          {"2.9", "3.6", "4.0", "4.4", "5.0", "5.7", "6.2", "6.6", "7.1", "7.5"},
          {"2.36", "1.64", "1.37", "1.19", "1.00", "0.84", "0.74", "0.69", "0.63", "0.59"});
const std::string kLastBand =
    block({"27.5", "21.6", "19.4", "17.9", "16.3", "15.0", "14.2", "13.8", "13.3", "13.0"},
          {"4.2", "5.1", "5.6", "6.1", "6.9", "7.7", "8.4", "8.9", "9.5", "10.0"},
          {"3.98", "2.78", "2.32", "2.00", "1.68", "1.42", "1.25", "1.16", "1.07", "1.00"});

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
  EXPECT_EQ(run("10 15 5\r\n28.5,13,10\r\n"), kHeading + kTenMegahertz + kLastBand);
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

TEST_F(ProgramTest, EndOfInputEndsTheRunAndClosesThePositionFile) {
  EXPECT_EQ(run(""), kHeading);
  EXPECT_EQ(passes_, 0);
  // No window to read: the file exists (created on open) and stays empty.
  EXPECT_TRUE(fs::exists(dir_ / "gndfit.ini"));
  EXPECT_EQ(fs::file_size(dir_ / "gndfit.ini"), 0u);
}

TEST_F(ProgramTest, AValueTooLargeForItsMaskWidensTheRow) {
  const std::string out = run("1 20000 0.1");
  EXPECT_NE(out.find('%'), std::string::npos);
}

TEST_F(ProgramTest, TheGridInOneRunGivesOneBlockEach) {
  std::string input;
  for (const char* f : {"1.8", "5", "10", "21", "28.5"})
    for (const char* e : {"2", "5", "15", "40", "80"})
      for (const char* c : {"0.1", "1", "5", "30", "300"}) input += std::string(f) + " " + e + " " + c + "\n";
  const std::string out = run(input);
  std::size_t blocks = 0;
  for (std::size_t at = out.find("28.5\r\n"); at != std::string::npos; at = out.find("28.5\r\n", at + 1)) ++blocks;
  EXPECT_EQ(blocks, 125u);
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
