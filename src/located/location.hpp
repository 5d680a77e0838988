// SPDX-License-Identifier: MIT
#pragma once
// Where a value came from: an input's name and a line of it, and the one
// way a message names them ("FILE:line N").
#include <string>
#include <string_view>

namespace gndfit {

// The name standard input is given on the command line and in a Location.
inline constexpr std::string_view kStandardInput = "-";

struct Location {
  std::string source{kStandardInput};  // the input's name as given; empty: none (a C API's text)
  long line = 0;                       // counted from 1 in each input; 0: the whole input
};

// How a message names standard input.  The measurement lines leave it
// unnamed ("line N"): it is the input when no file is given.  The sweep
// conversions name it ("standard input:line N"): a run may read a second
// sweep, the probe's in air, and a message says which.
enum class StandardInputNaming { unnamed, named };

// The input's name for a message: "standard input" for "-".
std::string source_name(std::string_view source);

// "FILE:line N"; "line N" where there is no source (or standard input
// unnamed); nothing for line 0, an error of the whole input.
std::string location_text(const Location& where,
                          StandardInputNaming naming = StandardInputNaming::unnamed);

}  // namespace gndfit
