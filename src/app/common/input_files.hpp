// SPDX-License-Identifier: MIT
#pragma once
// The files named on the command line ("-" is standard input; none at all
// means standard input), opened before anything runs and read in turn:
// as one stream of bytes for the table program, as lines for --csv and
// --nec (a file's last line ends with the file).
#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "located/outcome.hpp"

namespace gndfit {

class InputFiles {
 public:
  InputFiles() = default;
  InputFiles(const InputFiles&) = delete;
  InputFiles& operator=(const InputFiles&) = delete;
  ~InputFiles();

  // Opens every file first; the first that cannot be opened is a failure
  // with the usage error's status, and nothing is read.
  std::optional<Failure> open(const std::vector<std::string>& names);
  // Up to `count` bytes from the current file, going on to the next at the
  // end of one; 0 at the end of the last, or after a failed read.
  std::size_t read(unsigned char* bytes, std::size_t count);
  // Every line of every file in turn, without its LF, until the end or a
  // failed read; `start_file` is given each file's name before its lines.
  void read_lines(const std::function<void(std::string_view)>& take,
                  const std::function<void(const std::string&)>& start_file = {});
  // Why reading stopped early; none when every file was read to its end.
  const std::optional<Failure>& failure() const { return failure_; }

 private:
  struct File {
    std::string name;
    std::FILE* stream;
  };
  // Up to `count` bytes of one file; 0 at its end or on a failure.
  std::size_t read_from(const File& f, unsigned char* bytes, std::size_t count);

  std::vector<File> files_;
  std::size_t current_ = 0;
  std::optional<Failure> failure_;
};

}  // namespace gndfit
