// SPDX-License-Identifier: MIT
#pragma once
// What one nec2c run printed, read back: the feed's impedance and input
// power, the radiation pattern's rows, and the average power gain.
#include <string>
#include <string_view>
#include <vector>

namespace gndfit {

struct PatternRow {
  double theta_deg = 0.0;  // from the zenith
  double phi_deg = 0.0;    // azimuth, NEC's phi
  double total_db = 0.0;   // TOTAL power gain as printed (0.01 dB)
  // |E_theta|^2 + |E_phi|^2 from the printed field magnitudes (V), which
  // carry five significant digits where the gain in dB carries 0.01 dB.
  double field_squared = 0.0;
};

struct NecResult {
  double feed_r_ohms = 0.0;
  double feed_x_ohms = 0.0;
  double input_power_w = 0.0;
  std::vector<PatternRow> pattern;  // in nec2c's order
  double average_gain = 0.0;        // over the solid angle of the pattern
};

// Reads nec2c's output.  False, with `error` naming the part that is
// missing, when it lacks one.
bool read_nec_output(std::string_view text, NecResult& result, std::string& error);

// The last line that holds anything: where nec2c writes why it stopped
// (it then exits with status 255), without its leading blanks.
std::string nec_stop_message(std::string_view text);

// The power gain (a ratio) in a pattern row's direction from its fields:
// G = 2 pi (|E_theta|^2 + |E_phi|^2) / (eta0 P_in), NEC's far field being
// r E for a source of input power P_in.
double power_gain_from_fields(const PatternRow& row, double input_power_w);

}  // namespace gndfit
