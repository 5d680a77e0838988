#include "app/input_files.hpp"

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
  for (const std::string& name : names) {
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

std::size_t InputFiles::read(unsigned char* bytes, std::size_t count) {
  while (current_ < files_.size() && failure_.empty()) {
    const File& f = files_[current_];
    const std::size_t n = std::fread(bytes, 1, count, f.stream);
    if (n > 0) return n;
    if (std::ferror(f.stream)) {
      failure_ = "cannot read '" + (f.name == "-" ? std::string("standard input") : f.name) +
                 "': " + std::strerror(errno);
      return 0;
    }
    ++current_;  // the end of this file: on to the next
  }
  return 0;
}

}  // namespace gndfit
