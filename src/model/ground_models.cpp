// SPDX-License-Identifier: MIT
#include "model/ground_models.hpp"

#include "model/alipio_visacro_fit.hpp"
#include "model/alipio_visacro_ground.hpp"
#include "model/messier_ground.hpp"
#include "model/power_law_fit.hpp"
#include "model/power_law_ground.hpp"

namespace gndfit {
namespace {

const MessierGround kMessier;
const AlipioVisacroGround kAlipioVisacro;
const PowerLawGround kPowerLaw;

// The messier model's own fit (exact, model/joint_fit) in the shape every
// model's fit has.
ModelFit fit_messier(std::span<const LocatedMeasurement> measurements, bool weighted) {
  const JointFit joint = fit_joint(measurements, weighted);
  ModelFit fit;
  fit.model = &kMessier;
  fit.degrees_of_freedom = joint.degrees_of_freedom;
  switch (joint.outcome) {
    case JointOutcome::fitted:
      fit.status = ModelFitStatus::fitted;
      break;
    case JointOutcome::towards_zero_conductivity:
    case JointOutcome::towards_zero_permittivity:
      fit.status = ModelFitStatus::at_edge;
      fit.edge_parameter = joint.outcome == JointOutcome::towards_zero_conductivity ? 0 : 1;
      return fit;
    case JointOutcome::out_of_range:
      fit.status = ModelFitStatus::out_of_range;
      return fit;
    case JointOutcome::no_measurements:
      return fit;
  }
  fit.parameters = {joint.model.base_conductivity, joint.model.base_permittivity};
  fit.states = {ParameterState::inside, ParameterState::inside};
  fit.chi_square = joint.chi_square;
  fit.covariance_present = joint.covariance.present;
  fit.covariance[0][0] = joint.covariance.xx;
  fit.covariance[0][1] = joint.covariance.xe;
  fit.covariance[1][0] = joint.covariance.xe;
  fit.covariance[1][1] = joint.covariance.ee;
  return fit;
}

}  // namespace

std::optional<ModelName> model_named(std::string_view name) {
  for (const ModelName m : kEveryModel) {
    if (ground_model(m).name() == name) return m;
  }
  return std::nullopt;
}

std::optional<ModelChoice> model_choice_named(std::string_view name) {
  if (name == "compare") return ModelChoice{true, ModelName::messier};
  if (const auto named = model_named(name)) return ModelChoice{false, *named};
  return std::nullopt;
}

std::string unknown_model_reason(std::string_view name) {
  return "unknown model '" + std::string(name) +
         "': expected messier, alipio-visacro, power-law or compare";
}

const GroundModel& ground_model(ModelName name) {
  switch (name) {
    case ModelName::alipio_visacro:
      return kAlipioVisacro;
    case ModelName::power_law:
      return kPowerLaw;
    case ModelName::messier:
      break;
  }
  return kMessier;
}

ModelFit fit_model(ModelName name, std::span<const LocatedMeasurement> measurements,
                   bool weighted) {
  switch (name) {
    case ModelName::alipio_visacro:
      return fit_alipio_visacro(measurements, weighted);
    case ModelName::power_law:
      return fit_power_law(measurements, weighted);
    case ModelName::messier:
      break;
  }
  return fit_messier(measurements, weighted);
}

}  // namespace gndfit
