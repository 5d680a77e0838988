#pragma once
// The console device for the platform and the way the program was started:
// the Windows console; on POSIX the terminal when standard input and output
// are both terminals, else the byte streams.
#include <memory>

#include "platform/console_device.hpp"

namespace gndfit {

std::unique_ptr<ConsoleDevice> make_native_console();

}  // namespace gndfit
