// SPDX-License-Identifier: MIT
#include "platform/native_console.hpp"

#ifdef _WIN32
#include "platform/windows_console.hpp"
#else
#include "platform/terminal_console.hpp"
#endif

namespace gndfit {

std::unique_ptr<ConsoleDevice> make_native_console() {
#ifdef _WIN32
  return std::make_unique<WindowsConsole>();
#else
  occupy_closed_standard_descriptors();
  if (!stdio_is_terminal()) return std::make_unique<PosixStreamConsole>();
  if (terminal_can_draw()) return std::make_unique<TerminalConsole>();
  return std::make_unique<PosixStreamConsole>(/*typed=*/true);
#endif
}

std::unique_ptr<ConsoleDevice> make_batch_console(InputBuffer::Reader reader) {
#ifdef _WIN32
  return std::make_unique<WindowsConsole>(std::move(reader));
#else
  occupy_closed_standard_descriptors();
  return std::make_unique<PosixStreamConsole>(std::move(reader));
#endif
}

}  // namespace gndfit
