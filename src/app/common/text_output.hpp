// SPDX-License-Identifier: MIT
#pragma once
// What every command does around its own work: the usage error, the
// opening of the command line's files, and the end of a text output.
#include <string>

#include "app/common/command_line.hpp"
#include "app/common/input_files.hpp"

namespace gndfit {

inline constexpr int kUsageError = kUsageStatus;

// "gndfit: FILE:line N: reason" on standard error, with "(try 'gndfit
// --help')" after a usage error; the failure's status.
int report_failure(const Failure& failure);

// A usage error of the whole run, reported as above: its status.
int usage_error(const std::string& message);

// `text` on standard output: 0, or 1 when it cannot be written.
int print_text(const std::string& text);

// Opens the command line's files before anything runs; false after
// reporting the one that cannot be opened (a usage error).
bool open_input_files(const CommandLine& line, InputFiles& files);

// The text outputs go through iostreams, bytes as they are.
void start_text_output();

// Standard output flushed: 0, or 1 after saying why it cannot be written.
int flush_standard_output();

// The status of a text output run: 1 when an input could not be read to
// its end (reported), the output not written, or a line skipped.
int finish_text_output(const InputFiles& files, bool skipped);

}  // namespace gndfit
