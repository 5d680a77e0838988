// SPDX-License-Identifier: MIT
#pragma once
// Typed fields into numbers.  Fields come from the last edited line or, when
// standard input is redirected, straight from the stream as raw bytes; blanks,
// commas and line ends separate them, and a field that is missing or holds no
// number reads as 0.
#include <cstdint>
#include <string>

#include "platform/console_device.hpp"

namespace gndfit {

inline constexpr int kFieldLimit = 67;
inline constexpr int kEndOfData = -1;

class InputSource {
 public:
  // Lines only (use_line), no stream: for text that is not the console's.
  InputSource() = default;
  explicit InputSource(ConsoleDevice& device) : device_(&device) {}

  // A finished line: unread fields of the previous one are dropped.
  void use_line(std::string line);
  // The redirected standard-input stream; reading continues where it was.
  void use_stream();
  bool reading_stream() const { return stream_; }
  // True when the stream has no byte left (nothing is consumed).
  bool stream_exhausted();

  // True while the current line has another field (blanks are skipped).
  bool line_has_field();

  int source_get();
  void source_unget(int byte);

  // Stores the next field (at most `limit` bytes and a zero) in buffer.
  int next_field(char* buffer, int limit, bool& is_real);
  int read_double(double& destination);
  int read_single(float& destination);

 private:
  void finish_field(int terminator);

  ConsoleDevice* device_ = nullptr;
  bool stream_ = false;
  std::string line_;
  std::int32_t read_pos_ = 0;
  int given_back_[4] = {};
  int given_back_count_ = 0;
};

std::int32_t convert_int32(const char* text, int length);
std::int64_t convert_int64(const char* text, int length);
double convert_real(const char* text);

}  // namespace gndfit
