// SPDX-License-Identifier: MIT
#pragma once
// Opens a settings file as a buffered stream, but only a regular file: a
// FIFO, device or directory of that name is refused without blocking (so a
// FIFO cannot hang start-up), and a file is never created through a
// symbolic link, dangling or not.  Refused or failed, the result is null, as
// for a missing file.  The mode is a C stream mode ("r+b", "w+b", "rb"...).
#include <cstdio>

namespace gndfit {

std::FILE* open_regular_file(const char* path, const char* mode);

}  // namespace gndfit
