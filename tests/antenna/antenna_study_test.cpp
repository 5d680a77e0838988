// SPDX-License-Identifier: MIT
// The runs of a study and the propagation of the ground's covariance, on
// a stand-in for nec2c whose results are known functions of the ground it
// is given: linear ones, for which central differences are exact.
#include "antenna/antenna_study.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <set>

namespace gndfit {
namespace {

// The GN card's permittivity and conductivity (S/m) of a run's deck.
void ground_of(std::string_view deck, double& permittivity, double& conductivity_s) {
  const std::size_t at = deck.find("GN 2 0 0 0 ");
  ASSERT_NE(at, std::string_view::npos);
  ASSERT_EQ(std::sscanf(std::string(deck.substr(at + 11)).c_str(), "%lf %lf", &permittivity,
                        &conductivity_s),
            2);
}

// nec2c's output, laid out as it prints it, for a stand-in antenna:
// R = 50 + 2 er + 3000 s, X = -10 + 0.5 er - 1000 s, average gain
// 1 + 0.01 er + 4 s, and a pattern of three rows whose middle one is the
// peak, its field (and so its gain) growing with er and s.
std::string stand_in_output(double er, double s, bool flat_x) {
  char text[4096];
  const double power = 0.01;
  const double field = std::sqrt(1.0 + 0.1 * er + 20.0 * s);
  std::snprintf(
      text, sizeof text,
      " ANTENNA INPUT PARAMETERS\n h\n h\n"
      "    1    1  1.0000E+00  0.0000E+00  1.0E-02  0.0E+00  %.9E %.9E  1E-02  0E+00  %.9E\n"
      " RADIATION PATTERNS\n\n h\n h\n h\n"
      "   80.00   0.00  -999.99  1.00  1.00  0.0  90.00 LINEAR  0.0E+00  0.0  %.9E  0.0\n"
      "   80.00   5.00  -999.99  3.00  3.00  0.0  90.00 LINEAR  0.0E+00  0.0  %.9E  0.0\n"
      "   85.00   0.00  -999.99  2.99  2.99  0.0  90.00 LINEAR  0.0E+00  0.0  %.9E  0.0\n"
      "\n AVERAGE POWER GAIN: %.9E - SOLID ANGLE\n",
      50.0 + 2.0 * er + 3000.0 * s, flat_x ? 100.0 : -10.0 + 0.5 * er - 1000.0 * s, power,
      0.5 * field, field, 0.9 * field, 1.0 + 0.01 * er + 4.0 * s);
  return text;
}

struct StandIn {
  std::mutex lock;
  std::set<std::size_t> jobs;
  std::vector<std::pair<double, double>> grounds;
  std::string fail_at;  // a frequency text whose runs fail
  bool flat_x = false;  // X the same whatever the ground

