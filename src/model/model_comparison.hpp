// SPDX-License-Identifier: MIT
#pragma once
// Several ground models fitted to the same weighted measurements, weighed
// against each other by AICc, the small-sample Akaike information
// criterion: with n = 2N values and k parameters,
//   AICc = chi^2 + 2k + 2k(k + 1) / (n - k - 1),
// chi^2 standing for -2 log L up to a constant all the models share (which
// is why the measurements must carry uncertainties: unweighted residuals
// would make it depend on the units).  Akaike weights exp(-dAICc / 2),
// normalised over the models that have an AICc, are the relative
// likelihoods of the models given the data.
#include <cstddef>
#include <optional>
#include <vector>

#include "model/model_fit.hpp"

namespace gndfit {

struct ComparedModel {
  ModelFit fit;
  std::optional<double> aicc;  // none without a fit, or where n - k - 1 <= 0
  std::optional<double> akaike_weight;
};

struct ModelComparison {
  std::vector<ComparedModel> models;
  std::optional<std::size_t> chosen;  // index into models
};

// AICc of a fit of `values` numbers; none where values - k - 1 <= 0.
std::optional<double> aicc(double chi_square, std::size_t values, std::size_t parameters);

// The comparison of `fits` (each fitted to the same `measurement_count`
// measurements): the lowest AICc is chosen, a tie within 1e-9 going to
// the model with fewer parameters.
ModelComparison compare_models(std::vector<ModelFit> fits, std::size_t measurement_count);

}  // namespace gndfit
