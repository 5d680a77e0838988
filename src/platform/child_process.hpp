// SPDX-License-Identifier: MIT
#pragma once
// Another program run to its end: found on the PATH, started with its
// arguments (no shell between), waited for.  The one place that knows how
// a process is started on each system.
#include <string>
#include <vector>

namespace gndfit {

// The full name of `program` in the first folder of PATH that holds it as
// an executable file; empty when none does.
std::string find_on_path(const std::string& program);

struct ChildExit {
  bool started = false;  // false: `error` says why it could not be started
  int status = 0;        // its exit status; 128 + N when a signal N ended it
  std::string error;
};

// Runs `program` (a full name, as find_on_path gives it) with `arguments`
// in the current folder and waits for it.  On POSIX its standard input,
// output and error are the null device, so that nothing it prints mixes
// with our own output (a program whose results are in files is meant);
// on Windows it shares ours.
ChildExit run_child(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace gndfit
