// SPDX-License-Identifier: MIT
#include "app/antenna/antenna_outputs.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/common/json_text.hpp"
#include "number/shortest.hpp"

namespace gndfit {
namespace {

double db(double ratio) { return 10.0 * std::log10(ratio); }

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// A value with its standard deviation to two significant digits and the
// value to the same place, but never to more than `decimals`, the places
// its source carries (nec2c prints gains to 0.01 dB); without one, to
// `decimals`.
std::string with_sd(const Estimate& e, int decimals) {
  if (e.sd_bound > 0.0) {
    // Below what nec2c's digits resolve: the bound, never a spread of 0.
    // The bound to one significant digit, rounded up so as never to
    // claim less than it is.
    const double unit = std::pow(10.0, std::floor(std::log10(e.sd_bound)));
    char bound[32];
    std::snprintf(bound, sizeof bound, "%g", std::ceil(e.sd_bound / unit) * unit);
    return fixed(e.value, decimals) + " +- <" + bound;
  }
  if (!e.has_sd) return fixed(e.value, decimals);
  if (!(e.sd > 0.0)) return fixed(e.value, decimals) + " +- 0";
  const int sd_places = std::clamp(1 - static_cast<int>(std::floor(std::log10(e.sd))), 0, 6);
  return fixed(e.value, std::min(sd_places, decimals)) + " +- " + fixed(e.sd, sd_places);
}

// The decimals nec2c's five significant digits give a value, at most
// `cap`: -1.5552E+03 has one, 3.4056E+01 three.
int printed_decimals(double value, int cap) {
  if (value == 0.0) return cap;
  return std::clamp(4 - static_cast<int>(std::floor(std::log10(std::abs(value)))), 0, cap);
}

std::string right(const std::string& text, std::size_t width) {
  return text.size() >= width ? " " + text : std::string(width - text.size(), ' ') + text;
}

Estimate ground_permittivity(const GroundAt& g) {
  return {g.permittivity, std::sqrt(g.permittivity_var), g.has_covariance};
}
Estimate ground_conductivity(const GroundAt& g) {
  return {g.conductivity_ms, std::sqrt(g.conductivity_var), g.has_covariance};
}
double ground_correlation(const GroundAt& g) {
  const double scale = std::sqrt(g.permittivity_var * g.conductivity_var);
  return scale > 0.0 ? g.covariance / scale : 0.0;
}
Estimate percent(const Estimate& e) { return {100.0 * e.value, 100.0 * e.sd, e.has_sd}; }

std::string heading_text(const AntennaHeading& h) {
  std::string out = "Antenna " + h.deck + " over the ground of ";
  if (!h.joint) return out + "one measurement (the exact fit)\n";
  out += "a joint fit of " + std::to_string(h.measurements) + " measurements" +
         (h.weighted ? ", weighted\n" : ", unweighted\n");
  return out +
         "Values +- 1 sd: the ground's uncertainty propagated through nec2c\n"
         "(+- <B: a spread below what nec2c's printed digits resolve, at most B)\n";
}

}  // namespace

std::string antenna_report(const AntennaHeading& heading, std::span<const AntennaBand> bands,
                           std::span<const double> elevations) {
  std::string out = heading_text(heading);
  out +=
      "\nGround and feed:\n"
      "      MHz    permittivity    mS/m              feed R ohms       feed X ohms\n";
  for (const AntennaBand& b : bands) {
    out += right(shortest(b.ground.frequency_mhz), 9) +
           right(with_sd(ground_permittivity(b.ground), 2), 16) +
           right(with_sd(ground_conductivity(b.ground), 3), 18) +
           right(with_sd(b.feed_r_ohms, printed_decimals(b.feed_r_ohms.value, 2)), 18) +
           right(with_sd(b.feed_x_ohms, printed_decimals(b.feed_x_ohms.value, 2)), 18) + '\n';
  }
  out +=
      "\nPeak gain, and the best gain over azimuth at each elevation (dBi; azimuth in degrees):\n"
      "      MHz   peak dBi       elevation azimuth";
  for (const double e : elevations) out += right(shortest(e) + " deg", 16) + right("azimuth", 8);
  out += '\n';
  for (const AntennaBand& b : bands) {
    out += right(shortest(b.ground.frequency_mhz), 9) + right(with_sd(b.peak_gain_dbi, 2), 15) +
           right(shortest(b.peak_elevation_deg), 10) + right(shortest(b.peak_azimuth_deg), 8);
    for (const ElevationGain& g : b.gains) {
      out += right(with_sd(g.gain_dbi, 2), 16) + right(shortest(g.azimuth_deg), 8);
    }
    out += '\n';
  }
  out +=
      "\nShare of the input power radiated into the sky (the rest is lost in the ground\n"
      "and the antenna's loads):\n"
      "      MHz   per cent           dB\n";
  for (const AntennaBand& b : bands) {
    out += right(shortest(b.ground.frequency_mhz), 9) +
           right(with_sd(percent(b.hemisphere_efficiency), 2), 15) +
           right(fixed(db(b.hemisphere_efficiency.value), 2), 13) + '\n';
  }
  return out;
}

namespace {

// "name": value, "name_sd": sd or null.
void estimate_members(JsonWriter& json, const std::string& name, const Estimate& e) {
  json.name(name).number(e.value);
  json.name(name + "_sd").number_or_null(e.has_sd, e.sd);
}

void ground_object(JsonWriter& json, const GroundAt& g) {
  json.name("ground").begin_object();
  json.name("permittivity").number(g.permittivity);
  json.name("conductivity_ms_per_m").number(g.conductivity_ms);
  json.name("permittivity_sd").number_or_null(g.has_covariance, std::sqrt(g.permittivity_var));
  json.name("conductivity_sd_ms_per_m")
      .number_or_null(g.has_covariance, std::sqrt(g.conductivity_var));
  json.name("correlation").number_or_null(g.has_covariance, ground_correlation(g));
  json.end_object();
}

}  // namespace

std::string antenna_json(std::span<const AntennaBand> bands) {
  JsonWriter json;
  json.begin_object().name("frequencies").begin_array();
  for (const AntennaBand& b : bands) {
    json.begin_object();
    json.name("frequency_mhz").number(b.ground.frequency_mhz);
    ground_object(json, b.ground);
    estimate_members(json, "feed_r_ohms", b.feed_r_ohms);
    estimate_members(json, "feed_x_ohms", b.feed_x_ohms);
    estimate_members(json, "peak_gain_dbi", b.peak_gain_dbi);
    json.name("peak_elevation_deg").number(b.peak_elevation_deg);
    json.name("peak_azimuth_deg").number(b.peak_azimuth_deg);
    json.name("gains").begin_array();
    for (const ElevationGain& g : b.gains) {
      json.begin_object();
      json.name("elevation_deg").number(g.elevation_deg);
      estimate_members(json, "gain_dbi", g.gain_dbi);
      json.name("azimuth_deg").number(g.azimuth_deg);
      json.end_object();
    }
    json.end_array();
    estimate_members(json, "hemisphere_efficiency", b.hemisphere_efficiency);
    json.name("hemisphere_efficiency_db").number(db(b.hemisphere_efficiency.value));
    json.end_object();
  }
  return json.end_array().end_object().text();
}

std::string antenna_csv(std::span<const AntennaBand> bands, std::span<const double> elevations) {
  std::string out =
      "frequency_mhz,ground_permittivity,ground_permittivity_sd,ground_conductivity_ms_per_m,"
      "ground_conductivity_sd_ms_per_m,ground_correlation,feed_r_ohms,feed_r_ohms_sd,feed_x_ohms,"
      "feed_x_ohms_sd,peak_gain_dbi,peak_gain_dbi_sd,peak_elevation_deg,peak_azimuth_deg";
  for (const double e : elevations) {
    const std::string at = shortest(e);
    out += ",gain_dbi_at_" + at + ",gain_dbi_at_" + at + "_sd,azimuth_deg_at_" + at;
  }
  out += ",hemisphere_efficiency,hemisphere_efficiency_sd,hemisphere_efficiency_db\n";
  auto field = [&out](bool present, double value) {
    out += ',';
    if (present) out += shortest(value);
  };
  auto estimate = [&field](const Estimate& e) {
    field(true, e.value);
    field(e.has_sd, e.sd);
  };
  for (const AntennaBand& b : bands) {
    const GroundAt& g = b.ground;
    out += shortest(g.frequency_mhz);
    estimate(ground_permittivity(g));
    estimate(ground_conductivity(g));
    field(g.has_covariance, ground_correlation(g));
    estimate(b.feed_r_ohms);
    estimate(b.feed_x_ohms);
    estimate(b.peak_gain_dbi);
    field(true, b.peak_elevation_deg);
    field(true, b.peak_azimuth_deg);
    for (const ElevationGain& e : b.gains) {
      estimate(e.gain_dbi);
      field(true, e.azimuth_deg);
    }
    estimate(b.hemisphere_efficiency);
    field(true, db(b.hemisphere_efficiency.value));
    out += '\n';
  }
  return out;
}

void write_antenna(std::ostream& out, JointOutput form, const AntennaHeading& heading,
                   std::span<const AntennaBand> bands, std::span<const double> elevations) {
  switch (form) {
    case JointOutput::json:
      out << antenna_json(bands) << '\n';
      break;
    case JointOutput::csv:
      out << antenna_csv(bands, elevations);
      break;
    default:
      out << antenna_report(heading, bands, elevations);
      break;
  }
}

}  // namespace gndfit
