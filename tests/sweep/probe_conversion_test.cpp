// SPDX-License-Identifier: MIT
// Probe sweeps to ground points.  Hand-worked points for the short probe
// and C0 in air; the examples' sweeps, made by the separate forward model
// (examples/probe_forward_model.py) from the model ground, recovered in
// every file form by both probes; and each way a conversion is refused.
#include "sweep/probe_conversion.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

namespace gndfit {
namespace {

ProbeSetting short_probe_setting(double c0_pf) {
  ProbeSetting setting;
  setting.c0_farads = c0_pf * 1e-12;
  return setting;
}

// The conversion's points, notes and failure text together, as these
// tests look at them.
struct ProbeRun {
  std::vector<LocatedMeasurement> points;
  std::vector<std::string> notes;
  bool failed = false;
  std::string error;
};

ProbeRun convert(const ProbeSetting& setting, const std::vector<SweepSource>& sweeps,
                 const SweepSource* air = nullptr) {
  ProbeRun run;
  const ProbePoints points = convert_probe_sweeps(setting, sweeps, air, run.notes);
  run.failed = points.failed();
  if (run.failed) run.error = failure_text(points.failure());
  run.points = points.value();
  return run;
}

ProbeSetting line_probe_setting(double length, double z0) {
  ProbeSetting setting;
  setting.kind = ProbeKind::line_probe;
  setting.length_m = length;
  setting.z0_ohms = z0;
  return setting;
}

TEST(ProbeConversion, ShortProbeByHand) {
  // C0 = 10 pF at 10 MHz: omega C0 = 2 pi 1e-4 S.  Y = 0.001 + 0.01j:
  // eps_r = 0.01 / (2 pi 1e-4) = 50 / pi; sigma = eps0 0.001 / 1e-11 S/m,
  // 0.88541878128 mS/m.
  const ProbeRun run =
      convert(short_probe_setting(10),
              {{"a.s1p", "# MHz Y RI R 1\n10 0.001 0.01\n"}, {"b.csv", "7,1,-1\n"}});
  ASSERT_FALSE(run.failed) << run.error;
  ASSERT_EQ(run.points.size(), 2u);
  EXPECT_EQ(run.points[0].frequency_mhz, 10.0);
  EXPECT_NEAR(run.points[0].permittivity, 50.0 / std::numbers::pi, 1e-13);
  EXPECT_NEAR(run.points[0].conductivity_ms, 0.88541878128, 1e-14);
  EXPECT_EQ(run.points[0].where.source, "a.s1p");
  EXPECT_EQ(run.points[0].where.line, 2);
  EXPECT_EQ(run.points[1].where.source, "b.csv");  // the files in their order
  EXPECT_EQ(run.points[1].where.line, 1);
  EXPECT_TRUE(run.notes.empty());
}

TEST(ProbeConversion, LeadsAndCapacitanceFromAirThenTheGroundBehindThem) {
  // A probe of C_air = 5 pF behind 20 nH, in air at 2, 10 and 30 MHz:
  // Z = j (omega L - 1 / (omega C)), written as Z in ohms.
  const double lead = 20e-9, c_air = 5e-12;
  std::ostringstream air_text, ground_text;
  air_text.precision(17);
  ground_text.precision(17);
  air_text << "# MHz Z RI R 1\n";
  for (const double mhz : {2.0, 10.0, 30.0}) {
    const double omega = 2 * std::numbers::pi * mhz * 1e6;
    air_text << mhz << " 0 " << omega * lead - 1 / (omega * c_air) << "\n";
  }
  // In a ground of eps* = 12 - 3j at 10 MHz: Z = j omega L + 1 / (j omega C eps*).
  const std::complex<double> eps(12, -3);
  const double omega = 2 * std::numbers::pi * 10e6;
  const std::complex<double> z =
      std::complex<double>(0, omega * lead) + 1.0 / (std::complex<double>(0, omega * c_air) * eps);
  ground_text << "# MHz Z RI R 1\n10 " << z.real() << " " << z.imag() << "\n";
  const SweepSource air{"air.s1p", air_text.str()};
  const ProbeRun run = convert(ProbeSetting{}, {{"g.s1p", ground_text.str()}}, &air);
  ASSERT_FALSE(run.failed) << run.error;
  ASSERT_EQ(run.notes.size(), 1u);
  EXPECT_TRUE(run.notes[0].starts_with("C0 from air.s1p: 5 pF behind L = 20 nH, fitted to Im(Z) "
                                       "with a residual spread of "))
      << run.notes[0];
  EXPECT_NEAR(run.points[0].permittivity, 12.0, 1e-9 * 12);
  const double sigma_ms = 3 * omega * 8.8541878128e-12 * 1e3;
  EXPECT_NEAR(run.points[0].conductivity_ms, sigma_ms, 1e-9 * sigma_ms);
}

// --- the examples: the forward model's sweeps of the model ground -------

// The model ground of examples/make_examples.py, in closed form.
constexpr double kGroundX = 0.005;  // S/m
constexpr double kGroundE = 13.0;
constexpr double kEps0 = 8.8541878128e-12;

double model_permittivity(double f_hz) {
  return kGroundE * (1.0 + std::sqrt(kGroundX / (std::numbers::pi * f_hz * kEps0 * kGroundE)));
}
double model_conductivity_ms(double f_hz) {
  return 1e3 * kGroundX *
         (1.0 + std::sqrt(4.0 * std::numbers::pi * f_hz * kEps0 * kGroundE / kGroundX));
}

std::string file_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every example sweep whose name starts with `prefix`, air sweeps aside.
std::vector<SweepSource> example_sweeps(const std::string& prefix) {
  std::vector<SweepSource> sweeps;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(GNDFIT_EXAMPLES_DIR) / "sweeps")) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix) && name.find("air") == std::string::npos) {
      sweeps.push_back({name, file_text(entry.path())});
    }
  }
  return sweeps;
}

