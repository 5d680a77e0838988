// SPDX-License-Identifier: MIT
#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it when the test ends.
#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace gndfit::testing_support {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix) {
    std::random_device seed;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            (prefix + std::to_string(stamp) + "_" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace gndfit::testing_support
