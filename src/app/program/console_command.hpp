// SPDX-License-Identifier: MIT
#pragma once
// The console program: interactive on the native console, or batch with
// the command line's FILEs as its input.
#include "app/common/command_line.hpp"

namespace gndfit {

// No arguments: the program on the native console until it is ended.
int run_interactive(int argc, char** argv);

// FILEs: the program reading them as its typed input; 1 when one cannot be
// read to its end, 2 when one cannot be opened.
int run_files(const CommandLine& line, int argc, char** argv);

}  // namespace gndfit
