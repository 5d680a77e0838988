// SPDX-License-Identifier: MIT
#pragma once
// The user's antenna over the fitted ground, one nec2c run per frequency,
// and with the ground's uncertainty four more: the ground's permittivity
// and conductivity each moved by half a standard deviation either way (at
// least 1 % of the value), so that every result's standard deviation
// follows by linear propagation with central differences.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "antenna/nec_deck.hpp"
#include "antenna/nec_output.hpp"

namespace gndfit {

// The ground at one frequency; with a joint fit also the covariance of its
// permittivity and conductivity there.
struct GroundAt {
  double frequency_mhz = 0.0;
  double permittivity = 0.0;     // relative
  double conductivity_ms = 0.0;  // mS/m
  bool has_covariance = false;
  double permittivity_var = 0.0;
  double covariance = 0.0;  // permittivity x conductivity (mS/m)
  double conductivity_var = 0.0;
  NecRunCards cards;  // the nominal run's cards, as the caller writes the values
};

// A result with its standard deviation where the ground has one.  Where
// the ground's steps moved nec2c's printed result by nothing, the standard
// deviation is not known: `has_sd` is false and `sd_bound` (above 0) says
// how large it can at most be.
struct Estimate {
  double value = 0.0;
  double sd = 0.0;
  bool has_sd = false;
  double sd_bound = 0.0;
};

struct ElevationGain {
  double elevation_deg = 0.0;
  Estimate gain_dbi;  // the best over azimuth at this elevation
  double azimuth_deg = 0.0;
};

struct AntennaBand {
  GroundAt ground;
  Estimate feed_r_ohms;
  Estimate feed_x_ohms;
  Estimate peak_gain_dbi;
  double peak_elevation_deg = 0.0;
  double peak_azimuth_deg = 0.0;
  std::vector<ElevationGain> gains;
  // The share of the input power radiated into the upper hemisphere: the
  // average power gain over it, divided by 2.
  Estimate hemisphere_efficiency;
};

// Runs one deck: true with nec2c's output, or false with why it failed
// (nec2c's own message where it gave one).  Called from several threads
// at once, each call with its own `job` number.
using NecRun = std::function<bool(std::size_t job, std::string_view deck, std::string& output,
                                  std::string& error)>;

struct AntennaStudy {
  std::vector<AntennaBand> bands;
  std::string error;  // empty when every run succeeded
};

// Every run of every frequency, `threads` at a time; the first failure in
// the frequencies' order names its frequency.
AntennaStudy study_antenna(const NecDeck& deck, std::span<const GroundAt> grounds,
                           std::span<const double> elevations_deg, const NecRun& run,
                           unsigned threads);

// The pattern's best row: the largest TOTAL gain, the first in nec2c's
// order among those within 0.005 dB of it (the printed gains' ties).
std::size_t peak_row(std::span<const PatternRow> pattern);
// The best row over azimuth at one elevation (theta = 90 - elevation),
// with the same rule; the pattern's size when no row is at that elevation.
std::size_t best_row_at(std::span<const PatternRow> pattern, double elevation_deg);

}  // namespace gndfit
