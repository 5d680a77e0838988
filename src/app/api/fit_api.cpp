// SPDX-License-Identifier: MIT
#include "app/api/fit_api.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/program/band_table.hpp"
#include "model/band_values.hpp"
#include "app/joint/joint_solution.hpp"
#include "app/common/json_text.hpp"
#include "app/program/table_rows.hpp"
#include "console/input_source.hpp"
#include "console/numeric_mask.hpp"

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
void append_warnings(std::string& json, const gndfit_result& r) {
  append_json_name(json, "warnings");
  json += '[';
  const MessierParameters model = messier_exact(r.frequency_mhz, r.permittivity, r.conductivity_ms);
  if (below_vacuum(model.base_permittivity)) {
    const JointWarning w = below_vacuum_warning(model.base_permittivity);
    json += '{';
    append_json_name(json, "code");
    append_json_string(json, w.code);
    append_json_name(json, "text");
    append_json_string(json, w.text);
    json += '}';
  }
  json += ']';
}

}  // namespace

extern "C" const char* gndfit_fit_json(const char* text) {
  static std::string json;
  gndfit_result r;
  gndfit_fit_text(text, &r);
  json = "{\"table\":";
  json += r.table != 0 ? "true" : "false";
  append_json_field(json, "frequency_mhz", r.frequency_mhz);
  append_json_field(json, "permittivity", r.permittivity);
  append_json_field(json, "conductivity_ms", r.conductivity_ms);
  if (r.table != 0) {
    append_json_field(json, "base_conductivity", r.base_conductivity);
    append_json_field(json, "base_permittivity", r.base_permittivity);
    append_json_name(json, "passes");
    json += std::to_string(r.passes);
    append_json_name(json, "evaluations");
    json += std::to_string(r.evaluations);
    append_json_name(json, "bands");
    json += '[';
    for (int i = 0; i < GNDFIT_BANDS; ++i) {
      const gndfit_band& b = r.bands[i];
      json += i > 0 ? "," : "";
      json += '{';
      append_json_field(json, "mhz", b.band_mhz);
      append_json_field(json, "permittivity", b.permittivity);
      append_json_field(json, "conductivity_ms", b.conductivity_ms);
      append_json_field(json, "depth", b.relative_skin_depth);
      append_json_name(json, "texts");
      json += '[';
      for (const char* field : {b.band_text, b.permittivity_text, b.conductivity_text, b.depth_text}) {
        if (field != b.band_text) json += ',';
        append_json_string(json, field);
      }
      json += "]}";
    }
    json += ']';
    append_warnings(json, r);
  }
  json += '}';
  return json.c_str();
}