  NecRun runner() {
    return [this](std::size_t job, std::string_view deck, std::string& output, std::string& error) {
      double er = 0.0;
      double s = 0.0;
      ground_of(deck, er, s);
      {
        const std::lock_guard<std::mutex> hold(lock);
        EXPECT_TRUE(jobs.insert(job).second) << "job " << job << " run twice";
        grounds.emplace_back(er, s);
      }
      if (!fail_at.empty() && deck.find("FR 0 1 0 0 " + fail_at + " ") != std::string_view::npos) {
        error = "NO SEGMENT HAS AN ITAG OF 1";
        return false;
      }
      output = stand_in_output(er, s, flat_x);
      return true;
    };
  }
};

NecDeck dipole() {
  NecDeck deck;
  NecDeckError error;
  EXPECT_TRUE(read_nec_deck("CE\nGW 1 5 0 -5 10 0 5 10 0.001\nGE 1\nEX 0 1 3 0 1\n", deck, error));
  return deck;
}

GroundAt ground(double mhz, double er, double s_ms, double var_er, double cov, double var_s) {
  GroundAt g;
  g.frequency_mhz = mhz;
  g.permittivity = er;
  g.conductivity_ms = s_ms;
  g.has_covariance = true;
  g.permittivity_var = var_er;
  g.covariance = cov;
  g.conductivity_var = var_s;
  char f[32];
  std::snprintf(f, sizeof f, "%g", mhz);
  g.cards = {std::to_string(er), std::to_string(s_ms / 1000.0), f};
  return g;
}

// sqrt(g C g^T) for a gradient (per unit er, per mS/m) written out by hand.
double linear_sd(double d_er, double d_s_ms, const GroundAt& g) {
  return std::sqrt(d_er * d_er * g.permittivity_var + 2.0 * d_er * d_s_ms * g.covariance +
                   d_s_ms * d_s_ms * g.conductivity_var);
}

TEST(AntennaStudy, PropagatesTheGroundsCovarianceThroughFiveRunsPerFrequency) {
  StandIn nec;
  const GroundAt grounds[] = {ground(7.1, 13.0, 5.0, 0.25, -0.05, 0.04),
                              ground(14.2, 10.0, 6.0, 0.16, 0.06, 0.09)};
  const double elevations[] = {10.0, 5.0};
  const AntennaStudy study = study_antenna(dipole(), grounds, elevations, nec.runner(), 3);
  ASSERT_EQ(study.error, "");
  ASSERT_EQ(study.bands.size(), 2u);
  EXPECT_EQ(nec.jobs.size(), 10u);
  for (std::size_t i = 0; i < 2; ++i) {
    const AntennaBand& b = study.bands[i];
    const GroundAt& g = grounds[i];
    // R moves by 2 per unit of permittivity and by 3 per mS/m (3000 per S/m).
    EXPECT_NEAR(b.feed_r_ohms.value, 50.0 + 2.0 * g.permittivity + 3.0 * g.conductivity_ms, 1e-6);
    EXPECT_NEAR(b.feed_r_ohms.sd, linear_sd(2.0, 3.0, g), 1e-6);
    EXPECT_NEAR(b.feed_x_ohms.sd, linear_sd(0.5, -1.0, g), 1e-6);
    EXPECT_NEAR(b.hemisphere_efficiency.value,
                (1.0 + 0.01 * g.permittivity + 0.004 * g.conductivity_ms) / 2.0, 1e-9);
    EXPECT_NEAR(b.hemisphere_efficiency.sd, linear_sd(0.005, 0.002, g), 1e-9);
    // The peak is the second row (theta 80, phi 5): elevation 10, azimuth 5,
    // its value the printed TOTAL.
    EXPECT_EQ(b.peak_gain_dbi.value, 3.0);
    EXPECT_EQ(b.peak_elevation_deg, 10.0);
    EXPECT_EQ(b.peak_azimuth_deg, 5.0);
    // Its spread from the fields: G proportional to u = 1 + 0.1 er + 20 s
    // (s in S/m), so d(10 log10 G)/d er = 10 / ln 10 * 0.1 / u and per
    // mS/m 10 / ln 10 * 0.02 / u, central differences of a logarithm being
    // exact only to second order.
    const double u = 1.0 + 0.1 * g.permittivity + 0.02 * g.conductivity_ms;
    const double to_db = 10.0 / std::log(10.0);
    EXPECT_NEAR(b.peak_gain_dbi.sd, linear_sd(to_db * 0.1 / u, to_db * 0.02 / u, g), 1e-4);
    ASSERT_EQ(b.gains.size(), 2u);
    EXPECT_EQ(b.gains[0].elevation_deg, 10.0);
    EXPECT_EQ(b.gains[0].gain_dbi.value, 3.0);
    EXPECT_EQ(b.gains[1].elevation_deg, 5.0);
    EXPECT_EQ(b.gains[1].gain_dbi.value, 2.99);
    EXPECT_EQ(b.gains[1].azimuth_deg, 0.0);
  }
}

TEST(AntennaStudy, StepsAreHalfAStandardDeviationAndOneSidedAtTheEdges) {
  StandIn nec;
  // sd 0.4 in er from 1.1: 1.1 - 0.2 would be below vacuum; sd 0.6 mS/m
  // from 0.2 mS/m: 0.2 - 0.3 would be negative.
  const GroundAt grounds[] = {ground(3.7, 1.1, 0.2, 0.16, 0.0, 0.36)};
  const AntennaStudy study = study_antenna(dipole(), grounds, {}, nec.runner(), 1);
  ASSERT_EQ(study.error, "");
  std::set<std::pair<double, double>> seen(nec.grounds.begin(), nec.grounds.end());
  const std::set<std::pair<double, double>> expected = {
      {1.1, 0.0002}, {1.3, 0.0002}, {1.1, 0.0005}};
  ASSERT_EQ(seen.size(), expected.size());
  for (auto [er, s] : expected) {
    bool found = false;
    for (auto [seen_er, seen_s] : seen) {
      found = found || (std::abs(seen_er - er) < 1e-12 && std::abs(seen_s - s) < 1e-12);
    }
    EXPECT_TRUE(found) << er << ' ' << s;
  }
  // One-sided differences of a linear result are exact too.
  EXPECT_NEAR(study.bands[0].feed_r_ohms.sd, linear_sd(2.0, 3.0, grounds[0]), 1e-6);
}

TEST(AntennaStudy, AGroundKnownCloselyIsStillMovedByOnePerCent) {
  StandIn nec;
  // sd 0.001 in both: half of it would move nec2c's printed digits by
  // nothing; the steps are 1 % of 20 and of 10 mS/m instead.
  const GroundAt grounds[] = {ground(7.1, 20.0, 10.0, 1e-6, 0.0, 1e-6)};
  const AntennaStudy study = study_antenna(dipole(), grounds, {}, nec.runner(), 1);
  ASSERT_EQ(study.error, "");
  std::vector<double> permittivities;
  std::vector<double> conductivities;
  for (auto [er, s] : nec.grounds) {
    permittivities.push_back(er);
    conductivities.push_back(s);
  }
  std::sort(permittivities.begin(), permittivities.end());
  std::sort(conductivities.begin(), conductivities.end());
  EXPECT_NEAR(permittivities.front(), 19.8, 1e-9);
  EXPECT_NEAR(permittivities.back(), 20.2, 1e-9);
  EXPECT_NEAR(conductivities.front(), 0.0099, 1e-12);
  EXPECT_NEAR(conductivities.back(), 0.0101, 1e-12);
  EXPECT_NEAR(study.bands[0].feed_r_ohms.sd, linear_sd(2.0, 3.0, grounds[0]), 1e-6);
}

TEST(AntennaStudy, ASpreadTheDigitsDoNotResolveIsABoundNotAZero) {
  StandIn nec;
  nec.flat_x = true;  // X prints as 1.000000000E+02 in every run
  const GroundAt grounds[] = {ground(7.1, 13.0, 5.0, 0.25, -0.05, 0.04)};
  const AntennaStudy study = study_antenna(dipole(), grounds, {}, nec.runner(), 1);
  ASSERT_EQ(study.error, "");
  const Estimate& x = study.bands[0].feed_x_ohms;
  EXPECT_FALSE(x.has_sd);
  // Steps 0.25 and 0.1 mS/m, sds 0.5 and 0.2, and 0.01 the last digit
  // nec2c prints of 100 (1.0000E+02): 0.01 / 0.5 * 0.5 + 0.01 / 0.2 * 0.2.
  EXPECT_NEAR(x.sd_bound, 0.02, 1e-12);
  EXPECT_TRUE(study.bands[0].feed_r_ohms.has_sd);
  EXPECT_EQ(study.bands[0].feed_r_ohms.sd_bound, 0.0);
}

TEST(AntennaStudy, WithoutCovarianceOneRunAndNoDeviation) {
  StandIn nec;
  GroundAt g = ground(7.1, 13.0, 5.0, 0.0, 0.0, 0.0);
  g.has_covariance = false;
  const AntennaStudy study = study_antenna(dipole(), {&g, 1}, {}, nec.runner(), 2);
  ASSERT_EQ(study.error, "");
  EXPECT_EQ(nec.jobs.size(), 1u);
  EXPECT_FALSE(study.bands[0].feed_r_ohms.has_sd);
  EXPECT_FALSE(study.bands[0].hemisphere_efficiency.has_sd);
}

TEST(AntennaStudy, AFailedRunNamesTheFirstFrequencyInOrder) {
  StandIn nec;
  nec.fail_at = "14.2";
  const GroundAt grounds[] = {ground(7.1, 13.0, 5.0, 0.25, 0.0, 0.04),
                              ground(14.2, 10.0, 6.0, 0.16, 0.0, 0.09),
                              ground(21.2, 9.0, 7.0, 0.16, 0.0, 0.09)};
  const AntennaStudy study = study_antenna(dipole(), grounds, {}, nec.runner(), 2);
  EXPECT_EQ(study.error, "at 14.2 MHz: nec2c: NO SEGMENT HAS AN ITAG OF 1");
  EXPECT_TRUE(study.bands.empty() || study.bands.size() == 1u);
}

TEST(AntennaStudy, PeakTiesGoToTheFirstRowInNec2csOrder) {
  const std::vector<PatternRow> rows = {
      {10, 0, 4.99, 0}, {10, 5, 5.00, 0}, {20, 0, 5.004, 0}, {20, 5, 4.0, 0}};
  // 5.004 is the largest; 5.00 is within 0.005 of it and comes first.
  EXPECT_EQ(peak_row(rows), 1u);
  EXPECT_EQ(best_row_at(rows, 70.0), 2u);
  EXPECT_EQ(best_row_at(rows, 80.0), 1u);
  EXPECT_EQ(best_row_at(rows, 45.0), rows.size());
}

}  // namespace
}  // namespace gndfit
