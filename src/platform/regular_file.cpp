// SPDX-License-Identifier: MIT
#include "platform/regular_file.hpp"

#include <cstring>

#ifdef _WIN32

namespace gndfit {

// No FIFOs or symbolic links stand in the way of a console program's
// settings file here.
std::FILE* open_regular_file(const char* path, const char* mode) { return std::fopen(path, mode); }

}  // namespace gndfit

#else

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gndfit {
namespace {

// The open(2) flags of a C stream mode.  Creating never follows a symbolic
// link, so a link (dangling or not) cannot make the file appear elsewhere.
int open_flags(const char* mode) {
  const bool update = std::strchr(mode, '+') != nullptr;
  switch (mode[0]) {
    case 'w':
      return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC | O_NOFOLLOW;
    case 'a':
      return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND | O_NOFOLLOW;
    default:
      return update ? O_RDWR : O_RDONLY;
  }
}

}  // namespace

std::FILE* open_regular_file(const char* path, const char* mode) {
  const int fd = ::open(path, open_flags(mode) | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(fd, mode);
  if (!stream) ::close(fd);
  return stream;
}

}  // namespace gndfit

#endif
