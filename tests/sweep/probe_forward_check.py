#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The real program's --probe against the separate forward model
(examples/probe_forward_model.py): random model grounds and probes (the
short one also behind leads and a stray capacitance, l= and cs=), each
sweep written in every file form, converted by gndfit, and the ground
recovered to a relative 1e-11 at every frequency; one quarter-wave note per
file, from where the forward model puts the line past a quarter wavelength; C0 and
its spread from a sweep in air.
    probe_forward_check.py EXAMPLES_DIR [EMULATOR...] PROGRAM"""
import cmath
import math
import os
import random
import re
import sys
import tempfile

sys.path.insert(0, sys.argv[1])
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import probe_forward_model as fm  # noqa: E402
import program_run  # noqa: E402
from program_run import run_program  # noqa: E402

PROGRAM = [os.path.abspath(a) if os.path.exists(a) else a for a in sys.argv[2:]]
WORK = None
TOLERANCE = 1e-11
failures = []
worst = 0.0


def run(setting, files):
    # Relative names in the working directory, which an emulated program
    # (Wine) opens as well as a native one.
    result = run_program(PROGRAM + ["--probe", setting] + files, text=True, cwd=WORK)
    return result.returncode, result.stdout.replace("\r", ""), result.stderr.replace("\r", "")


def check_points(what, stdout, x, e, frequencies_mhz):
    global worst
    lines = stdout.splitlines()
    if not lines or lines[0] != "frequency_mhz,permittivity,conductivity_ms_per_m":
        failures.append(f"{what}: no CSV header: {stdout[:200]!r}")
        return
    rows = [tuple(float(v) for v in line.split(",")) for line in lines[1:]]
    if len(rows) != len(frequencies_mhz):
        failures.append(f"{what}: {len(rows)} rows for {len(frequencies_mhz)} frequencies")
        return
    for (f_mhz, eps_r, sigma_ms), expected_f in zip(rows, frequencies_mhz):
        want_eps, want_sigma = fm.model_ground(expected_f * 1e6, x, e)
        errors = (abs(f_mhz - expected_f) / expected_f, abs(eps_r - want_eps) / want_eps,
                  abs(sigma_ms - 1e3 * want_sigma) / (1e3 * want_sigma))
        worst = max(worst, *errors)
        if max(errors) > TOLERANCE:
            failures.append(f"{what}: at {expected_f} MHz got {eps_r}, {sigma_ms}; "
                            f"want {want_eps}, {1e3 * want_sigma}")
            return


def sweep(frequencies_mhz, x, e, admittance):
    points = []
    for f_mhz in frequencies_mhz:
        f = f_mhz * 1e6
        points.append((f, admittance(f, fm.complex_permittivity(f, *fm.model_ground(f, x, e)))))
    return points


def write(name, text):
    with open(os.path.join(WORK, name), "w", newline="") as f:
        f.write(text)
    return name


def weighted_air_fit(air):
    """L, C_air and the residual spread: least squares of
    (omega L - B / omega - Im Z) / |Z| over B = 1 / C_air and L."""
    rows = []
    for f, y in air:
        omega, z = 2 * math.pi * f, 1 / y
        rows.append((omega / abs(z), -1 / (omega * abs(z)), z.imag / abs(z)))
    s11 = sum(a * a for a, _, _ in rows)
    s12 = sum(a * b for a, b, _ in rows)
    s22 = sum(b * b for _, b, _ in rows)
    t1 = sum(a * r for a, _, r in rows)
    t2 = sum(b * r for _, b, r in rows)
    det = s11 * s22 - s12 * s12
    lead, inverse_c = (t1 * s22 - t2 * s12) / det, (s11 * t2 - s12 * t1) / det
    spread = math.sqrt(sum((a * lead + b * inverse_c - r) ** 2 for a, b, r in rows) / len(rows))
    return lead, 1 / inverse_c, spread


def points_text(frequencies):
    if len(frequencies) == 1:
        return f"at {frequencies[0]:g} MHz (1 point)"
    return f"from {frequencies[0]:g} to {frequencies[-1]:g} MHz ({len(frequencies)} points)"


def quarter_wave_frequencies(frequencies_mhz, x, e, length):
    beyond = []
    for f_mhz in frequencies_mhz:
        f = f_mhz * 1e6
        eps = fm.complex_permittivity(f, *fm.model_ground(f, x, e))
        if (2 * math.pi * f * length / fm.C * cmath.sqrt(eps)).real > math.pi / 2:
            beyond.append(f_mhz)
    return beyond


def main():
    rng = random.Random(20261209)
    fixture_rng = random.Random(27)
    quarter_wave_cases = []
    global WORK
    with tempfile.TemporaryDirectory() as work:
        WORK = work
        for case in range(12):
            x = 10 ** rng.uniform(-3.5, -1.3)  # 0.3 to 50 mS/m
            e = rng.uniform(3.0, 40.0)
            frequencies = sorted(round(rng.uniform(1.0, 30.0), 3) for _ in range(25))
            frequencies = sorted(set(frequencies))
            c0 = rng.uniform(1.0, 20.0)  # pF
            length = rng.uniform(0.1, 0.6)
            z0 = rng.uniform(150.0, 500.0)
            # The fixture's leads and stray capacitance from a generator of
            # their own, so that the other draws stay as they were.
            lead_nh, stray_pf = fixture_rng.uniform(5.0, 60.0), fixture_rng.uniform(0.5, 6.0)
            probes = [
                (f"short,c0={c0!r}", lambda f, eps: fm.short_probe_admittance(f, eps, c0 * 1e-12)),
                (f"short,c0={c0!r},l={lead_nh!r},cs={stray_pf!r}",
                 lambda f, eps: fm.short_probe_fixture_admittance(f, eps, c0 * 1e-12,
                                                                  lead_nh * 1e-9, stray_pf * 1e-12)),
                (f"line,length={length!r},z0={z0!r}",
                 lambda f, eps: fm.line_probe_admittance(f, eps, length, z0)),
            ]
            # The line probe admits grounds of permittivity 1 to 100 and
            # conductivity up to 200 mS/m: a model ground outside them at
            # some frequency is line_branch_check.py's business.
            admitted = all(1.0 <= er <= 100.0 and s <= 0.2 for er, s in
                           (fm.model_ground(f * 1e6, x, e) for f in frequencies))
            for setting, admittance in probes if admitted else probes[:2]:
                # Every form of the sweep in one run: the points of each
                # file in turn.
                forms = fm.all_forms(sweep(frequencies, x, e, admittance))
                paths = [write(f"{case}-{name}", text) for name, text in forms.items()]
                what = f"case {case} ({setting}, x={x}, e={e})"
                status, out, err = run(setting, paths)
                if status != 0:
                    failures.append(f"{what}: status {status}: {err.strip()}")
                    continue
                check_points(what, out, x, e, frequencies * len(paths))
                # One note per file, from the first frequency past a quarter
                # wavelength.
                noted = [line for line in err.splitlines() if "quarter wavelength" in line]
                want = quarter_wave_frequencies(frequencies, x, e, length) \
                    if setting.startswith("line") else []
                if want:
                    quarter_wave_cases.append(case)
                if len(noted) != (len(paths) if want else 0) or \
                        any(f"{points_text(want)} the line is longer" not in n for n in noted):
                    failures.append(f"{what}: notes {noted[:1]} ({len(noted)}), want one per file "
                                    f"from {want[:1]} MHz")

        # A long line, well past a quarter wavelength at the top: each
        # frequency followed from the one below, one note from where.
        x, e, length, z0 = 0.005, 15.0, 1.5, 250.0
        frequencies = [1.0 + 0.25 * i for i in range(117)]
        path = write("long.s1p",
                     fm.touchstone_1(sweep(frequencies, x, e, lambda f, eps:
                                           fm.line_probe_admittance(f, eps, length, z0)),
                                     "MHz", "S", "RI"))
        status, out, err = run(f"line,length={length},z0={z0}", [path])
        want = quarter_wave_frequencies(frequencies, x, e, length)
        noted = [line for line in err.splitlines() if "quarter wavelength" in line]
        if status != 0 or len(noted) != 1 or len(want) < 50:
            failures.append(f"long line: status {status}, {len(noted)} notes, {len(want)} beyond")
        else:
            check_points("long line", out, x, e, frequencies)
            if f"from {want[0]:g} to 30 MHz ({len(want)} points) the line is longer" \
                    not in noted[0]:
                failures.append(f"long line: note {noted[0]!r}, want from {want[0]} MHz")

        # L and C_air from a sweep in air, then the ground behind them: a
        # noiseless fixture (20 nH, 5 pF), and one whose points scatter,
        # each point's capacitance 5 pF times 1 + d, the d given, where
        # the fit is checked against this script's own weighted least
        # squares on Im Z / |Z| (normal equations).
        air_frequencies = [2.0, 5.0, 10.0, 20.0, 30.0]
        deviations = [0.01, -0.02, 0.015, -0.005, 0.0]
        for label, lead, capacitances in [
                ("noiseless", 20e-9, [5e-12] * 5),
                ("scattered", 0.0, [5e-12 * (1 + d) for d in deviations])]:
            air = [(f * 1e6, fm.short_probe_fixture_admittance(f * 1e6, 1.0, c, lead, 0.0))
                   for f, c in zip(air_frequencies, capacitances)]
            fit_l, fit_c, fit_spread = weighted_air_fit(air)
            x, e = 0.002, 8.0
            frequencies = [1.5, 3.5, 7.1, 14.2]
            air_path = write(f"air-{label}.s1p", fm.touchstone_1(air, "MHz", "S", "DB"))
            ground_path = write(f"ground-{label}.csv", fm.rx_csv(sweep(
                frequencies, x, e,
                lambda f, eps: fm.short_probe_fixture_admittance(f, eps, fit_c, fit_l, 0.0))))
            status, out, err = run(f"short,air={air_path}", [ground_path])
            note = re.fullmatch(r"gndfit: C0 from (\S+): (\S+) pF behind L = (\S+) nH, fitted to "
                                r"Im\(Z\) with a residual spread of (below 1e-10|\S+) % of \|Z\| "
                                r"over 5 points", err.strip())
            if status != 0 or not note:
                failures.append(f"air ({label}): status {status}, stderr {err.strip()!r}")
                continue
            got_c, got_l = float(note.group(2)) * 1e-12, float(note.group(3)) * 1e-9
            got_spread = 0.0 if note.group(4).startswith("below") else float(note.group(4)) / 100
            if abs(got_c - fit_c) > 1e-5 * fit_c or abs(got_l - fit_l) > 1e-5 * abs(fit_l) + 1e-18 \
                    or abs(got_spread - fit_spread) > 1e-5 * fit_spread + 1e-12:
                failures.append(f"air ({label}): {err.strip()!r}, want C {fit_c}, L {fit_l}, "
                                f"spread {fit_spread}")
            check_points(f"air ({label})", out, x, e, frequencies)

        # C0 and Cs apart with a liquid: a probe of C0 = 5 pF beside 3 pF
        # of stray capacitance behind 20 nH, in air and in distilled water
        # (78.4, with a conductivity that must not matter), then in the
        # model ground; C0, Cs and the ground recovered.
        lead, c0, stray = 20e-9, 5e-12, 3e-12
        fixture = lambda f, eps: fm.short_probe_fixture_admittance(f, eps, c0, lead, stray)
        air_path = write("air-fixture.s1p", fm.touchstone_1(
            [(f * 1e6, fixture(f * 1e6, 1.0)) for f in air_frequencies], "MHz", "S", "RI"))
        water_path = write("water.csv", fm.rx_csv(
            [(f * 1e6, fixture(f * 1e6, fm.complex_permittivity(f * 1e6, 78.4, 0.05)))
             for f in air_frequencies]))
        x, e = 0.005, 13.0
        frequencies = [1.0, 4.0, 9.5, 18.0, 30.0]
        ground_path = write("ground-fixture.s1p", fm.touchstone_1(
            sweep(frequencies, x, e, fixture), "MHz", "Z", "RI"))
        status, out, err = run(f"short,air={air_path},liquid={water_path},liquid_er=78.4",
                               [ground_path])
        found = re.search(r"C0 = (\S+) pF, Cs = (\S+) pF", err)
        if status != 0 or not found or abs(float(found.group(1)) - 5) > 1e-5 or \
                abs(float(found.group(2)) - 3) > 1e-5:
            failures.append(f"liquid: status {status}, {err.strip()!r}")
        else:
            global TOLERANCE
            TOLERANCE, kept = 1e-6, TOLERANCE
            check_points("liquid", out, x, e, frequencies)
            TOLERANCE = kept
        # A liquid_er that makes C0 negative: an error naming both files.
        status, out, err = run(f"short,air={air_path},liquid={water_path},liquid_er=1.5",
                               [ground_path])
        if status != 1 or out or f"{air_path} and {water_path} give C0 = " not in err:
            failures.append(f"liquid_er=1.5: status {status}, {err.strip()!r}")
        # The air's sweep given as the liquid's too: C0 would be the
        # rounding of C_air - C_air; an error naming both files.
        status, out, err = run(f"short,air={air_path},liquid={air_path},liquid_er=78.4",
                               [ground_path])
        if status != 1 or out or f"{air_path} and {air_path} give the same capacitance" not in err:
            failures.append(f"the air's sweep as the liquid's: status {status}, {err.strip()!r}")

    if len(quarter_wave_cases) < 3:
        failures.append(f"only {len(quarter_wave_cases)} cases pass a quarter wavelength")
    for failure in failures[:30]:
        print("FAILED:", failure)
    print(f"probe_forward_check: {program_run.silent_failures_retried} silent start failures "
          "retried")
    print(f"probe_forward_check: {len(failures)} failures; worst relative error {worst:.3g} "
          f"(tolerance {TOLERANCE:g})")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
