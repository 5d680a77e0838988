// SPDX-License-Identifier: MIT
#include "platform/position_file.hpp"

namespace gndfit {
namespace {
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif
}  // namespace

void PositionFile::open() { open_with_modes({"r+b", "w+b", "rb"}); }

void PositionFile::open_existing() { open_with_modes({"rb"}); }

void PositionFile::open_with_modes(std::initializer_list<const char*> modes) {
  if (runtime_.is_open(kPositionFileNumber)) return;  // a number already open is refused
  std::string name = path_;
  for (char& c : name) {
    if (c == '/') c = kPathSeparator;
  }
  for (const char* mode : modes) {
    if (runtime_.open_file(kPositionFileNumber, name.c_str(), mode, kPositionFileBuffer)) break;
  }
  // A freshly opened stream stands at offset 0, where read_position reads.
}

std::int32_t PositionFile::read_position() {
  unsigned char bytes[4] = {};
  // A file shorter than four bytes leaves the bytes it lacks zero.
  runtime_.with_file(kPositionFileNumber, [&](std::FILE* f) {
    [[maybe_unused]] const std::size_t read = std::fread(bytes, 1, sizeof bytes, f);
  });
  return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                   std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
}

void PositionFile::save_and_close(std::int32_t packed) {
  const auto u = static_cast<std::uint32_t>(packed);
  const unsigned char bytes[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                                  static_cast<unsigned char>(u >> 16),
                                  static_cast<unsigned char>(u >> 24)};
  runtime_.with_file(kPositionFileNumber, [&](std::FILE* f) {
    if (std::fseek(f, 0, SEEK_SET) == 0) std::fwrite(bytes, 1, sizeof bytes, f);
  });
  close();
}

}  // namespace gndfit
