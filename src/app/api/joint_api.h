/* SPDX-License-Identifier: MIT */
/* gndfit's joint fit as a C API: several measurements as text in, one
 * ground model fitted to them all as JSON out.  Used by the web page
 * (compiled to WebAssembly) and usable from any language with a C
 * interface.
 *
 * The text holds one measurement a line, as `gndfit --joint` reads them:
 * `f er s` or `f er s u_er u_s` (MHz, relative permittivity, mS/m and the
 * standard uncertainties of the last two); blanks, tabs or commas between
 * fields; blank lines and lines starting with # skipped; either every line
 * has uncertainties or none has.
 *
 * The JSON is that of `gndfit --joint --json` (see app/joint/joint_json.hpp)
 * with "format": 2 first and "nec_cards" last (the text `gndfit --joint
 * --nec` writes for the same frequencies, a ground card, FR and XQ for
 * each, for a NEC-2 deck), or, when the text has faulty lines or the
 * measurements have no fit,
 *   {"format": 2, "errors": [{"line": N, "reason": "..."}, ...]}
 * with "line" null for an error of the whole text.  "format" 2 is the
 * vocabulary the three C APIs share: frequency_mhz, permittivity (relative,
 * the base permittivity too), conductivity_ms_per_m, a standard deviation
 * as NAME_sd (conductivity_sd_ms_per_m).  The returned text is valid until
 * the next call of this API, the single fit's or the probe's.
 */
#ifndef GNDFIT_JOINT_API_H
#define GNDFIT_JOINT_API_H

#ifdef __cplusplus
extern "C" {
#endif

/* The model on the ten HF bands of the table. */
const char* gndfit_joint_json(const char* text);

/* The model at the frequencies of `frequencies_mhz`, positive numbers in
 * MHz separated by commas as for --freq (for a curve, say); an invalid
 * list is an error of the whole text. */
const char* gndfit_joint_json_at(const char* text, const char* frequencies_mhz);

/* The same with the ground model named: "messier" (the two functions
 * above), "alipio-visacro", "power-law", or "compare" (all three weighed
 * by AICc, the outputs following the one chosen; the JSON then also has
 * "models", each with its "model_name", "model", "chi_square",
 * "degrees_of_freedom", "aicc", "akaike_weight" and "bands", and "chosen").
 * Compare needs measurements with uncertainties.  A null
 * `frequencies_mhz` gives the ten bands, a null `model` messier. */
const char* gndfit_joint_model_json_at(const char* text, const char* frequencies_mhz,
                                       const char* model);

#ifdef __cplusplus
}
#endif

#endif
