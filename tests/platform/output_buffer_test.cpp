// SPDX-License-Identifier: MIT
#include "platform/output_buffer.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gndfit {
namespace {

struct Sink {
  std::string bytes;
  int writes = 0;
  OutputBuffer::Writer writer() {
    return [this](const char* b, std::size_t n, OutputBuffer::Mode) {
      bytes.append(b, n);
      ++writes;
      return WriteResult{n, 0};
    };
  }
};

TEST(OutputBuffer, GathersSmallPiecesAndSendsLargeOnesAtOnce) {
  Sink sink;
  OutputBuffer out(sink.writer());
  std::size_t written = 0;
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(out.append("abc", 3, written));
    expected += "abc";
  }
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(sink.writes, 0) << "nothing goes out before a flush";
  out.flush();
  EXPECT_EQ(sink.writes, 1);
  const std::string big(OutputBuffer::kCapacity + 5, 'x');
  out.append("<", 1, written);
  out.append(big.data(), big.size(), written);
  EXPECT_EQ(written, big.size());
  out.flush();
  EXPECT_EQ(sink.bytes, expected + "<" + big);
}

TEST(OutputBuffer, AFullBufferIsSentBeforeMoreIsKept) {
  Sink sink;
  OutputBuffer out(sink.writer());
  std::size_t written = 0;
  std::string expected;
  for (int i = 0; expected.size() < 3 * OutputBuffer::kCapacity; ++i) {
    const std::string piece = std::to_string(i) + std::string(1000, 'p');
    out.append(piece.data(), piece.size(), written);
    expected += piece;
  }
  EXPECT_GE(sink.writes, 2);
  out.flush();
  EXPECT_EQ(sink.bytes.size(), expected.size());
  EXPECT_TRUE(sink.bytes == expected) << "every piece once, whole and in order";
}

// The control-handler thread sends what is complete while the main thread
// goes on writing and flushing: every byte arrives once, in order.
TEST(OutputBuffer, BytesSentFromAnotherThreadAreNeverSentTwice) {
  std::string received;
  std::mutex received_mutex;  // the writer is called under the buffer's lock anyway
  OutputBuffer out([&](const char* b, std::size_t n, OutputBuffer::Mode) {
    std::lock_guard lock(received_mutex);
    received.append(b, n);
    return WriteResult{n, 0};
  });
  std::atomic<bool> done{false};
  std::thread handler([&] {
    while (!done.load()) out.flush_published();
  });
  std::string expected;
  std::size_t written = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::string piece = std::to_string(i) + ",";
    out.append(piece.data(), piece.size(), written);
    expected += piece;
    if (i % 5000 == 0) out.flush();
  }
  done = true;
  handler.join();
  out.flush();
  EXPECT_EQ(received.size(), expected.size());
  EXPECT_TRUE(received == expected);
}

// A failed write reaches the failure handler with its error number, after
// the buffer's lock is released: the handler may end the run through the
// control path, which sends what is complete.
TEST(OutputBuffer, AFailedWriteIsReportedOutsideTheLock) {
  std::vector<int> errors;
  OutputBuffer* self = nullptr;
  OutputBuffer out(
      [](const char*, std::size_t, OutputBuffer::Mode) {
        return WriteResult{0, 28};
      },
      [&](int error) {
        errors.push_back(error);
        self->flush_published();  // would deadlock under the lock
      });
  self = &out;
  std::size_t written = 0;
  out.append("abc", 3, written);
  EXPECT_TRUE(errors.empty()) << "nothing is written before a flush";
  out.flush();
  const std::string big(OutputBuffer::kCapacity, 'x');
  EXPECT_FALSE(out.append(big.data(), big.size(), written));
  EXPECT_EQ(errors, (std::vector<int>{28, 28}));
}

// The main thread is stuck inside a write (a reader that stopped reading):
// the ending path gives up after a short wait instead of waiting with it.
TEST(OutputBuffer, TheEndingPathDoesNotWaitForAWriteThatIsStuck) {
  std::mutex gate;
  gate.lock();
  std::atomic<bool> writing{false};
  OutputBuffer out([&](const char*, std::size_t n, OutputBuffer::Mode mode) {
    if (mode == OutputBuffer::Mode::wait) {
      writing = true;
      std::lock_guard wait_until_opened(gate);
    }
    return WriteResult{n, 0};
  });
  std::size_t written = 0;
  out.append("abc", 3, written);
  std::thread main_thread([&] { out.flush(); });
  while (!writing) std::this_thread::yield();
  const auto start = std::chrono::steady_clock::now();
  out.flush_published();
  const auto waited = std::chrono::steady_clock::now() - start;
  gate.unlock();
  main_thread.join();
  EXPECT_LT(waited, std::chrono::seconds(2));
  EXPECT_GE(waited, OutputBuffer::kEndingWait);
}

}  // namespace
}  // namespace gndfit
