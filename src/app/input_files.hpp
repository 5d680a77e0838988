#pragma once
// The files named on the command line, read in turn as one input, as one
// redirected standard input would be read ("-" is standard input).
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace gndfit {

class InputFiles {
 public:
  InputFiles() = default;
  InputFiles(const InputFiles&) = delete;
  InputFiles& operator=(const InputFiles&) = delete;
  ~InputFiles();

  // Opens every file first; false, with `error` saying which and why, for
  // the first that cannot be opened.
  bool open(const std::vector<std::string>& names, std::string& error);
  // Up to `count` bytes from the current file, going on to the next at the
  // end of one; 0 at the end of the last, or after a failed read.
  std::size_t read(unsigned char* bytes, std::size_t count);
  // Why reading stopped early; empty when every file was read to its end.
  const std::string& failure() const { return failure_; }

 private:
  struct File {
    std::string name;
    std::FILE* stream;
  };
  std::vector<File> files_;
  std::size_t current_ = 0;
  std::string failure_;
};

}  // namespace gndfit
