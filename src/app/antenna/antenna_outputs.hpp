// SPDX-License-Identifier: MIT
#pragma once
// --antenna's outputs: a report for people, --json and --csv.
#include <cstddef>
#include <ostream>
#include <span>
#include <string>

#include "antenna/antenna_study.hpp"
#include "app/common/command_line.hpp"

namespace gndfit {

// What the report says the ground came from.
struct AntennaHeading {
  std::string deck;
  std::size_t measurements = 1;
  bool joint = false;
  bool weighted = false;
};

std::string antenna_report(const AntennaHeading& heading, std::span<const AntennaBand> bands,
                           std::span<const double> elevations);
std::string antenna_json(std::span<const AntennaBand> bands);
std::string antenna_csv(std::span<const AntennaBand> bands, std::span<const double> elevations);

void write_antenna(std::ostream& out, JointOutput form, const AntennaHeading& heading,
                   std::span<const AntennaBand> bands, std::span<const double> elevations);

}  // namespace gndfit
