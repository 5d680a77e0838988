// SPDX-License-Identifier: MIT
#include "app/common/command_line.hpp"

#include <iterator>
#include <string>

#include "app/program/band_table.hpp"
#include "number/decimal_text.hpp"

#ifndef GNDFIT_VERSION
#define GNDFIT_VERSION "unknown"
#endif
#ifndef GNDFIT_REVISION
#define GNDFIT_REVISION ""
#endif

namespace gndfit {

namespace {

// A comma-separated list, each item read as a T and kept only where
// `admitted` says so; false at the first item that is not.
template <typename T, typename Admitted>
bool parse_number_list(std::string_view text, std::vector<T>& values, Admitted admitted) {
  values.clear();
  while (true) {
    const std::size_t comma = text.find(',');
    T value{};
    if (!read_decimal(text.substr(0, comma), value) || !admitted(value)) return false;
    values.push_back(value);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace

bool parse_frequency_list(std::string_view text, std::vector<float>& frequencies) {
  return parse_number_list(text, frequencies, [](float f) { return f > 0.0f; });
}

bool parse_elevation_list(std::string_view text, std::vector<double>& elevations) {
  return parse_number_list(text, elevations, [](double e) {
    return e >= 1.0 && e <= 90.0 && e == static_cast<double>(static_cast<int>(e));
  });
}

std::span<const float> output_frequencies(const CommandLine& line) {
  if (line.frequencies.empty()) return kBandTable;
  return line.frequencies;
}

CommandLine parse_command_line(const std::vector<std::string_view>& arguments) {
  CommandLine line;
  bool csv = false;
  bool nec = false;
  bool freq = false;
  bool probe = false;
  bool joint = false;
  bool json = false;
  bool antenna = false;
  bool elevation = false;
  bool model = false;
  bool options_ended = false;
  auto fail = [](std::string message) {
    CommandLine failed;
    failed.mode = RunMode::error;
    failed.error = std::move(message);
    return failed;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view arg = arguments[i];
    if (options_ended || arg == "-" || arg.empty() || arg[0] != '-') {
      line.files.emplace_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "-h" || arg == "--help") {
      line.mode = RunMode::help;
      return line;
    } else if (arg == "--version") {
      line.mode = RunMode::version;
      return line;
    } else if (arg == "--csv") {
      csv = true;
    } else if (arg == "--joint") {
      joint = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--freq" || arg.starts_with("--freq=") || arg == "--nec" ||
               arg.starts_with("--nec=")) {
      const bool is_nec = arg.starts_with("--nec");
      const std::string name = is_nec ? "--nec" : "--freq";
      std::string_view list;
      if (arg == name) {
        if (i + 1 == arguments.size())
          return fail("option '" + name + "' needs a list of frequencies");
        list = arguments[++i];
      } else {
        list = arg.substr(name.size() + 1);
      }
      if (!parse_frequency_list(list, line.frequencies)) {
        return fail("invalid frequency list '" + std::string(list) +
                    "': expected positive numbers in MHz separated by commas");
      }
      (is_nec ? nec : freq) = true;
    } else if (arg == "--antenna" || arg.starts_with("--antenna=")) {
      if (arg == "--antenna") {
        if (i + 1 == arguments.size()) return fail("option '--antenna' needs a NEC-2 deck");
        line.antenna_deck = arguments[++i];
      } else {
        line.antenna_deck = arg.substr(10);
      }
      if (line.antenna_deck.empty()) return fail("option '--antenna' needs a NEC-2 deck");
      antenna = true;
    } else if (arg == "--elevation" || arg.starts_with("--elevation=")) {
      std::string_view list;
      if (arg == "--elevation") {
        if (i + 1 == arguments.size()) return fail("option '--elevation' needs a list of angles");
        list = arguments[++i];
      } else {
        list = arg.substr(12);
      }
      if (!parse_elevation_list(list, line.elevations)) {
        return fail("invalid elevation list '" + std::string(list) +
                    "': expected whole degrees from 1 to 90 separated by commas");
      }
      elevation = true;
    } else if (arg == "--model" || arg.starts_with("--model=")) {
      std::string_view name;
      if (arg == "--model") {
        if (i + 1 == arguments.size()) return fail("option '--model' needs a model's name");
        name = arguments[++i];
      } else {
        name = arg.substr(8);
      }
      const std::optional<ModelChoice> choice = model_choice_named(name);
      if (!choice) return fail(unknown_model_reason(name));
      line.model = *choice;
      model = true;
    } else if (arg == "--probe" || arg.starts_with("--probe=")) {
      std::string_view setting_text;
      if (arg == "--probe") {
        if (i + 1 == arguments.size()) {
          return fail("option '--probe' needs the probe, e.g. 'short,c0=5'");
        }
        setting_text = arguments[++i];
      } else {
        setting_text = arg.substr(8);
      }
      Outcome<ProbeSetting> setting = parse_probe_setting(setting_text);
      if (setting.failed()) return fail(setting.failure().reason);
      line.probe = std::move(setting.value());
      probe = true;
    } else {
      return fail("unknown option '" + std::string(arg) + "'");
    }
  }
  if (elevation && !antenna) return fail("option '--elevation' needs '--antenna'");
  if (model && !joint) return fail("option '--model' needs '--joint'");
  if (antenna) {
    if (nec) return fail("option '--antenna' writes its own decks; '--nec' does not go with it");
    if (probe && !joint) return fail("option '--antenna' with '--probe' needs '--joint'");
    if (csv && json) return fail("option '--json' excludes '--csv' and '--nec'");
    if (!elevation)
      line.elevations.assign(std::begin(kDefaultElevations), std::end(kDefaultElevations));
    line.joint_output = json ? JointOutput::json : csv ? JointOutput::csv : JointOutput::report;
    line.joint = joint;
    line.mode = joint ? (probe ? RunMode::probe : RunMode::joint) : RunMode::antenna;
    return line;
  }
  if (probe && !joint && (csv || nec || freq || json)) {
    return fail(
        "option '--probe' writes its own CSV; '--csv', '--freq', '--nec' and '--json'"
        " go with '--probe' and '--joint' together");
  }
  if (json && !joint) return fail("option '--json' needs '--joint'");
  if (json && (csv || nec)) return fail("option '--json' excludes '--csv' and '--nec'");
  if (joint) {
    if (csv && nec) return fail("options '--csv' and '--nec' exclude each other");
    if (freq && nec) return fail("option '--nec' takes its own list; '--freq' is for the others");
    line.mode = probe ? RunMode::probe : RunMode::joint;
    line.joint = true;
    line.joint_output = json  ? JointOutput::json
                        : csv ? JointOutput::csv
                        : nec ? JointOutput::nec
                              : JointOutput::report;
    return line;
  }
  if (csv && nec) return fail("options '--csv' and '--nec' exclude each other");
  if (freq && nec) return fail("option '--nec' takes its own list; '--freq' is for '--csv'");
  if (freq && !csv) return fail("option '--freq' needs '--csv'");
  if (probe) {
    line.mode = RunMode::probe;
  } else if (nec) {
    line.mode = RunMode::nec;
  } else if (csv) {
    line.mode = RunMode::csv;
  } else if (!line.files.empty()) {
    line.mode = RunMode::files;
  }
  return line;
}

std::string usage_text() {
  return "Usage: gndfit [FILE]...\n"
         "       gndfit --csv [--freq LIST] [FILE]...\n"
         "       gndfit --nec LIST [FILE]...\n"
         "       gndfit --probe SPEC [FILE]...\n"
         "       gndfit [--probe SPEC] --joint [--model NAME] [--json | --csv |\n"
         "              --nec LIST] [--freq LIST] [FILE]...\n"
         "       gndfit [[--probe SPEC] --joint] --antenna DECK [--json | --csv]\n"
         "              [--freq LIST] [--elevation LIST] [FILE]...\n"
         "Fit a frequency-dependent ground model to one measurement at a time and\n"
         "show the model's relative permittivity, conductivity and relative skin\n"
         "depth on the HF bands from 1.8 to 28.5 MHz.\n"
         "\n"
         "With no option, gndfit asks for measurements: frequency in MHz, relative\n"
         "permittivity and conductivity in mS/m, e.g. '7.1 13 5', and prints a\n"
         "table for each; with standard input redirected, or with FILEs, it reads\n"
         "them all and writes the tables without prompt or screen.\n"
         "\n"
         "  --csv        write comma-separated values instead of the table: one\n"
         "               header line, then one line per band for each\n"
         "               measurement; each input line holds one measurement\n"
         "  --freq LIST  with --csv, --joint or --antenna, the frequencies in MHz to\n"
         "               evaluate at, separated by commas (default the ten HF bands)\n"
         "  --nec LIST   for the one measurement in the input, NEC-2 cards for\n"
         "               each frequency in LIST (MHz, separated by commas): a\n"
         "               ground (GN 2) with the model's values there, FR and XQ;\n"
         "               they go after a deck's GE and EX cards\n"
         "  --probe SPEC convert analyser sweeps of a probe in the ground (Touchstone\n"
         "               one-port or CSV of MHz, R and X) to CSV of frequency,\n"
         "               permittivity and conductivity; SPEC is 'short,c0=PF'\n"
         "               (',l=NH,cs=PF': leads' inductance, stray capacitance),\n"
         "               'short,air=FILE' (C0 and L from a sweep in air; with\n"
         "               ',liquid=FILE,liquid_er=ER' C0 and Cs apart from a sweep\n"
         "               in a liquid of permittivity ER) or\n"
         "               'line,length=M,z0=OHMS'; ',u_gamma=U' on any of them adds\n"
         "               each point's standard uncertainties from the analyser's\n"
         "               U on Re and Im of the reflection coefficient; with\n"
         "               --joint the points are fitted as one model instead,\n"
         "               with --joint's outputs\n"
         "  --joint      fit one model to all the measurements of the input, each\n"
         "               line 'f er s' or 'f er s u_er u_s' (with the standard\n"
         "               uncertainties of er and s); writes a report with +-1 sd,\n"
         "               chi-square and the bands, or with --csv or --nec that form\n"
         "  --model NAME with --joint, the ground model: messier (the default),\n"
         "               alipio-visacro, power-law, or compare (all three weighed\n"
         "               by AICc, the outputs following the one chosen; needs the\n"
         "               uncertainties)\n"
         "  --antenna DECK\n"
         "               run the NEC-2 deck DECK (its wires, GE and one voltage\n"
         "               source EX) with nec2c over the fitted ground at each\n"
         "               frequency: the feed impedance, the peak gain, the best gain\n"
         "               at each elevation and the share radiated into the sky; for\n"
         "               one measurement, or with --joint each with its +-1 sd\n"
         "  --elevation LIST\n"
         "               with --antenna, the elevations in whole degrees from 1 to\n"
         "               90, separated by commas (default 5,10,20,30)\n"
         "  --json       with --joint or --antenna, the result as JSON\n"
         "  -h, --help   show this help and exit\n"
         "  --version    show the version and exit\n"
         "\n"
         "FILE '-' is standard input; with no FILE, standard input is read.\n"
         "Exit status: 0 when all went well; 1 when input or output failed, when\n"
         "batch input held no measurement, with --csv or --nec when any line was\n"
         "skipped, with --nec or --antenna without --joint when the input did not\n"
         "hold exactly one measurement, with --probe when a sweep could not be\n"
         "converted, with --joint when any line was faulty or the measurements\n"
         "have no fit, or with --antenna when the deck was refused, nec2c is\n"
         "missing or a run of it failed; 2 for a wrong command line (and for\n"
         "--model compare on measurements without uncertainties).\n"
         "See gndfit(1) for the number forms, the keys and the files.\n";
}

std::string version_text() {
  std::string text = "gndfit " GNDFIT_VERSION;
  const std::string revision = GNDFIT_REVISION;
  if (!revision.empty()) text += " (git " + revision + ")";
  return text + "\n";
}

}  // namespace gndfit
