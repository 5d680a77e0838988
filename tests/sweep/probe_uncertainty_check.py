#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""--probe's u_gamma against the separate forward model
(examples/probe_forward_model.py): at one point of a short probe behind a
20 nH, 3 pF fixture and of a 0.5 m line probe, the standard uncertainties
the program gives for u_gamma = 0.01 against finite differences of the
program's own conversion (to 1e-4) and against the spread of 10,000
conversions of reflection coefficients drawn with that uncertainty (to 3 %,
the sample's own spread being 0.7 %); and u_sigma = omega eps0 u_eps_r.
    probe_uncertainty_check.py EXAMPLES_DIR [EMULATOR...] PROGRAM"""
import math
import os
import random
import statistics
import sys
import tempfile

sys.path.insert(0, sys.argv[1])
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import probe_forward_model as fm  # noqa: E402
import program_run  # noqa: E402
from program_run import run_program  # noqa: E402

PROGRAM = [os.path.abspath(a) if os.path.exists(a) else a for a in sys.argv[2:]]
U = 0.01
R = 50.0
F_MHZ = 10.0
failures = []


def convert(work, setting, gammas, name):
    """The program's rows for reflection coefficients at F_MHZ (the i-th
    a hair above the one before, as frequencies must increase)."""
    lines = ["# MHz S RI R 50"]
    for i, g in enumerate(gammas):
        lines.append(f"{F_MHZ * (1 + i * 1e-10)!r} {g.real!r} {g.imag!r}")
    with open(os.path.join(work, name), "w") as out:
        out.write("\n".join(lines) + "\n")
    result = run_program(PROGRAM + ["--probe", setting, name], text=True, cwd=work)
    if result.returncode != 0:
        failures.append(f"{setting}: status {result.returncode}: {result.stderr.strip()}")
        return []
    return [tuple(float(v) for v in row.split(","))
            for row in result.stdout.replace("\r", "").splitlines()[1:]]


def check(work, label, setting, admittance):
    f = F_MHZ * 1e6
    eps = fm.complex_permittivity(f, *fm.model_ground(f, 0.005, 13.0))
    y = admittance(f, eps)
    gamma = (1 - R * y) / (1 + R * y)
    rows = convert(work, f"{setting},u_gamma={U}", [gamma], f"{label}.s1p")
    if len(rows) != 1 or len(rows[0]) != 5:
        failures.append(f"{label}: rows {rows}")
        return
    _, eps_r, sigma, u_eps, u_sigma = rows[0]
    omega_eps0 = 2 * math.pi * f * fm.EPS0 * 1e3
    if abs(u_sigma - omega_eps0 * u_eps) > 1e-12 * u_sigma:
        failures.append(f"{label}: u_sigma {u_sigma}, omega eps0 u_eps_r {omega_eps0 * u_eps}")
    # Finite differences of the program's conversion in Re and Im of Gamma.
    h = 1e-6
    steps = [gamma + h, gamma - h, gamma + 1j * h, gamma - 1j * h]
    values = [convert(work, setting, [g], f"{label}-fd{i}.s1p") for i, g in enumerate(steps)]
    if any(len(v) != 1 for v in values):
        failures.append(f"{label}: finite differences gave {values}")
        return
    (er1, s1), (er2, s2), (er3, s3), (er4, s4) = [(v[0][1], v[0][2]) for v in values]
    fd_eps = U * math.hypot((er1 - er2) / (2 * h), (er3 - er4) / (2 * h))
    fd_sigma = U * math.hypot((s1 - s2) / (2 * h), (s3 - s4) / (2 * h))
    for what, got, want in (("u_eps_r", u_eps, fd_eps), ("u_sigma", u_sigma, fd_sigma)):
        if abs(got - want) > 1e-4 * want:
            failures.append(f"{label}: {what} {got}, finite differences {want}")
    # Monte Carlo: 10,000 reflection coefficients drawn about the true one.
    rng = random.Random(label)
    draws = [gamma + complex(rng.gauss(0, U), rng.gauss(0, U)) for _ in range(10000)]
    rows = convert(work, setting, draws, f"{label}-mc.s1p")
    if len(rows) < 9900:
        failures.append(f"{label}: Monte Carlo kept {len(rows)} of 10000 points")
        return
    mc_eps = statistics.stdev(r[1] for r in rows)
    mc_sigma = statistics.stdev(r[2] for r in rows)
    correlation = statistics.correlation([r[1] for r in rows], [r[2] for r in rows])
    for what, got, want in (("u_eps_r", u_eps, mc_eps), ("u_sigma", u_sigma, mc_sigma)):
        if abs(got - want) > 0.03 * want:
            failures.append(f"{label}: {what} {got}, Monte Carlo {want}")
    if abs(correlation) > 0.05:
        failures.append(f"{label}: Monte Carlo correlation {correlation}, want about 0")
    print(f"{label}: u_eps_r {u_eps:.5g} (finite differences {fd_eps:.5g}, Monte Carlo "
          f"{mc_eps:.5g}); u_sigma {u_sigma:.5g} mS/m ({fd_sigma:.5g}, {mc_sigma:.5g}); "
          f"correlation {correlation:.3f}")


def main():
    with tempfile.TemporaryDirectory() as work:
        check(work, "short", "short,c0=5,l=20,cs=3",
              lambda f, eps: fm.short_probe_fixture_admittance(f, eps, 5e-12, 20e-9, 3e-12))
        check(work, "line", "line,length=0.5,z0=300",
              lambda f, eps: fm.line_probe_admittance(f, eps, 0.5, 300.0))
    for failure in failures:
        print("FAILED:", failure)
    print(f"probe_uncertainty_check: {len(failures)} failures; "
          f"{program_run.silent_failures_retried} silent start failures retried")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
