// SPDX-License-Identifier: MIT
#pragma once
// The ground models a joint fit can use, by name, and their fits.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "located/measurement.hpp"
#include "model/model_fit.hpp"

namespace gndfit {

enum class ModelName { messier, alipio_visacro, power_law };
inline constexpr ModelName kEveryModel[] = {ModelName::messier, ModelName::alipio_visacro,
                                            ModelName::power_law};

// The model a joint fit is asked for: one by name, or all compared.
struct ModelChoice {
  bool compare = false;
  ModelName name = ModelName::messier;
};

// "messier", "alipio-visacro" or "power-law"; none for another name.
std::optional<ModelName> model_named(std::string_view name);
const GroundModel& ground_model(ModelName name);

// A choice by name: "compare" or a model's name; none for another name.
std::optional<ModelChoice> model_choice_named(std::string_view name);
// Why `name` is no choice, naming the choices.
std::string unknown_model_reason(std::string_view name);

// The model's global least-squares fit.  `weighted`: the measurements
// carry their own uncertainties; without, the covariance is scaled by
// chi^2 / dof.
ModelFit fit_model(ModelName name, std::span<const LocatedMeasurement> measurements, bool weighted);

}  // namespace gndfit
