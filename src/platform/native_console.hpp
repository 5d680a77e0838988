#pragma once
// The console device of the platform the program is built for.
#ifdef _WIN32
#include "platform/windows_console.hpp"
namespace gndfit {
using NativeConsole = WindowsConsole;
}
#else
#include "platform/posix_stream_console.hpp"
namespace gndfit {
using NativeConsole = PosixStreamConsole;
}
#endif