// Relative 1e-9: the files hold 17 digits; what is lost is the inverse's
// own rounding (S near 1, the Newton solution), far below that.
void expect_model_ground(const ProbeRun& run, std::size_t files) {
  ASSERT_FALSE(run.failed) << run.error;
  ASSERT_EQ(run.points.size(), files * 59);
  for (const LocatedMeasurement& p : run.points) {
    const double f_hz = p.frequency_mhz * 1e6;
    EXPECT_NEAR(p.permittivity, model_permittivity(f_hz), 1e-9 * model_permittivity(f_hz))
        << p.where.source << ":" << p.where.line;
    EXPECT_NEAR(p.conductivity_ms, model_conductivity_ms(f_hz), 1e-9 * model_conductivity_ms(f_hz))
        << p.where.source << ":" << p.where.line;
  }
}

TEST(ProbeConversion, ShortProbeExamplesGiveTheModelGround) {
  const std::vector<SweepSource> sweeps = example_sweeps("short-");
  ASSERT_EQ(sweeps.size(), 14u);
  expect_model_ground(convert(short_probe_setting(5), sweeps), sweeps.size());
  const std::filesystem::path air_path =
      std::filesystem::path(GNDFIT_EXAMPLES_DIR) / "sweeps" / "short-air.s1p";
  const SweepSource air{"short-air.s1p", file_text(air_path)};
  const ProbeRun run = convert(ProbeSetting{}, sweeps, &air);
  expect_model_ground(run, sweeps.size());
  ASSERT_EQ(run.notes.size(), 1u);
  // An exact air sweep: its spread is rounding, given as the bound.
  EXPECT_TRUE(run.notes[0].starts_with("C0 from short-air.s1p: 5 pF behind L = ")) << run.notes[0];
  EXPECT_TRUE(run.notes[0].ends_with(" nH, fitted to Im(Z) with a residual spread of below 1e-10 % "
                                     "of |Z| over 59 points"))
      << run.notes[0];
}

