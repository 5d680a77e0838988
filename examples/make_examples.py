#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the probe sweeps in examples/sweeps/ from the model ground with
the forward model of probe_forward_model.py:  python3 make_examples.py"""
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import probe_forward_model as fm  # noqa: E402

GROUND_X = 0.005  # S/m
GROUND_E = 13.0   # relative
C0 = 5e-12        # F: the short probe's air capacitance
LINE_LENGTH = 0.5  # m
LINE_Z0 = 300.0    # ohms
LONG_LINE_LENGTH = 2.0  # m: past a quarter wavelength in the ground from 6 MHz
# One short probe behind its fixture, swept in air, in distilled water and
# in the ground: leads of 20 nH, a stray capacitance of 3 pF beside C0.
LEAD = 20e-9       # H
STRAY = 3e-12      # F
WATER_E = 78.4     # distilled water at 25 C
WATER_SIGMA = 0.05  # S/m: does not matter to the calibration
FREQUENCIES_MHZ = [1.0 + 0.5 * i for i in range(59)]  # 1 to 30 MHz
NOISE_GAMMA = 0.01  # the noisy sweep's standard deviation of Re and Im of S11: a fair figure for a calibrated low-cost analyser
NOISE_SEED = 20261210


def with_noise(points, r=50.0):
    """The same sweep as an analyser with noise would save it: seeded
    normal noise added to the real and imaginary part of S11 against r."""
    draw = random.Random(NOISE_SEED)
    noisy = []
    for f, y in points:
        gamma = (1 - y * r) / (1 + y * r)
        gamma += complex(draw.gauss(0.0, NOISE_GAMMA), draw.gauss(0.0, NOISE_GAMMA))
        noisy.append((f, (1 - gamma) / ((1 + gamma) * r)))
    return noisy


def sweep(admittance):
    points = []
    for f_mhz in FREQUENCIES_MHZ:
        f = f_mhz * 1e6
        eps = fm.complex_permittivity(f, *fm.model_ground(f, GROUND_X, GROUND_E))
        points.append((f, admittance(f, eps)))
    return points


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sweeps")
    os.makedirs(out, exist_ok=True)
    short = sweep(lambda f, eps: fm.short_probe_admittance(f, eps, C0))
    line = sweep(lambda f, eps: fm.line_probe_admittance(f, eps, LINE_LENGTH, LINE_Z0))
    long_line = sweep(lambda f, eps: fm.line_probe_admittance(f, eps, LONG_LINE_LENGTH, LINE_Z0))
    air = sweep(lambda f, eps: fm.short_probe_admittance(f, 1.0, C0))
    files = {}
    for name, text in fm.all_forms(short).items():
        files["short-" + name] = text
    for name, text in fm.all_forms(line).items():
        files["line-" + name] = text
    files["line-2m-s-ri.s1p"] = fm.touchstone_1(long_line, "MHz", "S", "RI")
    files["short-air.s1p"] = fm.touchstone_1(air, "MHz", "S", "RI")
    files["noisy-short.s1p"] = fm.touchstone_1(with_noise(short), "MHz", "S", "RI")

    def fixture(f, eps):
        return fm.short_probe_fixture_admittance(f, eps, C0, LEAD, STRAY)

    water = fm.complex_permittivity
    files["fixture-air.s1p"] = fm.touchstone_1(sweep(lambda f, eps: fixture(f, 1.0)),
                                               "MHz", "S", "RI")
    files["fixture-water.s1p"] = fm.touchstone_1(
        sweep(lambda f, eps: fixture(f, water(f, WATER_E, WATER_SIGMA))), "MHz", "S", "RI")
    files["fixture-ground.s1p"] = fm.touchstone_1(sweep(fixture), "MHz", "S", "RI")
    for name, text in sorted(files.items()):
        with open(os.path.join(out, name), "w", newline="") as f:
            f.write(text)
    print(f"make_examples.py: {len(files)} files in {out}")


if __name__ == "__main__":
    main()
