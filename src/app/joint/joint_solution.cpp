// SPDX-License-Identifier: MIT
#include "app/joint/joint_solution.hpp"

#include <cctype>
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

// Why a model has no fit.  The messier model's texts are those of the
// joint fit before there were other models.
std::string failure_text(const ModelFit& fit, std::size_t measurement_count) {
  const GroundModel& model = *fit.model;
  const bool messier = model.name() == "messier";
  switch (fit.status) {
    case ModelFitStatus::at_edge: {
      const std::string label(model.parameters()[fit.edge_parameter].label);
      const std::string way = fit.edge_above ? " grows without bound" : " goes to 0";
      if (messier) {
        return "the measurements have no best fit with a positive " + label +
               ": the sum of squares keeps falling as the " + label + way;
      }
      return "the measurements have no best fit of the " + std::string(model.name()) +
             " model: the sum of squares keeps falling as its " + label + way;
    }
    case ModelFitStatus::out_of_range:
      return "the values are too large or too small to be fitted in double precision";
    case ModelFitStatus::too_few_measurements:
      return "the " + std::string(model.name()) + " model needs at least " +
             std::to_string(fit.minimum_measurements) + " measurements (it has " +
             std::to_string(model.parameters().size()) + " parameters), and the input has " +
             std::to_string(measurement_count);
    case ModelFitStatus::no_measurements:
      return "no measurement in the input";
    case ModelFitStatus::fitted:
      break;
  }
  return {};
}

// 99th percentile: above it, a chi-square this large would come by chance
// in fewer than one fit in a hundred if the model held.
constexpr double kPoorFitProbability = 0.99;

// The model's parameter that is its high-frequency relative permittivity
// (messier's base permittivity, the power law's e_inf), if it has one:
// the one whose name ends in "permittivity".
std::optional<std::size_t> permittivity_parameter(const GroundModel& model) {
  const auto parameters = model.parameters();
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    if (parameters[i].name.ends_with("permittivity")) return i;
  }
  return std::nullopt;
}

// "base permittivity" as "base relative permittivity", as the warning
// says it.
std::string relative_permittivity_words(std::string_view label) {
  std::string words(label);
  const std::size_t at = words.rfind("permittivity");
  if (at != std::string::npos) words.insert(at, "relative ");
  return words;
}

// A warning's text as one of several models': "In the power-law model,
// chi-square is ...".
std::string of_model(std::string_view name, const std::string& text) {
  std::string out = "In the " + std::string(name) + " model, " + text;
  const std::size_t first = 7 + name.size() + 8;  // after "In the NAME model, "
  if (first < out.size()) out[first] = static_cast<char>(std::tolower(out[first]));
  return out;
}

std::vector<JointWarning> model_warnings(const ModelFit& fit, bool weighted, bool several) {
  std::vector<JointWarning> out;
  const GroundModel& model = *fit.model;
  if (const auto p = permittivity_parameter(model); p && below_vacuum(fit.parameters[*p])) {
    out.push_back(below_vacuum_warning(fit.parameters[*p],
                                       relative_permittivity_words(model.parameters()[*p].label)));
  }
  for (std::size_t i = 0; i < fit.parameters.size(); ++i) {
    const std::string label(model.parameters()[i].label);
    if (fit.states[i] == ParameterState::at_bound) {
      out.push_back({"parameter-at-bound",
                     "The " + label + " is at the bound of its domain, " +
                         three_digits(fit.parameters[i]) +
                         ": the best fit lies beyond it, and it is given there without a "
                         "standard deviation."});
    } else if (fit.states[i] == ParameterState::undetermined) {
      out.push_back({"parameter-undetermined",
                     "The " + label +
                         " has no effect on the model's values at the best fit (its "
                         "dispersive conductivity is 0), so it is undetermined and given "
                         "without a standard deviation."});
    }
  }
  const int dof = fit.degrees_of_freedom;
  if (weighted && dof >= 1) {
    const double limit = chi_square_quantile(kPoorFitProbability, dof);
    if (fit.chi_square > limit) {
      out.push_back({"poor-fit", "Chi-square is " + three_digits(fit.chi_square) + ", above " +
                                     three_digits(limit) + ", the 99th percentile for " +
                                     std::to_string(dof) +
                                     " degrees of freedom: the model does not describe these "
                                     "measurements within their uncertainties."});
    }
  }
  if (several) {
    for (JointWarning& w : out) w.text = of_model(model.name(), w.text);
  }
  return out;
}

