// SPDX-License-Identifier: MIT
#include "sweep/probe_setting.hpp"

#include <map>

#include "sweep/sweep_text.hpp"

namespace gndfit {
namespace {

// The comma-separated `name=value` settings after the probe's kind.
bool split_settings(std::string_view text, std::map<std::string, std::string>& settings,
                    std::string& error) {
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const std::size_t equals = item.find('=');
    if (equals == std::string_view::npos || equals == 0) {
      error = "probe setting '" + std::string(item) + "' is not NAME=VALUE";
      return false;
    }
    const std::string name(item.substr(0, equals));
    if (!settings.emplace(name, std::string(item.substr(equals + 1))).second) {
      error = "probe setting '" + name + "' is given twice";
      return false;
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return true;
}

bool positive_setting(const std::map<std::string, std::string>& settings, const std::string& name,
                      std::string_view unit, double& value, std::string& error) {
  const auto found = settings.find(name);
  if (found == settings.end()) {
    error = "the probe needs '" + name + "=" + std::string(unit) + "'";
    return false;
  }
  if (!parse_number(found->second, value) || !(value > 0.0)) {
    error = "probe setting '" + name + "=" + found->second + "': expected a positive number of " +
            std::string(unit);
    return false;
  }
  return true;
}

// An optional setting that may be 0: `value` is left as it is when absent.
bool non_negative_setting(const std::map<std::string, std::string>& settings,
                          const std::string& name, std::string_view unit, double& value,
                          std::string& error) {
  const auto found = settings.find(name);
  if (found == settings.end()) return true;
  if (!parse_number(found->second, value) || !(value >= 0.0)) {
    error = "probe setting '" + name + "=" + found->second + "': expected a number of " +
            std::string(unit) + ", 0 or more";
    return false;
  }
  return true;
}

bool only_known(const std::map<std::string, std::string>& settings,
                std::initializer_list<std::string_view> known, std::string_view kind,
                std::string& error) {
  for (const auto& [name, value] : settings) {
    bool found = false;
    for (std::string_view k : known) found = found || name == k;
    if (!found) {
      error = "unknown setting '" + name + "' for a " + std::string(kind) + " probe";
      return false;
    }
  }
  return true;
}

bool parse_short(const std::map<std::string, std::string>& settings, ProbeSetting& probe,
                 std::string& error) {
  if (!only_known(settings, {"c0", "air", "l", "cs", "liquid", "liquid_er"}, "short", error)) {
    return false;
  }
  const bool liquid = settings.count("liquid") != 0 || settings.count("liquid_er") != 0;
  if (liquid && settings.count("air") == 0) {
    error = "the short probe's 'liquid=FILE,liquid_er=ER' go with 'air=FILE'";
    return false;
  }
  const auto air = settings.find("air");
  if (air != settings.end()) {
    if (settings.count("c0") != 0) {
      error = "give the short probe 'c0=PF' or 'air=FILE', not both";
      return false;
    }
    if (settings.count("l") != 0 || settings.count("cs") != 0) {
      error = "the short probe's 'l=NH' and 'cs=PF' go with 'c0=PF'";
      return false;
    }
    if (air->second.empty()) {
      error = "probe setting 'air=' needs a file";
      return false;
    }
    probe.air_file = air->second;
    if (!liquid) return true;
    const auto file = settings.find("liquid");
    if (file == settings.end() || file->second.empty()) {
      error = "probe setting 'liquid_er=' needs 'liquid=FILE', the sweep in the liquid";
      return false;
    }
    probe.liquid_file = file->second;
    if (!positive_setting(settings, "liquid_er", "relative permittivity", probe.liquid_permittivity,
                          error)) {
      return false;
    }
    if (!(probe.liquid_permittivity > 1.0)) {
      error = "probe setting 'liquid_er=" + settings.at("liquid_er") +
              "': a liquid's relative permittivity is above 1 (distilled water: 78.4 at 25 C)";
      return false;
    }
    return true;
  }
  double picofarads = 0.0;
  if (!positive_setting(settings, "c0", "picofarads", picofarads, error)) {
    error += " (or 'air=FILE')";
    return false;
  }
  probe.c0_farads = picofarads * 1e-12;
  double nanohenries = 0.0, stray_picofarads = 0.0;
  if (!non_negative_setting(settings, "l", "nanohenries", nanohenries, error) ||
      !non_negative_setting(settings, "cs", "picofarads", stray_picofarads, error)) {
    return false;
  }
  probe.lead_henries = nanohenries * 1e-9;
  probe.stray_farads = stray_picofarads * 1e-12;
  return true;
}

// False, with `error` saying what is wrong, when `text` is not a probe.
bool read_probe_setting(std::string_view text, ProbeSetting& probe, std::string& error) {
  const std::size_t comma = text.find(',');
  const std::string_view kind = text.substr(0, comma);
  std::map<std::string, std::string> settings;
  if (comma != std::string_view::npos && !split_settings(text.substr(comma + 1), settings, error)) {
    return false;
  }
  // Any probe: the analyser's uncertainty, taken out before the probe's own.
  if (settings.count("u_gamma") != 0) {
    if (!positive_setting(settings, "u_gamma", "(a reflection coefficient's standard uncertainty)",
                          probe.u_gamma, error)) {
      return false;
    }
    settings.erase("u_gamma");
  }
  if (kind == "short") {
    probe.kind = ProbeKind::short_probe;
    return parse_short(settings, probe, error);
  }
  if (kind == "line") {
    probe.kind = ProbeKind::line_probe;
    return only_known(settings, {"length", "z0"}, "line", error) &&
           positive_setting(settings, "length", "metres", probe.length_m, error) &&
           positive_setting(settings, "z0", "ohms", probe.z0_ohms, error);
  }
  error = "unknown probe '" + std::string(kind) + "': expected 'short' or 'line'";
  return false;
}

}  // namespace

Outcome<ProbeSetting> parse_probe_setting(std::string_view text) {
  ProbeSetting probe;
  std::string error;
  if (!read_probe_setting(text, probe, error)) return usage_failure(error);
  return probe;
}

}  // namespace gndfit
