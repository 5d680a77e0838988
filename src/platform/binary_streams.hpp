// SPDX-License-Identifier: MIT
#pragma once
// Standard input and output as bytes: no CR LF translation where the C
// library would do it (Windows), so that machine-readable output has LF
// line ends everywhere.
namespace gndfit {

void use_binary_standard_streams();

}  // namespace gndfit
