// SPDX-License-Identifier: MIT
#include "located/outcome.hpp"

namespace gndfit {

std::string failure_text(const Failure& failure) {
  const std::string place = location_text(failure.where, failure.naming);
  return place.empty() ? failure.reason : place + ": " + failure.reason;
}

}  // namespace gndfit
