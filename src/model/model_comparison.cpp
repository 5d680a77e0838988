// SPDX-License-Identifier: MIT
#include "model/model_comparison.hpp"

#include <cmath>

namespace gndfit {
namespace {

constexpr double kTie = 1e-9;  // AICc differences within this are a tie

std::size_t parameter_count(const ModelFit& fit) { return fit.model->parameters().size(); }

}  // namespace

std::optional<double> aicc(double chi_square, std::size_t values, std::size_t parameters) {
  const double n = static_cast<double>(values);
  const double k = static_cast<double>(parameters);
  if (n - k - 1.0 <= 0.0) return std::nullopt;
  return chi_square + 2.0 * k + 2.0 * k * (k + 1.0) / (n - k - 1.0);
}

ModelComparison compare_models(std::vector<ModelFit> fits, std::size_t measurement_count) {
  ModelComparison c;
  for (ModelFit& fit : fits) {
    ComparedModel m{std::move(fit), std::nullopt, std::nullopt};
    if (m.fit.status == ModelFitStatus::fitted)
      m.aicc = aicc(m.fit.chi_square, 2 * measurement_count, parameter_count(m.fit));
    c.models.push_back(std::move(m));
  }
  for (std::size_t i = 0; i < c.models.size(); ++i) {
    if (!c.models[i].aicc) continue;
    if (!c.chosen) {
      c.chosen = i;
      continue;
    }
    const ComparedModel& best = c.models[*c.chosen];
    const double difference = *c.models[i].aicc - *best.aicc;
    const bool fewer = parameter_count(c.models[i].fit) < parameter_count(best.fit);
    if (difference < -kTie || (std::fabs(difference) <= kTie && fewer)) c.chosen = i;
  }
  if (!c.chosen) return c;
  // Weights relative to the lowest AICc, so that exp() cannot overflow.
  const double lowest = *c.models[*c.chosen].aicc;
  double total = 0.0;
  for (const ComparedModel& m : c.models) {
    if (m.aicc) total += std::exp(-(*m.aicc - lowest) / 2.0);
  }
  for (ComparedModel& m : c.models) {
    if (m.aicc) m.akaike_weight = std::exp(-(*m.aicc - lowest) / 2.0) / total;
  }
  return c;
}

}  // namespace gndfit
