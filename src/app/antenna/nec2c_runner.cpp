// SPDX-License-Identifier: MIT
#include "app/antenna/nec2c_runner.hpp"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "antenna/nec_output.hpp"
#include "platform/child_process.hpp"

namespace gndfit {
namespace {

// A new folder of our own under the system's temporary folder; empty when
// none could be made.
std::filesystem::path make_private_folder(std::string& error) {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) {
    error = "no temporary folder: " + ec.message();
    return {};
  }
  std::random_device seed;
  std::mt19937_64 pick(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::ostringstream name;
    name << "gndfit-antenna-" << std::hex << pick();
    const std::filesystem::path folder = base / name.str();
    if (std::filesystem::create_directory(folder, ec)) return folder;
    if (ec) {
      error = "cannot make a folder in " + base.string() + ": " + ec.message();
      return {};
    }
  }
  error = "cannot make a folder of its own in " + base.string();
  return {};
}

bool write_file(const std::filesystem::path& name, std::string_view text) {
  std::ofstream out(name, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out.flush());
}

bool read_file(const std::filesystem::path& name, std::string& text) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return !in.bad();
}

}  // namespace

Nec2cRunner::Nec2cRunner() {
  program_ = find_on_path("nec2c");
  if (program_.empty()) {
    error_ =
        "--antenna needs nec2c, a NEC-2 engine, on the PATH; it is not there"
        " (Debian: apt install nec2c)";
    return;
  }
  folder_ = make_private_folder(error_);
}

Nec2cRunner::~Nec2cRunner() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool Nec2cRunner::run(std::size_t job, std::string_view deck, std::string& output,
                      std::string& error) const {
  const std::string stem = "run-" + std::to_string(job);
  const std::filesystem::path input = folder_ / (stem + ".nec");
  const std::filesystem::path result = folder_ / (stem + ".out");
  if (!write_file(input, deck)) {
    error = "cannot write its deck in " + folder_.string();
    return false;
  }
  const ChildExit exit = run_child(program_, {"-i" + input.string(), "-o" + result.string()});
  if (!exit.started) {
    error = "cannot start " + program_ + ": " + exit.error;
    return false;
  }
  const bool have_output = read_file(result, output);
  if (exit.status != 0) {
    const std::string message = have_output ? nec_stop_message(output) : std::string();
    error = message.empty() ? "it stopped with status " + std::to_string(exit.status) : message;
    return false;
  }
  if (!have_output) {
    error = "it wrote no output";
    return false;
  }
  return true;
}

}  // namespace gndfit
