// SPDX-License-Identifier: MIT
#pragma once
// nec2c run as a separate program, each deck in a temporary folder that is
// removed with the runner.
#include <filesystem>
#include <string>
#include <string_view>

namespace gndfit {

class Nec2cRunner {
 public:
  // Finds nec2c on the PATH and makes the folder; ready() says whether
  // both went well, error() why not.
  Nec2cRunner();
  ~Nec2cRunner();
  Nec2cRunner(const Nec2cRunner&) = delete;
  Nec2cRunner& operator=(const Nec2cRunner&) = delete;

  bool ready() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // Runs one deck under the name of `job` (unique per call at once):
  // true with nec2c's output, or false with nec2c's message.
  bool run(std::size_t job, std::string_view deck, std::string& output, std::string& error) const;

 private:
  std::string program_;
  std::filesystem::path folder_;
  std::string error_;
};

}  // namespace gndfit
