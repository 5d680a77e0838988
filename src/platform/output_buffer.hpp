// SPDX-License-Identifier: MIT
#pragma once
// Raw output gathered in one 64 KiB buffer and written out in large pieces.
// The main thread alone appends; the bytes before `published_` are complete
// and a control-handler thread may send them when the process is about to
// end.  Writing happens under the mutex, which also keeps the count of bytes
// already sent, so nothing goes out twice; only the main thread's flush
// empties the buffer.
//
// A failed write on the main thread is handed to the failure handler once
// the lock is released (the handler ends the process: nothing written later
// could be trusted).  The ending path never waits long: it gives up when the
// lock stays held for 100 ms (the main thread blocked inside a write) and
// writes in bounded mode.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>

namespace gndfit {

struct WriteResult {
  std::size_t written = 0;
  int error = 0;  // the system's error number when not all was written
};

class OutputBuffer {
 public:
  // wait: block as long as the output needs; bounded: the process is
  // ending, give up once the output makes no progress for about 100 ms.
  enum class Mode { wait, bounded };
  using Writer = std::function<WriteResult(const char*, std::size_t, Mode)>;
  using FailureHandler = std::function<void(int error)>;
  static constexpr std::size_t kCapacity = 1 << 16;
  static constexpr std::chrono::milliseconds kEndingWait{100};

  explicit OutputBuffer(Writer write_all, FailureHandler on_failure = {})
      : write_all_(std::move(write_all)),
        on_failure_(std::move(on_failure)),
        bytes_(std::make_unique<char[]>(kCapacity)) {}

  // Main thread: keeps the bytes (a piece larger than the buffer goes out
  // at once); false when nothing could be written.
  bool append(const char* bytes, std::size_t count, std::size_t& written);
  // Main thread: sends what is held.
  void flush();
  // Any thread, when the process is about to end: sends what is complete.
  void flush_published();

 private:
  void report(int error);

  Writer write_all_;
  FailureHandler on_failure_;
  std::mutex flush_mutex_;
  std::unique_ptr<char[]> bytes_;
  std::size_t used_ = 0;  // main thread only
  std::size_t sent_ = 0;  // under the mutex
  std::atomic<std::size_t> published_{0};
};

}  // namespace gndfit
