#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""gndfit --joint --model against SciPy's least_squares on seeded sweeps.

Sweeps are made from the three ground models' closed forms (written here
from their published formulas, apart from the program), at random
parameters, with 1 to 3 % seeded noise and standard uncertainties; each
model is fitted by gndfit (--model NAME --json) and by
scipy.optimize.least_squares with the same bounds (method 'trf', from a
grid of starts including the other models' solutions, tight tolerances,
the best kept).  Where the minimum is well determined (inside its bounds,
every parameter's sd below 30 % of its value) every parameter must agree to
1e-6 relative; chi-square everywhere to 1e-8 (gndfit's may never be the
higher by more); the sds from the reference's own analytic Jacobian to
1e-4.  --model compare's AICc, Akaike weights and choice are recomputed
from the reference chi-squares.

  model_compare_scipy.py [EMULATOR...] PROGRAM
Exit status 77 (skipped) where SciPy is not installed.
"""
import json
import math
import subprocess
import sys

try:
    import numpy as np
    from scipy.optimize import least_squares
except ImportError:
    print("model_compare_scipy: SKIPPED, python3-scipy is not installed")
    sys.exit(77)

PROGRAM = sys.argv[1:]
EPS0 = 8.8541878128e-12
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def close(a, b, rel, what):
    ok = a is not None and b is not None and abs(a - b) <= rel * max(abs(a), abs(b))
    check(ok, f"{what}: gndfit {a!r}, reference {b!r}")


# The complex conductivity of each model in mS/m, s* = sigma + j omega eps0 eps_r
# (in mS/m), from which sigma = Re s* and eps_r = Im s* / (omega eps0).
def power_law(p, f_mhz):
    s0, a, g, e_inf = p
    f = f_mhz * 1e6
    omega_eps0_ms = 2 * math.pi * f * EPS0 * 1000.0
    dispersive = a * (f / 1e6) ** g * (1 + 1j * math.tan(math.pi * g / 2))
    s = s0 + dispersive + 1j * omega_eps0_ms * e_inf
    return s.imag / omega_eps0_ms, s.real


def messier(p, f_mhz):
    x, e = p  # S/m, relative
    f = f_mhz * 1e6
    omega = 2 * math.pi * f
    root = np.sqrt(x + 0j) + np.sqrt(1j * omega * EPS0 * e)
    s = root * root * 1000.0
    return s.imag / (omega * EPS0 * 1000.0), s.real


def alipio_visacro(p, f_mhz):
    s0 = p[0]
    h = 1.26 * s0 ** -0.73
    return power_law((s0, s0 * h, 0.54, 12.0), f_mhz)


MODELS = {"messier": messier, "alipio-visacro": alipio_visacro, "power-law": power_law}
BOUNDS = {"messier": ([0, 0], [np.inf, np.inf]),
          "alipio-visacro": ([1e-6], [1e6]),
          "power-law": ([0, 0, 0.01, 0], [np.inf, np.inf, 0.99, np.inf])}


def residuals(p, name, f, er, s, ue, us):
    eps, sig = MODELS[name](p, f)
    return np.concatenate([(eps - er) / ue, (sig - s) / us])


def jacobian(name, p, f, ue, us):
    """Central differences of the closed form, step relative to each parameter."""
    cols = []
    for i in range(len(p)):
        h = 1e-6 * max(abs(p[i]), 1e-3)
        up = list(p)
        down = list(p)
        up[i] += h
        down[i] -= h
        e1, s1 = MODELS[name](up, f)
        e2, s2 = MODELS[name](down, f)
        cols.append(np.concatenate([(e1 - e2) / (2 * h) / ue, (s1 - s2) / (2 * h) / us]))
    return np.stack(cols, axis=1)


def starts(name, others):
    if name == "messier":
        return [[x, e] for x in (1e-4, 1e-3, 1e-2, 1e-1) for e in (2.0, 10.0, 50.0)]
    if name == "alipio-visacro":
        return [[10.0 ** k] for k in np.arange(-4, 5, 0.5)]
    grid = [[s0, a, g, e] for s0 in (0.5, 5.0, 50.0) for a in (0.5, 5.0, 50.0)
            for g in (0.2, 0.5, 0.8) for e in (3.0, 15.0)]
    return grid + others


def reference(name, f, er, s, ue, us, others):
    lower, upper = BOUNDS[name]
    best = None
    for p0 in starts(name, others):
        p0 = np.clip(np.asarray(p0, dtype=float), np.asarray(lower) + 1e-9,
                     np.asarray(upper) - 1e-9)
        try:
            r = least_squares(residuals, p0, args=(name, f, er, s, ue, us), bounds=(lower, upper),
                              method="trf", x_scale="jac", xtol=1e-15, ftol=1e-15, gtol=1e-15,
                              max_nfev=5000)
        except (OverflowError, ValueError):
            continue
        if best is None or r.cost < best.cost:
            best = r
    chi = float(np.sum(residuals(best.x, name, f, er, s, ue, us) ** 2))
    return best.x, chi


def power_law_of(name, p):
    """Each model's solution as a power law's start."""
    if name == "messier":
        x, e = p
        return [1000 * x, 1000 * math.sqrt(4 * math.pi * 1e6 * EPS0 * e * x), 0.5, e]
    return [p[0], 1.26 * p[0] ** 0.27, 0.54, 12.0]


def run(text, *options):
    return subprocess.run(PROGRAM + ["--joint", *options], input=text.encode(), capture_output=True)


def sweep(rng, truth_name, truth, n, noise):
    f = np.sort(rng.uniform(1.0, 30.0, n))
    eps, sig = MODELS[truth_name](truth, f)
    ue, us = noise * eps, noise * sig
    er = eps + ue * rng.standard_normal(n)
    s = sig + us * rng.standard_normal(n)
    return f, er, s, ue, us


def text_of(f, er, s, ue, us):
    return "".join(" ".join(repr(float(v)) for v in row) + "\n" for row in zip(f, er, s, ue, us))


def check_case(label, f, er, s, ue, us):
    text = text_of(f, er, s, ue, us)
    refs = {}
    others = []
    for name in ("messier", "alipio-visacro", "power-law"):
        out = run(text, "--model", name, "--json")
        check(out.returncode == 0, f"{label} {name}: status {out.returncode} {out.stderr!r}")
        if out.returncode != 0:
            continue
        got = json.loads(out.stdout)
        check(got["model_name"] == name, f"{label} {name}: model_name {got['model_name']}")
        p, chi = reference(name, f, er, s, ue, us, others)
        if name != "power-law":
            others.append(power_law_of(name, p))
        refs[name] = chi
        # gndfit's minimum is the global one: never above the reference's.
        check(got["chi_square"] <= chi * (1 + 1e-8),
              f"{label} {name}: chi-square {got['chi_square']!r} above the reference {chi!r}")
        close(got["chi_square"], chi, 1e-8, f"{label} {name}: chi-square")
        model = got["model"]
        keys = [k for k in model if not k.endswith("_sd") and k not in ("correlation", "covariance")]
        values = [model[k] for k in keys]
        lower, upper = BOUNDS[name]
        inside = all(lower[i] * (1 + 1e-6) + 1e-9 < values[i] < upper[i] * (1 - 1e-6)
                     for i in range(len(values)))
        if not inside:
            print(f"{label} {name}: at a bound, {model}")
            continue
        j = jacobian(name, p, f, ue, us)
        cov = np.linalg.inv(j.T @ j)
        sds = np.sqrt(np.diag(cov))
        well = all(sds[i] < 0.3 * abs(p[i]) for i in range(len(p)))
        if well:
            for i, k in enumerate(keys):
                close(values[i], p[i], 1e-6, f"{label} {name}: {k}")
        for i, k in enumerate(keys):
            sd_key = [kk for kk in model if kk.endswith("_sd")][i]
            close(model[sd_key], sds[i], 1e-4, f"{label} {name}: {sd_key}")
    out = run(text, "--model", "compare", "--json")
    check(out.returncode == 0, f"{label} compare: status {out.returncode}")
    if out.returncode != 0 or len(refs) < 3:
        return
    got = json.loads(out.stdout)
    n = 2 * len(f)
    aicc = {}
    for name, chi in refs.items():
        k = {"messier": 2, "alipio-visacro": 1, "power-law": 4}[name]
        aicc[name] = chi + 2 * k + 2 * k * (k + 1) / (n - k - 1)
    lowest = min(aicc.values())
    total = sum(math.exp(-(a - lowest) / 2) for a in aicc.values())
    by_name = {m["model_name"]: m for m in got["models"]}
    for name, a in aicc.items():
        close(by_name[name]["aicc"], a, 1e-8, f"{label} compare: AICc of {name}")
        weight = math.exp(-(a - lowest) / 2) / total
        check(abs(by_name[name]["akaike_weight"] - weight) <= 1e-8 * max(weight, 1e-300) + 1e-12,
              f"{label} compare: weight of {name} {by_name[name]['akaike_weight']} vs {weight}")
    chosen = min(aicc, key=aicc.get)
    # A difference of the order of the tolerances could go either way.
    ordered = sorted(aicc.values())
    if ordered[1] - ordered[0] > 1e-6:
        check(got["chosen"] == chosen, f"{label} compare: chose {got['chosen']}, reference {chosen}")
    check(got["model_name"] == got["chosen"], f"{label} compare: the outputs follow the chosen model")
    check(got["chi_square"] == by_name[got["chosen"]]["chi_square"],
          f"{label} compare: the top-level chi-square is the chosen model's")


def main():
    rng = np.random.default_rng(20261210)
    cases = 0
    for truth_name in ("messier", "alipio-visacro", "power-law"):
        for _ in range(4):
            if truth_name == "messier":
                truth = [10 ** rng.uniform(-3.5, -1.5), rng.uniform(4, 40)]
            elif truth_name == "alipio-visacro":
                truth = [10 ** rng.uniform(-0.5, 2)]
            else:
                truth = [10 ** rng.uniform(-0.5, 1.5), 10 ** rng.uniform(-0.5, 1.5),
                         rng.uniform(0.3, 0.8), rng.uniform(4, 30)]
            n = int(rng.integers(8, 40))
            noise = rng.uniform(0.01, 0.03)
            f, er, s, ue, us = sweep(rng, truth_name, truth, n, noise)
            check_case(f"{truth_name} {truth} n={n}", f, er, s, ue, us)
            cases += 1
    if failures:
        print(f"model_compare_scipy: {len(failures)} failures in {cases} sweeps")
        sys.exit(1)
    print(f"model_compare_scipy: {cases} sweeps, 3 models each, agree with SciPy")


main()
