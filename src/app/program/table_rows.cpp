// SPDX-License-Identifier: MIT
#include "app/program/table_rows.hpp"

namespace gndfit {

void append_auto_mask(NumericMask& mask, std::string& row, float value) {
  const double v = value;
  const char* picture = v < 0.0995 ? ".###" : v < 0.995 ? "#.##" : v < 99.95 ? "##.#" : "####";
  mask.append_single(row, picture, value);
}

namespace {

constexpr std::string_view kBandGap = "    ";
constexpr std::string_view kValueGap = " ";  // between a band's two values
constexpr std::string_view kNextValueGap = "  ";

}  // namespace

BandFields band_fields(NumericMask& mask, const BandValues& values) {
  BandFields f;
  mask.append_single(f.band, kBandMask, values.band_mhz);
  append_auto_mask(mask, f.permittivity, values.model.permittivity);
  append_auto_mask(mask, f.conductivity, values.model.conductivity_ms);
  mask.append_single(f.depth, kDepthMask, values.relative_skin_depth);
  return f;
}

void write_table_rows(std::span<const BandFields> bands, TableRowSink& sink, std::string& work) {
  const std::size_t count = bands.size();
  work.clear();
  for (std::size_t i = 0; i < count; ++i) {
    work += bands[i].band;
    if (i + 1 < count) work += kBandGap;
  }
  sink.write(work, true);
  for (std::size_t i = 0; i < count; ++i) {
    sink.set_colour(kColourPermittivity);
    work.assign(bands[i].permittivity);
    work += kValueGap;
    sink.write(work, false);
    sink.set_colour(kColourConductivity);
    work.assign(bands[i].conductivity);
    if (i + 1 < count) work += kNextValueGap;
    sink.write(work, false);
  }
  sink.end_line();
  sink.set_colour(kColourSkinDepth);
  work.clear();
  for (std::size_t i = 0; i < count; ++i) {
    work += bands[i].depth;
    if (i + 1 < count) work += kBandGap;
  }
  sink.write(work, false);
}

}  // namespace gndfit