TEST(ProbeConversion, LineProbeExamplesGiveTheModelGround) {
  const std::vector<SweepSource> sweeps = example_sweeps("line-");
  ASSERT_EQ(sweeps.size(), 15u);
  std::vector<SweepSource> short_line;  // 0.5 m: no quarter wave below 30 MHz
  for (const SweepSource& s : sweeps) {
    if (!s.name.starts_with("line-2m")) short_line.push_back(s);
  }
  const ProbeRun run = convert(line_probe_setting(0.5, 300), short_line);
  expect_model_ground(run, short_line.size());
  EXPECT_TRUE(run.notes.empty());
}

TEST(ProbeConversion, LongLineFollowsTheBranchPastAQuarterWaveWithOneNote) {
  const std::vector<SweepSource> sweeps = example_sweeps("line-2m");
  ASSERT_EQ(sweeps.size(), 1u);
  const ProbeRun run = convert(line_probe_setting(2.0, 300), sweeps);
  expect_model_ground(run, 1);
  // The first frequency where Re(omega l sqrt(eps*) / c) passes pi/2.
  double first_beyond = 0.0;
  int beyond = 0;
  for (const LocatedMeasurement& p : run.points) {
    const double f_hz = p.frequency_mhz * 1e6;
    const std::complex<double> eps(
        model_permittivity(f_hz),
        -model_conductivity_ms(f_hz) * 1e-3 / (2 * std::numbers::pi * f_hz * kEps0));
    const double theta = (2 * std::numbers::pi * f_hz * 2.0 / 299792458.0 * std::sqrt(eps)).real();
    if (theta > std::numbers::pi / 2) {
      if (beyond++ == 0) first_beyond = p.frequency_mhz;
    }
  }
  ASSERT_GT(first_beyond, 0.0);
  ASSERT_EQ(run.notes.size(), 1u);
  std::ostringstream from;
  from << ": from " << first_beyond << " to 30 MHz (" << beyond
       << " points) the line is longer than a quarter wavelength";
  EXPECT_NE(run.notes[0].find(from.str()), std::string::npos) << run.notes[0];
}

// --- refusals -------------------------------------------------------------

TEST(ProbeConversion, RefusesWhatIsNoGroundAndNamesTheFileAndLine) {
  struct Refused {
    ProbeSetting setting;
    const char* text;
    const char* error;
  } cases[] = {
      {short_probe_setting(10), "# MHz Y RI R 1\n10 0.001 -0.01\n",
       "p.s1p:line 2: at 10 MHz the permittivity comes out at -15.9155, not positive: check C0 "
       "(c0= or the sweep in air) and that the analyser was calibrated at the probe's terminals"},
      {short_probe_setting(10), "# MHz Y RI R 1\n9 0.001 0.01\n10 -0.001 0.01\n",
       "p.s1p:line 3: at 10 MHz the conductivity (mS/m) comes out at -0.885419, not positive: "
       "check C0 (c0= or the sweep in air) and that the analyser was calibrated at the probe's "
       "terminals"},
      {line_probe_setting(1, 300), "# MHz Y RI R 1\n10 0.001 -0.01\n",
       "p.s1p:line 2: at 10 MHz the permittivity comes out at"},
      {short_probe_setting(10), "# MHz S RI\n7 0 0 0 0 0 0 0 0\n",
       "p.s1p:line 2: 9 numbers on a row: a two-port file; gndfit reads one-port sweeps"},
  };
  for (const Refused& c : cases) {
    const ProbeRun run =
        convert(c.setting, {{"ok.csv", "1,100,-1000\n"}, {"p.s1p", c.text}});
    EXPECT_TRUE(run.failed) << c.text;
    EXPECT_TRUE(run.points.empty());  // nothing half-done
    EXPECT_TRUE(run.error.starts_with(c.error)) << run.error;
  }
  const SweepSource inductive_air{"air.csv", "1,1,10\n"};
  const ProbeRun run = convert(ProbeSetting{}, {{"g.csv", "1,50,-100\n"}}, &inductive_air);
  EXPECT_EQ(run.error,
            "air.csv:line 1: at 1 MHz the probe in air is not a capacitance (Im(Y) is not "
            "positive): is this the sweep of the probe in air?");
}

}  // namespace
}  // namespace gndfit
