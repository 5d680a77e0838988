// SPDX-License-Identifier: MIT
#include "platform/runtime.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/fpu.hpp"
#include "support/memory_console.hpp"
#include "support/temp_dir.hpp"

namespace gndfit {
namespace {

namespace fs = std::filesystem;

TEST(Runtime, StartUpSelectsExtendedPrecisionOnlyOnTheFirstCall) {
  if (!kHasX87) GTEST_SKIP() << "no x87 control word on this CPU; the software type has no modes";
  const std::uint16_t saved = fpu_control_word();
  Runtime runtime;
  load_fpu_control_word(
      static_cast<std::uint16_t>((saved & ~0x0F00) | 0x0200 | 0x0C00));  // 53-bit, toward zero
  runtime.runtime_startup();
  EXPECT_TRUE(extended_precision_selected());
  load_fpu_control_word(static_cast<std::uint16_t>((saved & ~0x0F00) | 0x0200));
  runtime.runtime_startup();  // counted only
  EXPECT_FALSE(extended_precision_selected());
  EXPECT_EQ(runtime.setup_count(), 2);
  load_fpu_control_word(saved);
}

class RuntimeFiles : public testing::Test {
 protected:
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::uintmax_t size_of(const std::string& p) { return fs::file_size(p); }
  testing_support::TempDir temp_{"gndfit_runtime_"};
  const fs::path& dir_ = temp_.path();
};

TEST_F(RuntimeFiles, ShutdownClosesEveryOpenFileOnlyWhenTheCountReturnsToZero) {
  Runtime runtime;
  runtime.runtime_startup();
  runtime.runtime_startup();
  ASSERT_TRUE(runtime.open_file(1, path("one").c_str(), "wb", 8192));
  ASSERT_TRUE(runtime.open_file(255, path("last").c_str(), "wb", 8192));
  runtime.with_file(1, [](std::FILE* f) { std::fputs("held in the buffer", f); });
  EXPECT_EQ(size_of(path("one")), 0u);
  runtime.runtime_shutdown();
  EXPECT_TRUE(runtime.is_open(1));
  runtime.runtime_shutdown();
  EXPECT_FALSE(runtime.is_open(1));
  EXPECT_FALSE(runtime.is_open(255));
  EXPECT_EQ(size_of(path("one")), 18u) << "closing wrote out the buffer";
  runtime.runtime_shutdown();  // nothing left to do
  EXPECT_EQ(runtime.setup_count(), 0);
}

TEST_F(RuntimeFiles, FileNumbersOutsideOneTo255AndNumbersInUseAreRefused) {
  Runtime runtime;
  EXPECT_FALSE(runtime.open_file(0, path("zero").c_str(), "wb", 16));
  EXPECT_FALSE(runtime.open_file(256, path("big").c_str(), "wb", 16));
  EXPECT_TRUE(runtime.open_file(7, path("a").c_str(), "wb", 16));
  EXPECT_FALSE(runtime.open_file(7, path("b").c_str(), "wb", 16));
  EXPECT_FALSE(fs::exists(path("b")));
  runtime.close_file(7);
  runtime.close_file(7);
  EXPECT_FALSE(runtime.is_open(7));
}

bool handler_a(ControlEvent) { return false; }

TEST(Runtime, TheControlHandlerIsRegisteredOnceAndRemovedAtExit) {
  MemoryConsole console;
  Runtime runtime;
  runtime.register_ctrl_handler(console, handler_a);
  runtime.register_ctrl_handler(console, handler_a);
  EXPECT_EQ(console.handlers.ids(), std::vector<ControlHandlerId>{runtime.ctrl_handler_id()});
  EXPECT_TRUE(runtime.ctrl_handler_registered());
  runtime.remove_ctrl_handler();
  EXPECT_TRUE(console.handlers.ids().empty());
  EXPECT_FALSE(runtime.ctrl_handler_registered());
}

}  // namespace
}  // namespace gndfit
