// SPDX-License-Identifier: MIT
#include "located/location.hpp"

namespace gndfit {

std::string source_name(std::string_view source) {
  return source == kStandardInput ? std::string("standard input") : std::string(source);
}

std::string location_text(const Location& where, StandardInputNaming naming) {
  if (where.line <= 0) return {};
  const bool unnamed = where.source.empty() ||
                       (where.source == kStandardInput && naming == StandardInputNaming::unnamed);
  const std::string line = "line " + std::to_string(where.line);
  return unnamed ? line : source_name(where.source) + ":" + line;
}

}  // namespace gndfit
