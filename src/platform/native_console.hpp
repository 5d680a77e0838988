// SPDX-License-Identifier: MIT
#pragma once
// The console device for the platform and the way the program was started:
// the Windows console; on POSIX the terminal when standard input and output
// are both terminals, else the byte streams.
#include <memory>

#include "platform/console_device.hpp"
#include "platform/input_buffer.hpp"

namespace gndfit {

std::unique_ptr<ConsoleDevice> make_native_console();

// For batch use with the input from `reader` (the files named on the
// command line): the byte streams on POSIX whatever standard input and
// output are; on Windows the console (whose own input then stays unread).
std::unique_ptr<ConsoleDevice> make_batch_console(InputBuffer::Reader reader);

}  // namespace gndfit
