// SPDX-License-Identifier: MIT
#include "app/api/fit_api.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/api/api_text.hpp"
#include "app/joint/joint_json.hpp"
#include "app/program/band_table.hpp"
#include "app/joint/joint_solution.hpp"
#include "app/program/table_rows.hpp"
#include "console/input_source.hpp"
#include "console/numeric_mask.hpp"
#include "model/band_values.hpp"
#include "model/ground.hpp"
#include "model/messier_ground.hpp"

namespace {

using namespace gndfit;

static_assert(GNDFIT_BANDS == kBandTable.size(), "the C API holds every band of the table");

void copy_text(char (&to)[GNDFIT_FIELD_TEXT], const std::string& text) {
  const std::size_t n = std::min(text.size(), sizeof to - 1);
  std::memcpy(to, text.data(), n);
  to[n] = '\0';
}

void fill_bands(FitState& fit, gndfit_result& r) {
  BandValues values[GNDFIT_BANDS];
  compute_band_values(fit, kBandTable, values);
  NumericMask mask;
  for (int i = 0; i < GNDFIT_BANDS; ++i) {
    const BandValues& v = values[i];
    gndfit_band& b = r.bands[i];
    b.band_mhz = v.band_mhz;
    b.permittivity = v.model.permittivity;
    b.conductivity_ms = v.model.conductivity_ms;
    b.relative_skin_depth = v.relative_skin_depth;
    const BandFields fields = band_fields(mask, v);
    copy_text(b.band_text, fields.band);
    copy_text(b.permittivity_text, fields.permittivity);
    copy_text(b.conductivity_text, fields.conductivity);
    copy_text(b.depth_text, fields.depth);
  }
}

}  // namespace

extern "C" void gndfit_fit_text(const char* text, gndfit_result* result) {
  gndfit_result& r = *result;
  r = gndfit_result{};
  InputSource fields;
  fields.use_line(text != nullptr ? text : "");
  Measurement m;
  fields.read_double(m.frequency_mhz);
  fields.read_single(m.permittivity);
  fields.read_single(m.conductivity_ms);
  r.frequency_mhz = m.frequency_mhz;
  r.permittivity = m.permittivity;
  r.conductivity_ms = m.conductivity_ms;
  // The console's own test: NaN passes it, as it does there.
  if (m.frequency_mhz <= 0.0 || m.permittivity <= 0.0f || m.conductivity_ms <= 0.0f) return;
  r.table = 1;
  FitState fit;
  fit_measurement(fit, m);
  r.base_conductivity = fit.point.base_conductivity;
  r.base_permittivity = fit.point.base_permittivity;
  r.passes = fit.counters.passes;
  r.evaluations = fit.counters.evaluations;
  r.expansions = fit.counters.expansions;
  r.contractions = fit.counters.contractions;
  r.shrinks = fit.counters.shrinks;
  r.hit_pass_limit = fit.counters.hit_pass_limit ? 1 : 0;
  fill_bands(fit, r);
}

namespace {

// The measurement's own model pair, as --csv warns of it: a base
// permittivity below vacuum's.
std::vector<JointWarning> warnings_of(const gndfit_result& r) {
  const MessierParameters model = messier_exact(r.frequency_mhz, r.permittivity, r.conductivity_ms);
  if (!below_vacuum(model.base_permittivity)) return {};
  return {below_vacuum_warning(model.base_permittivity)};
}

// The fitted model: its base permittivity relative, as the joint fit
// gives it.
MessierParameters fitted_model(const gndfit_result& r) {
  return {r.base_conductivity, r.base_permittivity / kVacuumPermittivity};
}

void write_bands(JsonWriter& json, const gndfit_result& r) {
  json.name("bands").begin_array();
  for (const gndfit_band& b : r.bands) {
    json.begin_object();
    json.name("frequency_mhz").number(b.band_mhz);
    json.name("permittivity").number(b.permittivity);
    json.name("conductivity_ms_per_m").number(b.conductivity_ms);
    json.name("relative_skin_depth").number(b.relative_skin_depth);
    json.name("texts").begin_array();
    for (const char* field :
         {b.band_text, b.permittivity_text, b.conductivity_text, b.depth_text}) {
      json.string(field);
    }
    json.end_array().end_object();
  }
  json.end_array();
}

// "curve": the fitted model at each frequency, for drawing it between and
// beyond the bands.
void write_curve(JsonWriter& json, const MessierParameters& model,
                 const std::vector<double>& mhz) {
  json.name("curve").begin_array();
  for (const double f : mhz) {
    const GroundValues v = messier_values(model, f);
    json.begin_object();
    json.name("frequency_mhz").number(f);
    json.name("permittivity").number(v.permittivity);
    json.name("conductivity_ms_per_m").number(v.conductivity_ms);
    json.end_object();
  }
  json.end_array();
}

std::string fit_json(const char* text, const std::vector<double>* curve_mhz) {
  gndfit_result r;
  gndfit_fit_text(text, &r);
  JsonWriter json = begin_api_json();
  json.name("table").boolean(r.table != 0);
  json.name("frequency_mhz").number(r.frequency_mhz);
  json.name("permittivity").number(r.permittivity);
  json.name("conductivity_ms_per_m").number(r.conductivity_ms);
  if (r.table != 0) {
    const MessierParameters model = fitted_model(r);
    write_model_object(json, model.base_conductivity, model.base_permittivity, {});
    json.name("passes").integer(r.passes);
    json.name("evaluations").integer(r.evaluations);
    write_bands(json, r);
    write_warnings(json, warnings_of(r));
    if (curve_mhz != nullptr) write_curve(json, model, *curve_mhz);
  }
  return json.end_object().text();
}

}  // namespace

extern "C" const char* gndfit_fit_json(const char* text) {
  return api_result(fit_json(text, nullptr));
}

extern "C" const char* gndfit_fit_json_at(const char* text, const char* frequencies_mhz) {
  const Outcome<std::vector<double>> mhz =
      api_frequencies(frequencies_mhz != nullptr ? frequencies_mhz : "");
  if (mhz.failed()) return api_result(whole_input_error_json(mhz.failure().reason));
  return api_result(fit_json(text, &mhz.value()));
}
