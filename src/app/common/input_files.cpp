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

bool InputFiles::open(const std::vector<std::string>& names, std::string& error) {
  for (const std::string& name : names.empty() ? std::vector<std::string>{"-"} : names) {
    std::error_code ignored;
    if (name != "-" && std::filesystem::is_directory(name, ignored)) {
      error = "cannot open '" + name + "': it is a directory";  // some systems would open it
      return false;
    }
    std::FILE* stream = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (stream == nullptr) {
      error = "cannot open '" + name + "': " + std::strerror(errno);
      return false;
    }
    files_.push_back({name, stream});
  }
  return true;
}

std::size_t InputFiles::read_from(const File& f, unsigned char* bytes, std::size_t count) {
  const std::size_t n = std::fread(bytes, 1, count, f.stream);
  if (n == 0 && std::ferror(f.stream)) {
    failure_ = "cannot read '" + (f.name == "-" ? std::string("standard input") : f.name) +
               "': " + std::strerror(errno);
  }
  return n;
}

std::size_t InputFiles::read(unsigned char* bytes, std::size_t count) {
  for (; current_ < files_.size() && failure_.empty(); ++current_) {  // on at each end
    const std::size_t n = read_from(files_[current_], bytes, count);
    if (n > 0) return n;
  }
  return 0;
}

void InputFiles::read_lines(const std::function<void(std::string_view)>& take) {
  std::vector<unsigned char> piece(1 << 16);
  for (; current_ < files_.size() && failure_.empty(); ++current_) {
    std::string pending;
    while (const std::size_t n = read_from(files_[current_], piece.data(), piece.size())) {
      pending.append(reinterpret_cast<const char*>(piece.data()), n);
      std::size_t start = 0;
      for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
        take(std::string_view(pending).substr(start, end - start));
      }
      pending.erase(0, start);
    }
    if (!pending.empty() && failure_.empty()) take(pending);
  }
}

}  // namespace gndfit
