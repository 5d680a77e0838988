/* SPDX-License-Identifier: MIT */
/* gndfit's fit as a C API: one measurement typed as text in, everything
 * the console's table shows out.  Used by the web page (compiled to
 * WebAssembly) and usable from any language with a C interface.
 *
 * The text is read exactly as the console reads a typed line: blanks, tabs
 * and commas separate fields, the first three fields are the frequency in
 * MHz, the relative permittivity and the conductivity in mS/m, with the
 * console's number forms (2.5e2, 2.5d2, &H1E, ...); a missing field reads
 * as 0.  The console prints no table when a value is zero or negative.
 *
 * Every call fits from a fresh state, as the first measurement of a new
 * console run: the result depends on the text alone.  (The console carries
 * the simplex's vertex order from one measurement to the next, which for
 * extreme inputs can change the table.)
 */
#ifndef GNDFIT_FIT_API_H
#define GNDFIT_FIT_API_H

#ifdef __cplusplus
extern "C" {
#endif

enum { GNDFIT_BANDS = 10, GNDFIT_FIELD_TEXT = 64 };

typedef struct {
  float band_mhz;
  float permittivity;        /* relative */
  float conductivity_ms;     /* mS/m */
  float relative_skin_depth; /* to the depth at the measured frequency */
  /* The texts the console's masks print for these, padding included. */
  char band_text[GNDFIT_FIELD_TEXT];
  char permittivity_text[GNDFIT_FIELD_TEXT];
  char conductivity_text[GNDFIT_FIELD_TEXT];
  char depth_text[GNDFIT_FIELD_TEXT];
} gndfit_band;

typedef struct {
  int table; /* 1: the console prints a table for this measurement */
  double frequency_mhz; /* the measurement as read */
  float permittivity;
  float conductivity_ms;
  /* The fitted model: its low-frequency conductivity (S/m) and its
   * high-frequency permittivity (F/m, absolute). */
  double base_conductivity;
  double base_permittivity;
  long long passes, evaluations, expansions, contractions, shrinks;
  int hit_pass_limit;
  gndfit_band bands[GNDFIT_BANDS]; /* valid when table is 1 */
} gndfit_result;

/* Reads and fits one measurement; `result` is always filled in. */
void gndfit_fit_text(const char* text, gndfit_result* result);

/* The same as JSON text (for JavaScript), valid until the next call of
 * this API, the joint fit's or the probe's:
 *   {"format": 2, "table": true or false,
 *    "frequency_mhz", "permittivity", "conductivity_ms_per_m" (as read),
 * and with a table
 *    "model": {"base_conductivity_s_per_m", "base_permittivity" (relative),
 *              "base_conductivity_sd", "base_permittivity_sd",
 *              "correlation"} (the three null: one measurement has none),
 *    "passes", "evaluations",
 *    "bands": [{"frequency_mhz", "permittivity", "conductivity_ms_per_m",
 *               "relative_skin_depth", "texts": [4 field texts]}],
 *    "warnings": [{"code", "text"}]}
 * the warnings the measurement's own, as --csv gives them on standard
 * error (permittivity-below-vacuum).  "format" 2 is the vocabulary of
 * joint_api.h, which the three C APIs share (format 1 had "mhz",
 * "conductivity_ms", "depth" and an absolute base permittivity in F/m). */
const char* gndfit_fit_json(const char* text);

/* The same with "curve": [{"frequency_mhz", "permittivity",
 * "conductivity_ms_per_m"}], the fitted model at each frequency of
 * `frequencies_mhz` (positive numbers in MHz separated by commas, as for
 * --freq), for drawing it; an invalid list gives
 *   {"format": 2, "errors": [{"line": null, "reason": "..."}]} */
const char* gndfit_fit_json_at(const char* text, const char* frequencies_mhz);

#ifdef __cplusplus
}
#endif

#endif
