// SPDX-License-Identifier: MIT
#pragma once
// The files named on the command line ("-" is standard input; none at all
// means standard input), opened before anything runs and read in turn:
// as one stream of bytes for the table program, as lines for --csv and
// --nec (a file's last line ends with the file).
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
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
  // Every line of every file in turn, without its LF, until the end or a
  // failed read.
  void read_lines(const std::function<void(std::string_view)>& take);
  // The name of the file being read ("-" for standard input) and its
  // place in the list, for messages that name it.
  const std::string& current_name() const { return files_[current_].name; }
  std::size_t current_index() const { return current_; }
  // Why reading stopped early; empty when every file was read to its end.
  const std::string& failure() const { return failure_; }

 private:
  struct File {
    std::string name;
    std::FILE* stream;
  };
  // Up to `count` bytes of one file; 0 at its end or on a failure.
  std::size_t read_from(const File& f, unsigned char* bytes, std::size_t count);

  std::vector<File> files_;
  std::size_t current_ = 0;
  std::string failure_;
};

}  // namespace gndfit