std::vector<JointBand> bands_of(const ModelFit& fit, std::span<const double> frequencies_mhz) {
  std::vector<JointBand> bands;
  for (const double f : frequencies_mhz) {
    const BandEstimate estimate = estimate_at(fit, f);
    bands.push_back({f, estimate, skin_depth_m(f, estimate.value)});
  }
  return bands;
}

// The solution's parts that follow one fitted model.
void follow(JointSolution& s, const ModelFit& fit, std::span<const double> frequencies_mhz) {
  s.fit = fit;
  for (const LocatedMeasurement& m : s.measurements) {
    s.model_at_measurements.push_back(fit.model->values_at(fit.parameters, m.frequency_mhz));
  }
  s.bands = bands_of(fit, frequencies_mhz);
}

Outcome<JointSolution> solve_compared(JointSolution s, std::span<const double> frequencies_mhz) {
  std::vector<ModelFit> fits;
  for (const ModelName name : kEveryModel) fits.push_back(fit_model(name, s.measurements, true));
  ModelComparison comparison = compare_models(std::move(fits), s.measurements.size());
  std::string reasons;
  for (ComparedModel& m : comparison.models) {
    ComparedSolution c{m, {}, {}};
    const std::string name(m.fit.model->name());
    if (m.fit.status != ModelFitStatus::fitted) {
      c.failure = failure_text(m.fit, s.measurements.size());
      s.warnings.push_back({"model-not-compared", "The " + name + " model has no fit (" +
                                                      c.failure +
                                                      "); the comparison goes on without it."});
      reasons += (reasons.empty() ? "" : "; ") + name + ": " + c.failure;
    } else {
      c.bands = bands_of(m.fit, frequencies_mhz);
      for (JointWarning& w : model_warnings(m.fit, true, true)) s.warnings.push_back(w);
      if (!m.aicc) {
        c.failure = "no AICc: " + std::to_string(2 * s.measurements.size()) + " values for " +
                    std::to_string(m.fit.model->parameters().size()) + " parameters";
        s.warnings.push_back({"model-not-compared",
                              "The " + name + " model has " + c.failure + "; it is not compared."});
        reasons += (reasons.empty() ? "" : "; ") + name + ": " + c.failure;
      }
    }
    s.models.push_back(std::move(c));
  }
  if (!comparison.chosen)
    return Failure{Location{""}, "no model can be compared (" + reasons + ")"};
  s.compared = true;
  s.chosen = *comparison.chosen;
  follow(s, s.models[s.chosen].compared.fit, frequencies_mhz);
  return s;
}

}  // namespace

std::string_view model_name(const ModelFit& fit) { return fit.model->name(); }

std::string compare_needs_uncertainties() {
  return "'--model compare' needs measurements with uncertainties (f er s u_er u_s, or a "
         "probe's u_gamma): without them the AICc would depend on the units of permittivity "
         "and conductivity";
}

JointWarning below_vacuum_warning(double base_permittivity) {
  return below_vacuum_warning(base_permittivity, "base relative permittivity");
}

JointWarning below_vacuum_warning(double permittivity, std::string_view what) {
  return {"permittivity-below-vacuum",
          "The " + std::string(what) + " is " + three_digits(permittivity) +
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

Outcome<JointSolution> solve_joint(const JointInput& input, std::span<const double> frequencies_mhz,
                                   ModelChoice choice) {
  JointSolution s;
  s.weighted = input.weighted();
  s.measurements = input.measurements();
  if (choice.compare) {
    if (!s.weighted) return Failure{Location{""}, compare_needs_uncertainties()};
    return solve_compared(std::move(s), frequencies_mhz);
  }
  const ModelFit fit = fit_model(choice.name, s.measurements, s.weighted);
  if (fit.status != ModelFitStatus::fitted)
    return Failure{Location{""}, failure_text(fit, s.measurements.size())};
  follow(s, fit, frequencies_mhz);
  s.warnings = model_warnings(fit, s.weighted, false);
  return s;
}

}  // namespace gndfit
