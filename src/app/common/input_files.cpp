// SPDX-License-Identifier: MIT
#include "app/common/input_files.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace gndfit {

InputFiles::~InputFiles() {
  for (const File& f : files_) {
    if (f.stream != stdin) std::fclose(f.stream);
  }
}

std::optional<Failure> InputFiles::open(const std::vector<std::string>& names) {
  const std::vector<std::string> standard_input{std::string(kStandardInput)};
  for (const std::string& name : names.empty() ? standard_input : names) {
    const bool is_standard_input = name == kStandardInput;
    std::error_code ignored;
    if (!is_standard_input && std::filesystem::is_directory(name, ignored)) {
      // Some systems would open it.
      return usage_failure("cannot open '" + name + "': it is a directory");
    }
    std::FILE* stream = is_standard_input ? stdin : std::fopen(name.c_str(), "rb");
    if (stream == nullptr) return usage_failure("cannot open '" + name + "': " + std::strerror(errno));
    files_.push_back({name, stream});
  }
  return std::nullopt;
}

std::size_t InputFiles::read_from(const File& f, unsigned char* bytes, std::size_t count) {
  const std::size_t n = std::fread(bytes, 1, count, f.stream);
  if (n == 0 && std::ferror(f.stream)) {
    failure_ = Failure{Location{""}, "cannot read '" + source_name(f.name) + "': " + std::strerror(errno)};
  }
  return n;
}

std::size_t InputFiles::read(unsigned char* bytes, std::size_t count) {
  for (; current_ < files_.size() && !failure_; ++current_) {  // on at each end
    const std::size_t n = read_from(files_[current_], bytes, count);
    if (n > 0) return n;
  }
  return 0;
}

void InputFiles::read_lines(const std::function<void(std::string_view)>& take,
                            const std::function<void(const std::string&)>& start_file) {
  std::vector<unsigned char> piece(1 << 16);
  for (; current_ < files_.size() && !failure_; ++current_) {
    if (start_file) start_file(files_[current_].name);
    std::string pending;
    while (const std::size_t n = read_from(files_[current_], piece.data(), piece.size())) {
      pending.append(reinterpret_cast<const char*>(piece.data()), n);
      std::size_t start = 0;
      for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
        take(std::string_view(pending).substr(start, end - start));
      }
      pending.erase(0, start);
    }
    if (!pending.empty() && !failure_) take(pending);
  }
}

}  // namespace gndfit
