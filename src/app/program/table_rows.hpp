// SPDX-License-Identifier: MIT
#pragma once
// The table's rows, laid out once for everything that shows them: the
// console program, the C API (which hands out each band's field texts) and
// the tests that compare the two.
//
// Three rows under the heading: the band frequencies; each band's
// permittivity and conductivity side by side, each in its own colour; the
// relative skin depths.  Bands are four blanks apart, the two values of one
// band one blank apart and two from the next band's.
#include <span>
#include <string>
#include <string_view>

#include "console/numeric_mask.hpp"
#include "model/band_values.hpp"

namespace gndfit {

// The table's masks: a value of the permittivity and conductivity row,
// through the picture that gives it three significant places where they
// fit; a band frequency; a relative skin depth.
void append_auto_mask(NumericMask& mask, std::string& row, float value);
inline constexpr const char* kBandMask = "   ##.#";
inline constexpr const char* kDepthMask = " ###.##";

inline constexpr int kColourPermittivity = 11;
inline constexpr int kColourConductivity = 10;
inline constexpr int kColourSkinDepth = 8;
inline constexpr int kColourText = 7;

// One band's four fields as its masks print them, padding included.
struct BandFields {
  std::string band;
  std::string permittivity;
  std::string conductivity;
  std::string depth;
};

BandFields band_fields(NumericMask& mask, const BandValues& values);

// Where the rows go: runs of text in one colour, in the order they are
// written.
class TableRowSink {
 public:
  virtual ~TableRowSink() = default;
  virtual void set_colour(int colour) = 0;
  // `ends_line`: the run and its line end as one write.
  virtual void write(std::string_view text, bool ends_line) = 0;
  virtual void end_line() = 0;
};

// The band row (in the colour in use), the value row and the depth row
// (its line left open, in the depth colour).  `work` is reused text.
void write_table_rows(std::span<const BandFields> bands, TableRowSink& sink, std::string& work);

}  // namespace gndfit
