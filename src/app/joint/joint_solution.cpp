// SPDX-License-Identifier: MIT
#include "app/joint/joint_solution.hpp"

#include <cstdio>

#include "model/chi_square.hpp"
#include "number/shortest.hpp"
#include "platform/c_number.hpp"

namespace gndfit {
namespace {

std::string three_digits(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

std::string outcome_error(JointOutcome outcome) {
  switch (outcome) {
    case JointOutcome::towards_zero_permittivity:
      return "the measurements have no best fit with a positive base permittivity: the sum of "
             "squares keeps falling as the base permittivity goes to 0";
    case JointOutcome::towards_zero_conductivity:
      return "the measurements have no best fit with a positive base conductivity: the sum of "
             "squares keeps falling as the base conductivity goes to 0";
    case JointOutcome::out_of_range:
      return "the values are too large or too small to be fitted in double precision";
    case JointOutcome::no_measurements:
      return "no measurement in the input";
    case JointOutcome::fitted:
      break;
  }
  return {};
}

// 99th percentile: above it, a chi-square this large would come by chance
// in fewer than one fit in a hundred if the model held.
constexpr double kPoorFitProbability = 0.99;

}  // namespace

JointWarning below_vacuum_warning(double base_permittivity) {
  return {"permittivity-below-vacuum",
          "The base relative permittivity is " + three_digits(base_permittivity) +
              ", below that of vacuum (1): the model reproduces the measured values, but its "
              "values away from the measured frequencies are not physical."};
}

double frequency_as_written(float frequency_mhz) {
  return parse_c_double(shortest(frequency_mhz).c_str());
}

std::vector<double> frequencies_as_written(std::span<const float> list) {
  std::vector<double> mhz;
  for (const float f : list) mhz.push_back(frequency_as_written(f));
  return mhz;
}

Outcome<JointSolution> solve_joint(const JointInput& input,
                                   std::span<const double> frequencies_mhz) {
  JointSolution s;
  s.weighted = input.weighted();
  s.measurements = input.measurements();
  s.fit = fit_joint(s.measurements, s.weighted);
  if (s.fit.outcome != JointOutcome::fitted) return Failure{Location{""}, outcome_error(s.fit.outcome)};
  for (const LocatedMeasurement& m : s.measurements) {
    s.model_at_measurements.push_back(messier_values(s.fit.model, m.frequency_mhz));
  }
  for (const double f : frequencies_mhz) {
    const BandEstimate estimate = estimate_at(s.fit, f);
    s.bands.push_back({f, estimate, skin_depth_m(f, estimate.value)});
  }
  if (below_vacuum(s.fit.model.base_permittivity))
    s.warnings.push_back(below_vacuum_warning(s.fit.model.base_permittivity));
  const int dof = s.fit.degrees_of_freedom;
  if (s.weighted && dof >= 1) {
    const double limit = chi_square_quantile(kPoorFitProbability, dof);
    if (s.fit.chi_square > limit) {
      s.warnings.push_back(
          {"poor-fit", "Chi-square is " + three_digits(s.fit.chi_square) + ", above " +
                           three_digits(limit) + ", the 99th percentile for " +
                           std::to_string(dof) +
                           " degrees of freedom: the model does not describe these measurements "
                           "within their uncertainties."});
    }
  }
  return s;
}

}  // namespace gndfit
