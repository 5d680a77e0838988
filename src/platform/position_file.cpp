#include "platform/position_file.hpp"

namespace gndfit {

void PositionFile::open() {
  if (file_) return;  // a number already open is refused
  for (const char* mode : {"r+b", "w+b", "rb"}) {
    file_ = std::fopen(path_.c_str(), mode);
    if (file_) break;
  }
  if (!file_) return;
  std::setvbuf(file_, buffer_, _IOFBF, sizeof buffer_);
  std::fseek(file_, 0, SEEK_END);
  std::ftell(file_);
  std::fseek(file_, 0, SEEK_SET);
}

std::int32_t PositionFile::read_position() {
  if (!file_) return 0;
  unsigned char bytes[4] = {};
  std::fread(bytes, 1, sizeof bytes, file_);
  return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                   std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
}

void PositionFile::save_and_close(std::int32_t packed) {
  if (!file_) return;
  const auto u = static_cast<std::uint32_t>(packed);
  const unsigned char bytes[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                                  static_cast<unsigned char>(u >> 16),
                                  static_cast<unsigned char>(u >> 24)};
  if (std::fseek(file_, 0, SEEK_SET) == 0) std::fwrite(bytes, 1, sizeof bytes, file_);
  close();
}

void PositionFile::close() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace gndfit
