#pragma once
// Raw output gathered in one 64 KiB buffer and written out in large pieces.
// The main thread alone appends; the bytes before `published_` are complete
// and a control-handler thread may send them when the process is about to
// end.  Writing happens under the mutex, which also keeps the count of bytes
// already sent, so nothing goes out twice; only the main thread's flush
// empties the buffer.
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>

namespace gndfit {

class OutputBuffer {
 public:
  // Writes all it can of the bytes and returns how many it wrote.
  using Writer = std::function<std::size_t(const char*, std::size_t)>;
  static constexpr std::size_t kCapacity = 1 << 16;

  explicit OutputBuffer(Writer write_all)
      : write_all_(std::move(write_all)), bytes_(std::make_unique<char[]>(kCapacity)) {}

  // Main thread: keeps the bytes (a piece larger than the buffer goes out
  // at once); false when nothing could be written.
  bool append(const char* bytes, std::size_t count, std::size_t& written);
  // Main thread: sends what is held.
  void flush();
  // Any thread, when the process is about to end: sends what is complete.
  void flush_published();

 private:
  Writer write_all_;
  std::mutex flush_mutex_;
  std::unique_ptr<char[]> bytes_;
  std::size_t used_ = 0;  // main thread only
  std::size_t sent_ = 0;  // under the mutex
  std::atomic<std::size_t> published_{0};
};

}  // namespace gndfit
