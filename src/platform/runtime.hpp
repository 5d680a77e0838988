// SPDX-License-Identifier: MIT
#pragma once
// The process's run-time state around the entry routine: the set-up counter,
// the recorded arguments, the disk files by number (1 to 255) and the
// registration of the run-time's console control handler.  Start-up selects
// the floating-point precision and the character locale; shutdown closes
// every file still open, which writes out its buffer.
#include <array>
#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/console_device.hpp"

namespace gndfit {

class Runtime {
 public:
  static constexpr int kLastFileNumber = 255;

  // Work is done only when the count goes from 0 to 1.
  void runtime_startup();
  // Work is done only when the count comes back to 0.
  void runtime_shutdown();
  void runtime_set_args(int argc, char** argv, int mode);
  // The mode the entry routine records with its arguments.  Nothing reads
  // the arguments or the mode back; they are recorded on purpose, as a C
  // run-time keeps what its entry hands it.
  static constexpr int kEntryMode = 2;
  int setup_count() const { return setup_count_; }

  // Opens a regular disk file under its number with a fully buffered
  // stream of `buffer_size` bytes; a number already open is refused.
  bool open_file(int number, const char* path, const char* mode, std::size_t buffer_size);
  bool is_open(int number);
  // Runs `use` on the file's stream while no other thread can close it.
  template <typename Use>
  void with_file(int number, Use&& use);
  void close_file(int number);
  void close_all_files();

  // Registers the run-time's control handler once; the exit path removes it.
  void register_ctrl_handler(ConsoleDevice& device, ControlHandler handler);
  void remove_ctrl_handler();
  bool ctrl_handler_registered() const { return registered_device_ != nullptr; }
  ControlHandlerId ctrl_handler_id() const { return registered_id_; }

 private:
  struct FileRecord {
    std::FILE* stream = nullptr;
    std::unique_ptr<char[]> buffer;
  };
  static bool valid(int number) { return number >= 1 && number <= kLastFileNumber; }
  void close_locked(int number);

  int setup_count_ = 0;
  int argc_ = 0;
  char** argv_ = nullptr;
  int mode_ = 0;
  // The control-handler thread closes a file while the main thread may be
  // ending the process: file operations take this lock.
  std::mutex files_mutex_;
  std::array<FileRecord, kLastFileNumber + 1> files_;
  bool any_file_opened_ = false;
  ConsoleDevice* registered_device_ = nullptr;
  ControlHandlerId registered_id_ = 0;
};

template <typename Use>
void Runtime::with_file(int number, Use&& use) {
  std::lock_guard lock(files_mutex_);
  if (valid(number) && files_[static_cast<std::size_t>(number)].stream) {
    use(files_[static_cast<std::size_t>(number)].stream);
  }
}

}  // namespace gndfit
