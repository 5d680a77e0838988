// SPDX-License-Identifier: MIT
#include "platform/runtime.hpp"

#include <clocale>

#include "platform/fpu.hpp"
#include "platform/regular_file.hpp"

namespace gndfit {

void Runtime::runtime_startup() {
  if (++setup_count_ != 1) return;
  argc_ = 0;
  argv_ = nullptr;
  mode_ = 0;
  select_extended_precision();
  std::setlocale(LC_CTYPE, "");
}

void Runtime::runtime_shutdown() {
  if (setup_count_ == 0 || --setup_count_ != 0) return;
  close_all_files();
}

void Runtime::runtime_set_args(int argc, char** argv, int mode) {
  argc_ = argc;
  argv_ = argv;
  mode_ = mode;
}

bool Runtime::open_file(int number, const char* path, const char* mode, std::size_t buffer_size) {
  std::lock_guard lock(files_mutex_);
  if (!valid(number)) return false;
  FileRecord& record = files_[static_cast<std::size_t>(number)];
  if (record.stream) return false;
  std::FILE* stream = open_regular_file(path, mode);
  if (!stream) return false;
  record.buffer = std::make_unique<char[]>(buffer_size);
  std::setvbuf(stream, record.buffer.get(), _IOFBF, buffer_size);
  record.stream = stream;
  any_file_opened_ = true;
  return true;
}

bool Runtime::is_open(int number) {
  std::lock_guard lock(files_mutex_);
  return valid(number) && files_[static_cast<std::size_t>(number)].stream != nullptr;
}

void Runtime::close_file(int number) {
  std::lock_guard lock(files_mutex_);
  if (valid(number)) close_locked(number);
}

void Runtime::close_locked(int number) {
  FileRecord& record = files_[static_cast<std::size_t>(number)];
  if (!record.stream) return;
  std::fclose(record.stream);  // writes out the buffer; errors are ignored
  record.stream = nullptr;
  record.buffer.reset();
}

void Runtime::close_all_files() {
  std::lock_guard lock(files_mutex_);
  if (!any_file_opened_) return;
  any_file_opened_ = false;
  for (int number = 1; number <= kLastFileNumber; ++number) close_locked(number);
}

void Runtime::register_ctrl_handler(ConsoleDevice& device, ControlHandler handler) {
  if (registered_device_) return;
  registered_device_ = &device;
  registered_id_ = device.add_control_handler(std::move(handler));
}

void Runtime::remove_ctrl_handler() {
  if (!registered_device_) return;
  registered_device_->remove_control_handler(registered_id_);
  registered_device_ = nullptr;
  registered_id_ = 0;
}

}  // namespace gndfit
