// SPDX-License-Identifier: MIT
#pragma once
// The window position kept between runs: four bytes at the start of
// gndfit.ini in the working directory, left edge in the low 16 bits and top
// edge in the high 16 bits.  The file is file number 1 of the run-time, held
// open from start-up until a control event saves the position and closes
// it.  Bytes after the fourth are never touched and the file is never
// truncated.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/runtime.hpp"

namespace gndfit {

inline constexpr std::int32_t kDefaultWindowPosition = 0x01600200;  // left 512, top 352
inline constexpr int kPositionFileNumber = 1;
inline constexpr std::size_t kPositionFileBuffer = 8192;

class PositionFile {
 public:
  PositionFile(Runtime& runtime, std::string path = "gndfit.ini")
      : runtime_(runtime), path_(std::move(path)) {}

  // Opens read-write, else creates it, else read-only; failures are silent.
  // Anything but a regular file is treated as a missing file.
  void open();
  // Where there is no window position to keep: an existing file is read,
  // read-only; none is created.
  void open_existing();
  bool is_open() { return runtime_.is_open(kPositionFileNumber); }
  // Four bytes from the current position, missing high bytes as zero; 0
  // when the file is not open.
  std::int32_t read_position();
  // Writes the packed position at offset 0 and closes the file.
  void save_and_close(std::int32_t packed);
  void close() { runtime_.close_file(kPositionFileNumber); }

 private:
  void open_with_modes(std::initializer_list<const char*> modes);

  Runtime& runtime_;
  std::string path_;
};

// The position to use for a value read from the file.
inline std::int32_t effective_position(std::int32_t stored) {
  return stored > 0 ? stored : kDefaultWindowPosition;
}
inline int position_left(std::int32_t packed) { return static_cast<std::int16_t>(packed & 0xFFFF); }
inline int position_top(std::int32_t packed) {
  return static_cast<std::int16_t>((static_cast<std::uint32_t>(packed) >> 16) & 0xFFFF);
}
inline std::int32_t pack_position(int left, int top) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(top & 0xFFFF) << 16) |
                                   static_cast<std::uint32_t>(left & 0xFFFF));
}

}  // namespace gndfit
