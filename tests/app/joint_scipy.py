#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""gndfit --joint --json against SciPy on seeded sweeps.

For each case, measurements are made from a known ground model (exact, or
with seeded noise, with and without standard uncertainties), written one a
line with every digit, and fitted by gndfit.  The reference is
scipy.optimize.least_squares on the same chi-square, started from several
points with tight tolerances, the best taken; the covariance comes from its
own analytic Jacobian and numpy's inverse, the 99% quantile from
scipy.stats.chi2.ppf.  Parameters, standard deviations, correlation,
chi-square, band values and warnings must agree; and the report and --csv
of a weighted, an unweighted and a single measurement, column by column,
within the last digit they print.

  joint_scipy.py [EMULATOR...] PROGRAM
Exit status 77 (skipped) where SciPy is not installed.
"""
import json
import math
import subprocess
import sys

try:
    import numpy as np
    from scipy.optimize import least_squares
    from scipy.stats import chi2 as chi2_distribution
except ImportError:
    print("joint_scipy: SKIPPED, python3-scipy is not installed (scripts/install-deps.sh installs it)")
    sys.exit(77)

PROGRAM = sys.argv[1:]
EPS0 = 8.8541878128e-12
C_LIGHT = 299792458.0
BANDS = [1.8, 3.7, 5.3, 7.1, 10.1, 14.2, 18.1, 21.2, 24.9, 28.5]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def close(a, b, rel, what):
    ok = a is not None and b is not None and abs(a - b) <= rel * max(abs(a), abs(b), 1e-300)
    check(ok, f"{what}: gndfit {a!r}, reference {b!r}")


# The forward model, written from its closed form.
def model(x, e, f_mhz):
    f = np.asarray(f_mhz) * 1e6
    sigma = x * (1 + np.sqrt(4 * math.pi * f * EPS0 * e / x))
    eps = e * (1 + np.sqrt(x / (math.pi * f * EPS0 * e)))
    return eps, sigma * 1000.0


def model_jacobian(x, e, f_mhz):
    """d(eps, sigma_mS)/d(x, e), differentiated by hand from model()."""
    f = np.asarray(f_mhz) * 1e6
    k = 4 * math.pi * f * EPS0
    deps_dx = 0.5 * np.sqrt(e / (x * math.pi * f * EPS0))
    deps_de = 1 + 0.5 * np.sqrt(x / (e * math.pi * f * EPS0))
    dsig_dx = 1000.0 * (1 + 0.5 * np.sqrt(k * e / x))
    dsig_de = 1000.0 * 0.5 * np.sqrt(k * x / e)
    return deps_dx, deps_de, dsig_dx, dsig_de


def reference_fit(f, er, s, ue, us):
    def residuals(p):
        x, e = math.exp(p[0]), math.exp(p[1])
        eps, sig = model(x, e, f)
        return np.concatenate([(eps - er) / ue, (sig - s) / us])

    def jac(p):
        x, e = math.exp(p[0]), math.exp(p[1])
        a, b, c, d = model_jacobian(x, e, f)
        top = np.stack([a * x / ue, b * e / ue], axis=1)
        bottom = np.stack([c * x / us, d * e / us], axis=1)
        return np.concatenate([top, bottom])

    best = None
    for x0 in (1e-4, 1e-3, 1e-2, 1e-1):
        for e0 in (2.0, 10.0, 50.0):
            try:
                r = least_squares(residuals, [math.log(x0), math.log(e0)], jac=jac, method="lm",
                                  xtol=1e-15, ftol=1e-15, gtol=1e-15, max_nfev=20000)
            except OverflowError:  # a start that ran off towards an edge
                continue
            if best is None or r.cost < best.cost:
                best = r
    x, e = math.exp(best.x[0]), math.exp(best.x[1])
    return x, e, float(np.sum(residuals(best.x) ** 2))


def covariance(x, e, f, ue, us):
    a, b, c, d = model_jacobian(x, e, f)
    j = np.concatenate([np.stack([a / ue, b / ue], axis=1), np.stack([c / us, d / us], axis=1)])
    return np.linalg.inv(j.T @ j)


def run(text, *options):
    return subprocess.run(PROGRAM + ["--joint", *options], input=text.encode(),
                          capture_output=True)


def compare_case(name, f, er, s, ue=None, us=None):
    weighted = ue is not None
    lines = []
    for i in range(len(f)):
        fields = [f[i], er[i], s[i]] + ([ue[i], us[i]] if weighted else [])
        lines.append(" ".join(repr(float(v)) for v in fields))
    result = run("\n".join(lines) + "\n", "--json")
    check(result.returncode == 0, f"{name}: status {result.returncode}, {result.stderr!r}")
    if result.returncode != 0:
        return
    out = json.loads(result.stdout)
    u_e = np.asarray(ue) if weighted else np.ones(len(f))
    u_s = np.asarray(us) if weighted else np.ones(len(f))
    x, e, chi_square = reference_fit(np.asarray(f), np.asarray(er), np.asarray(s), u_e, u_s)
    m = out["model"]
    close(m["base_conductivity_s_per_m"], x, 1e-8, f"{name}: base conductivity")
    close(m["base_permittivity"], e, 1e-8, f"{name}: base permittivity")
    scale = sum(d * d for d in list(er / u_e) + list(s / u_s))
    check(abs(out["chi_square"] - chi_square) <= 1e-7 * chi_square + 1e-20 * scale,
          f"{name}: chi-square {out['chi_square']!r}, reference {chi_square!r}")
    dof = 2 * len(f) - 2
    check(out["degrees_of_freedom"] == dof and out["weighted"] == weighted, f"{name}: dof, weighted")
    check([mm["frequency_mhz"] for mm in out["measurements"]] == [float(v) for v in f],
          f"{name}: the frequencies read back exactly")
    check([mm["line"] for mm in out["measurements"]] == list(range(1, len(f) + 1)), f"{name}: lines")
    cov = covariance(x, e, np.asarray(f), u_e, u_s) * (1.0 if weighted else chi_square / dof)
    sd_x, sd_e = math.sqrt(cov[0, 0]), math.sqrt(cov[1, 1])
    # Exact measurements without uncertainties: chi-square, and with it the
    # standard deviations, are rounding noise; they must be that small.
    noise = not weighted and chi_square <= 1e-20 * scale
    if noise:
        check(m["base_conductivity_sd"] <= 1e-9 * x and m["base_permittivity_sd"] <= 1e-9 * e,
              f"{name}: sd of exact measurements {m}")
    else:
        close(m["base_conductivity_sd"], sd_x, 1e-6, f"{name}: sd of x")
        close(m["base_permittivity_sd"], sd_e, 1e-6, f"{name}: sd of e")
    if not noise:
        check(abs(m["correlation"] - cov[0, 1] / (sd_x * sd_e)) <= 1e-6,
              f"{name}: correlation {m['correlation']!r}, reference {cov[0, 1] / (sd_x * sd_e)!r}")
    eps, sig = model(x, e, BANDS)
    a, b, c, d = model_jacobian(x, e, np.asarray(BANDS))
    for i, band in enumerate(out["bands"]):
        close(band["frequency_mhz"], BANDS[i], 0, f"{name}: band frequency")
        close(band["permittivity"], eps[i], 1e-7, f"{name}: permittivity at {BANDS[i]}")
        close(band["conductivity_ms_per_m"], sig[i], 1e-7, f"{name}: conductivity at {BANDS[i]}")
        if not noise:
            g = np.array([a[i], b[i]])
            close(band["permittivity_sd"], math.sqrt(g @ cov @ g), 1e-6, f"{name}: permittivity sd")
            g = np.array([c[i], d[i]])
            close(band["conductivity_sd_ms_per_m"], math.sqrt(g @ cov @ g), 1e-6,
                  f"{name}: conductivity sd")
        w = 2 * math.pi * BANDS[i] * 1e6
        mu0 = 1 / (EPS0 * C_LIGHT ** 2)
        t = sig[i] / 1000 / (w * EPS0 * eps[i])
        depth = 1 / (w * math.sqrt(mu0 * EPS0 * eps[i] / 2 * (math.sqrt(1 + t * t) - 1)))
        close(band["skin_depth_m"], depth, 1e-6, f"{name}: skin depth at {BANDS[i]}")
    codes = [w["code"] for w in out["warnings"]]
    check(("permittivity-below-vacuum" in codes) == (e < 1), f"{name}: below-vacuum warning {codes}")
    if weighted:
        limit = chi2_distribution.ppf(0.99, dof)
        if abs(chi_square - limit) > 1e-6 * limit:
            check(("poor-fit" in codes) == (chi_square > limit),
                  f"{name}: poor-fit warning {codes}, chi-square {chi_square}, limit {limit}")
        for w in out["warnings"]:
            if w["code"] == "poor-fit":
                check(f"above {limit:.3g}," in w["text"], f"{name}: the 99% quantile in {w['text']!r}")
    return out


def sweep(rng, n):
    """n measurements of a random ground, 1 to 30 MHz."""
    x = 10 ** rng.uniform(-4, -1)
    e = rng.uniform(3, 60)
    f = np.sort(10 ** rng.uniform(0, math.log10(30), n))
    er, s = model(x, e, f)
    return f, er, s


rng = np.random.default_rng(20261209)
cases = 0
for n in (2, 3, 5, 10, 40, 200, 1000):
    for repeat in range(3 if n <= 40 else 1):
        f, er, s = sweep(rng, n)
        tag = f"n={n} #{repeat}"
        compare_case(f"exact {tag}", f, er, s)
        noisy_er = er * (1 + 0.03 * rng.standard_normal(n))
        noisy_s = s * (1 + 0.05 * rng.standard_normal(n))
        compare_case(f"noisy {tag}", f, noisy_er, noisy_s)
        ue = 0.03 * er + 0.2
        us = 0.05 * s + 0.01
        compare_case(f"weighted noisy {tag}", f, er + ue * rng.standard_normal(n),
                     s + us * rng.standard_normal(n), ue, us)
        # The same uncertainties claimed ten times too small: a poor fit.
        compare_case(f"weighted poor {tag}", f, er + ue * rng.standard_normal(n),
                     s + us * rng.standard_normal(n), ue / 10, us / 10)
        cases += 4

# A ground the model reaches only with a base permittivity below 1.
compare_case("below vacuum", [1.8, 3.5, 7.0], [5.0, 3.2, 2.3], [10.0, 10.3, 10.6])

# One measurement: its exact pair, chi-square 0, no standard deviations.
single = json.loads(run("1.8 5 10\n", "--json").stdout)
x, e = single["model"]["base_conductivity_s_per_m"], single["model"]["base_permittivity"]
eps, sig = model(x, e, 1.8)
close(float(eps), 5.0, 1e-14, "one measurement: permittivity reproduced")
close(float(sig), 10.0, 1e-14, "one measurement: conductivity reproduced")
check(single["chi_square"] == 0 and single["degrees_of_freedom"] == 0, "one measurement: chi2 0")
check(single["model"]["base_conductivity_sd"] is None and single["model"]["correlation"] is None,
      "one measurement: no sd")
check([w["code"] for w in single["warnings"]] == ["permittivity-below-vacuum"],
      "one measurement: below vacuum")

# Measurements of no model at all (values drawn apart from the frequency),
# where chi-square may have several minima or none inside: gndfit's fit is
# never worse than SciPy's best of its starts, and where gndfit finds no
# minimum inside, SciPy's best comes no lower than the lower edge limit.
np.seterr(all="ignore")
for trial in range(60):
    n = int(rng.integers(2, 8))
    f = np.sort(10 ** rng.uniform(-0.5, 2, n))
    er, s = 10 ** rng.uniform(-1, 2.5, n), 10 ** rng.uniform(-2, 3, n)
    weighted = trial % 2 == 0
    ue = er * rng.uniform(0.01, 0.3, n) if weighted else np.ones(n)
    us = s * rng.uniform(0.01, 0.3, n) if weighted else np.ones(n)
    text = "".join(" ".join(repr(float(v)) for v in [f[i], er[i], s[i]] +
                            ([ue[i], us[i]] if weighted else [])) + "\n" for i in range(n))
    result = run(text, "--json")
    x, e, cost = reference_fit(f, er, s, ue, us)
    name = f"random #{trial}"
    if result.returncode == 0:
        out = json.loads(result.stdout)
        check(out["chi_square"] <= cost * (1 + 1e-9), f"{name}: chi-square {out['chi_square']} above SciPy's {cost}")
    else:
        we, ws = 1 / ue ** 2, 1 / us ** 2
        at_x0 = np.sum(((er - np.sum(er * we) / np.sum(we)) / ue) ** 2) + np.sum((s / us) ** 2)
        at_e0 = np.sum((er / ue) ** 2) + np.sum(((s - np.sum(s * ws) / np.sum(ws)) / us) ** 2)
        check(result.returncode == 1 and b"no best fit" in result.stderr, f"{name}: {result.stderr!r}")
        check(cost >= min(at_x0, at_e0) * (1 - 1e-9), f"{name}: SciPy's {cost} inside, below the edges")
    cases += 1

# Measurements whose best model lies on an edge: the permittivity rising
# with frequency and next to no conductivity (best at x -> 0), or next to
# no permittivity and the conductivity falling (best at e -> 0), which the
# model never does.  gndfit says so; SciPy's best runs towards that edge
# and comes no lower than the edge's own limit.
for name, er, s, message in (
        ("x -> 0", [5.0, 10.0, 20.0], [1e-9, 1e-9, 1e-9], b"positive base conductivity"),
        ("e -> 0", [1e-9, 1e-9, 1e-9], [10.0, 9.0, 5.0], b"positive base permittivity")):
    text = "".join(f"{fm!r} {a!r} {b!r}\n" for fm, a, b in zip([1.8, 7.0, 28.0], er, s))
    edge = run(text, "--json")
    check(edge.returncode == 1 and edge.stdout == b"" and message in edge.stderr,
          f"edge {name}: status {edge.returncode}, {edge.stderr!r}")
    er, s = np.array(er), np.array(s)
    x, e, cost = reference_fit(np.array([1.8, 7.0, 28.0]), er, s, np.ones(3), np.ones(3))
    if name == "x -> 0":
        limit = np.sum((er - er.mean()) ** 2) + np.sum(s ** 2)
        check(x < 1e-20, f"edge {name}: SciPy's best at x {x}, e {e}")
    else:
        limit = np.sum(er ** 2) + np.sum((s - s.mean()) ** 2)
        check(e < 1e-20, f"edge {name}: SciPy's best at x {x}, e {e}")
    check(cost >= limit * (1 - 1e-9), f"edge {name}: SciPy's cost {cost} below the edge's {limit}")
    cases += 1


# The report and --csv, column by column, against the reference: a column
# swapped, a sign turned or a value of the wrong quantity shows here.  Each
# printed value must be within one unit of its last digit of the
# reference's.
def reference_rows(x, e, cov, freqs):
    """(MHz, permittivity, its sd, mS/m, its sd, skin depth in m) per frequency."""
    eps, sig = model(x, e, freqs)
    a, b, c, d = model_jacobian(x, e, np.asarray(freqs))
    rows = []
    for i, fr in enumerate(freqs):
        sd = (lambda g: math.sqrt(g @ cov @ g)) if cov is not None else (lambda g: None)
        w = 2 * math.pi * fr * 1e6
        t = sig[i] / 1000 / (w * EPS0 * eps[i])
        mu0 = 1 / (EPS0 * C_LIGHT ** 2)
        depth = 1 / (w * math.sqrt(mu0 * EPS0 * eps[i] / 2 * (math.sqrt(1 + t * t) - 1)))
        rows.append((fr, float(eps[i]), sd(np.array([a[i], b[i]])), float(sig[i]),
                     sd(np.array([c[i], d[i]])), depth))
    return rows


def printed(text, reference, digits, what):
    value = float(text)
    unit = 10.0 ** (math.floor(math.log10(abs(reference))) - digits + 1) if reference else 1e-300
    check(abs(value - reference) <= unit, f"{what}: printed {text}, reference {reference!r}")


def compare_report_and_csv(name, f, er, s, ue=None, us=None):
    global cases
    weighted = ue is not None
    n = len(f)
    text = "".join(" ".join(repr(float(v)) for v in [f[i], er[i], s[i]] +
                            ([ue[i], us[i]] if weighted else [])) + "\n" for i in range(n))
    u_e = np.asarray(ue, float) if weighted else np.ones(n)
    u_s = np.asarray(us, float) if weighted else np.ones(n)
    f, er, s = np.asarray(f, float), np.asarray(er, float), np.asarray(s, float)
    if n == 1:
        # The exact pair by hand: with a = sqrt(x / (pi f eps0 e)) the model
        # is er = e (1 + a) and s = x (1 + 2 / a), x = pi f eps0 e a^2, so
        # (a^2 + 2a) / (1 + a) = q = s / (pi f eps0 er), a quadratic in a.
        q = s[0] / 1000 / (math.pi * f[0] * 1e6 * EPS0 * er[0])
        a = ((q - 2) + math.sqrt((q - 2) ** 2 + 4 * q)) / 2
        e = er[0] / (1 + a)
        x = math.pi * f[0] * 1e6 * EPS0 * e * a * a
        chi_square, cov = 0.0, None
    else:
        x, e, chi_square = reference_fit(f, er, s, u_e, u_s)
        cov = covariance(x, e, f, u_e, u_s) * (1.0 if weighted else chi_square / (2 * n - 2))
    report = run(text)
    check(report.returncode == 0, f"{name}: report status {report.returncode}")
    lines = report.stdout.decode().replace("\r", "").split("\n")
    head = f"Joint fit of {n} measurement{'s' if n > 1 else ''}, " + \
        ("weighted by their uncertainties" if weighted else "unweighted")
    check(lines[0] == head, f"{name}: first line {lines[0]!r}")
    fields = {}
    for line in lines[1:5]:
        words = line.split()
        if line.startswith("  base ") or line.startswith("  correlation") or line.startswith("  chi-square"):
            fields[words[1] if line.startswith("  base ") else words[0]] = words
    printed(fields["conductivity"][2], x, 5, f"{name}: report's base conductivity")
    printed(fields["permittivity"][2], e, 5, f"{name}: report's base permittivity")
    if cov is not None:
        printed(fields["conductivity"][-1], math.sqrt(cov[0, 0]), 2, f"{name}: report's sd of x")
        printed(fields["permittivity"][-1], math.sqrt(cov[1, 1]), 2, f"{name}: report's sd of e")
        printed(fields["correlation"][1], cov[0, 1] / math.sqrt(cov[0, 0] * cov[1, 1]), 3,
                f"{name}: report's correlation")
    else:
        check("+-" not in " ".join(lines[1:3]) and "correlation" not in fields,
              f"{name}: one measurement has no sd and no correlation: {lines[1:4]}")
    if chi_square > 1e-12:
        printed(fields["chi-square"][1], chi_square, 4, f"{name}: report's chi-square")
    check(fields["chi-square"][3] == str(2 * n - 2), f"{name}: degrees of freedom {fields['chi-square']}")
    start = lines.index("Measurements (residual = measured - model):") + 2
    eps_m, sig_m = model(x, e, f)
    for i in range(n):
        w = lines[start + i].split()
        check(w[0] == str(i + 1), f"{name}: measurement {i} on line {w[0]}")
        printed(w[1], f[i], 6, f"{name}: measurement {i} MHz")
        printed(w[2], er[i], 5, f"{name}: measurement {i} permittivity")
        printed(w[3], eps_m[i], 5, f"{name}: measurement {i} model permittivity")
        printed(w[5], s[i], 5, f"{name}: measurement {i} conductivity")
        printed(w[6], sig_m[i], 5, f"{name}: measurement {i} model conductivity")
        if n > 1:
            printed(w[4], er[i] - eps_m[i], 3, f"{name}: measurement {i} permittivity residual")
            printed(w[7], s[i] - sig_m[i], 3, f"{name}: measurement {i} conductivity residual")
    start = lines.index("The model:") + 2
    for i, ref in enumerate(reference_rows(x, e, cov, BANDS)):
        w = lines[start + i].split()
        for k, digits, what in ((0, 6, "MHz"), (1, 5, "permittivity"), (2, 2, "permittivity sd"),
                                (3, 5, "conductivity"), (4, 2, "conductivity sd"), (5, 4, "skin depth")):
            if ref[k] is None:
                check(w[k] == "-", f"{name}: band {BANDS[i]} {what} {w[k]!r}, want -")
            else:
                printed(w[k], ref[k], digits, f"{name}: report's band {BANDS[i]} {what}")
    freqs = [3.6, 7.05, 29.7]
    csv = run(text, "--csv", "--freq", "3.6,7.05,29.7")
    rows = csv.stdout.decode().replace("\r", "").split("\n")
    check(len(rows) == 5 and rows[4] == "", f"{name}: CSV of {len(rows) - 2} rows")
    for i, ref in enumerate(reference_rows(x, e, cov, freqs)):
        w = rows[1 + i].split(",")
        for k, rel, what in ((0, 0, "MHz"), (1, 1e-7, "permittivity"), (2, 1e-6, "permittivity sd"),
                             (3, 1e-7, "conductivity"), (4, 1e-6, "conductivity sd"),
                             (5, 1e-6, "skin depth")):
            if ref[k] is None:
                check(w[k] == "", f"{name}: CSV {freqs[i]} {what} {w[k]!r}, want empty")
            else:
                close(float(w[k]), ref[k], rel, f"{name}: CSV {freqs[i]} {what}")
    cases += 1


sweep_f = [1.8, 3.6, 7.1, 14.2, 21.2]
sweep_er = [47.2, 36.1, 29.7, 24.1, 22.3]
sweep_s = [8.32, 10.1, 11.98, 14.49, 17.05]
compare_report_and_csv("report, weighted", sweep_f, sweep_er, sweep_s, [0.5] * 5, [0.2] * 5)
compare_report_and_csv("report, unweighted", sweep_f, sweep_er, sweep_s)
compare_report_and_csv("report, one measurement", [7.1], [13.0], [5.0])

print(f"joint_scipy: {cases + 2} comparisons, {len(failures)} failed")
sys.exit(1 if failures else 0)
