// SPDX-License-Identifier: MIT
#include "platform/position_file.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "support/temp_dir.hpp"

namespace gndfit {
namespace {

namespace fs = std::filesystem;

class PositionFileTest : public testing::Test {
 protected:
  void SetUp() override { fs::permissions(dir_, fs::perms::all); }  // reachable by nobody
  std::string path() const { return (dir_ / "gndfit.ini").string(); }
  void write_file(const std::string& bytes) {
    std::ofstream(path(), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string file_bytes() const {
    std::ifstream in(path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // The position a run reads from the file as it stands.
  std::int32_t position_read() {
    Runtime runtime;
    PositionFile file(runtime, path());
    file.open();
    return effective_position(file.read_position());
  }
  testing_support::TempDir temp_{"gndfit_position_"};
  const fs::path& dir_ = temp_.path();
};

// Permissions do not stop the superuser, so cases about files that cannot
// be written run in a child process with the rights of nobody.  (On Windows
// a read-only file stops everyone.)
int run_unprivileged(const std::function<int()>& scenario) {
#ifdef _WIN32
  return scenario();
#else
  if (::geteuid() != 0) return scenario();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
    ::_exit(scenario());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
#endif
}

TEST_F(PositionFileTest, FirstRunCreatesAnEmptyFileAndUsesTheDefaultPosition) {
  const std::int32_t position = position_read();
  EXPECT_EQ(position, kDefaultWindowPosition);
  EXPECT_EQ(position_left(position), 512);
  EXPECT_EQ(position_top(position), 352);
  ASSERT_TRUE(fs::exists(path()));
  EXPECT_EQ(fs::file_size(path()), 0u);
}

TEST_F(PositionFileTest, StoredBytesGiveTheirPositionOrTheDefault) {
  struct Case {
    std::string bytes;
    int left, top;
  };
  const Case cases[] = {
      {std::string("\x00\x01\x60\x01", 4), 256, 352},
      {std::string("\x38\xFF\x10\x00", 4), -200, 16},  // negative left edge is kept
      {std::string("\x00\x01\x60\x81", 4), 512, 352},  // top edge with its sign bit set
      {std::string(4, '\0'), 512, 352},                // stored zero
      {std::string("\x34\x12", 2), 0x1234, 0},         // short file: high bytes zero
      {std::string(1, '\0'), 512, 352},
      {std::string("\x10\x00\x20\x00tail", 8), 16, 32},  // bytes after the fourth ignored
  };
  for (const Case& c : cases) {
    write_file(c.bytes);
    const std::int32_t position = position_read();
    EXPECT_EQ(position_left(position), c.left) << testing::PrintToString(c.bytes);
    EXPECT_EQ(position_top(position), c.top) << testing::PrintToString(c.bytes);
  }
}

TEST_F(PositionFileTest, SavingWritesFourBytesAtTheStartAndKeepsTheRest) {
  write_file(std::string("\x00\x01\x60\x01", 4) + "more settings");
  Runtime runtime;
  PositionFile file(runtime, path());
  file.open();
  file.read_position();
  file.save_and_close(pack_position(-8, 300));
  EXPECT_EQ(file_bytes(), std::string("\xF8\xFF\x2C\x01", 4) + "more settings");
  EXPECT_FALSE(file.is_open());
}

TEST_F(PositionFileTest, ASecondSaveFindsTheFileClosedAndStoresNothing) {
  Runtime runtime;
  PositionFile file(runtime, path());
  file.open();
  file.save_and_close(pack_position(10, 20));
  file.save_and_close(pack_position(30, 40));
  EXPECT_EQ(file_bytes(), std::string("\x0A\x00\x14\x00", 4));
}

TEST_F(PositionFileTest, OpeningTwiceIsRefusedAndKeepsTheFirstStream) {
  write_file(std::string("\x01\x02\x03\x04", 4));
  Runtime runtime;
  PositionFile file(runtime, path());
  file.open();
  file.open();
  EXPECT_EQ(file.read_position(), 0x04030201);
}

TEST_F(PositionFileTest, AReadOnlyFileIsReadAndKeepsItsPosition) {
  write_file(std::string("\x00\x01\x60\x01", 4));
  fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#ifdef _WIN32
  if (std::FILE* probe = std::fopen(path().c_str(), "r+b")) {
    std::fclose(probe);
    GTEST_SKIP() << "this file system lets us write a read-only file (Wine run by root)";
  }
#endif
  const int result = run_unprivileged([&] {
    Runtime runtime;
    PositionFile file(runtime, path());
    file.open();
    if (!file.is_open()) return 1;
    if (file.read_position() != 0x01600100) return 2;
    file.save_and_close(pack_position(5, 5));  // the write fails silently
    return file.is_open() ? 3 : 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(file_bytes(), std::string("\x00\x01\x60\x01", 4));
}

TEST_F(PositionFileTest, ADirectoryThatCannotBeWrittenGivesTheDefaultAndNoFile) {
#ifdef _WIN32
  GTEST_SKIP() << "permissions cannot make a directory unwritable on Windows";
#endif
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
  const int result = run_unprivileged([&] {
    Runtime runtime;
    PositionFile file(runtime, path());
    file.open();
    if (file.is_open()) return 1;
    if (effective_position(file.read_position()) != kDefaultWindowPosition) return 2;
    file.save_and_close(pack_position(5, 5));
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(path()));
}

}  // namespace
}  // namespace gndfit
