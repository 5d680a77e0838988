/* SPDX-License-Identifier: MIT */
/* gndfit's probe sweeps as a C API: an analyser's sweep file as text in,
 * the ground points it gives and the joint fit of those points as JSON
 * out.  Used by the web page (compiled to WebAssembly).
 *
 * `setting` is the probe as `gndfit --probe` takes it, any of its forms:
 * `short,c0=PF[,l=NH][,cs=PF]`, `short,air=NAME`,
 * `short,air=NAME,liquid=NAME2,liquid_er=ER` or `line,length=M,z0=OHMS`,
 * each with `,u_gamma=U` or without.  `sweep_name` names the sweep in
 * messages; `sweep_text` is the whole file (Touchstone 1.x or 2.0
 * one-port, or a CSV of frequency, R and X).  `air_text` is the sweep of
 * the probe in air when the setting names one (air=NAME), and
 * `liquid_text` its sweep in the liquid when the setting names one
 * (liquid=NAME2); each is otherwise not read.  `frequencies_mhz`,
 * positive numbers in MHz separated by commas, gives the frequencies the
 * fitted model is shown at; a null pointer gives the table's ten HF bands.
 * `model` names the ground model fitted, as gndfit_joint_model_json_at
 * takes it ("messier", "alipio-visacro", "power-law" or "compare", which
 * needs u_gamma); a null pointer gives messier.
 *
 * The JSON, when the sweep converts:
 *   {"format": 2,
 *    "points": [{"line", "frequency_mhz", "permittivity",
 *                "conductivity_ms_per_m"}], with u_gamma also
 *               "permittivity_u" and "conductivity_u_ms_per_m", the
 *               points' standard uncertainties as --probe's CSV gives them,
 *    "left_out": [{"file", "line", "frequency_mhz", "reason"}], the points
 *               of a line probe's sweep the notes' warning names as left
 *               out, "reason" in a few words,
 *    "notes": ["C0 from ...", "warning: ..."],
 *    "csv": the text of gndfit --probe SETTING (the same points),
 *    "joint": the JSON of gndfit --probe SETTING --joint --model MODEL --json, with
 *             "nec_cards" as joint_api.h gives them}
 * where "joint" is {"errors": [...]} if the points have no fit; and when
 * it does not, {"format": 2, "errors": [{"line": null, "reason":
 * "NAME:line N: ..."}], "notes": [...]}.  "format" 2 is the vocabulary of
 * joint_api.h, which the three C APIs share.  The returned text is valid
 * until the next call of this API, the joint fit's or the single fit's.
 */
#ifndef GNDFIT_PROBE_API_H
#define GNDFIT_PROBE_API_H

#ifdef __cplusplus
extern "C" {
#endif

const char* gndfit_probe_json(const char* setting, const char* sweep_name, const char* sweep_text,
                              const char* air_text, const char* liquid_text,
                              const char* frequencies_mhz, const char* model);

#ifdef __cplusplus
}
#endif

#endif
