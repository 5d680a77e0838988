#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the probe sweeps in examples/sweeps/ from the model ground with
the forward model of probe_forward_model.py, and the wet clay's spot
measurements in examples/wet-clay.txt:  python3 make_examples.py"""
import math
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


# A wet clay that follows the soil model of Alipio and Visacro (CIGRE TB
# 781): its low-frequency conductivity, and the relative uncertainty of
# each value of its spot measurements.
CLAY_S0 = 50.0  # mS/m
CLAY_U = 0.02


def alipio_visacro(f_mhz, s0):
    """(relative permittivity, mS/m) of the Alipio-Visacro soil at f MHz."""
    h = 1.26 * s0 ** -0.73
    g = 0.54
    dispersive = s0 * h * f_mhz ** g
    eps0 = 8.8541878128e-12
    quadrature = math.tan(math.pi * g / 2) * 1e-3 * dispersive / (2 * math.pi * f_mhz * 1e6 * eps0)
    return 12.0 + quadrature, s0 + dispersive


def clay_measurements():
    """Spot measurements of the wet clay every 2 MHz from 2 to 30 MHz with
    seeded 2 % noise, as `f er s u_er u_s` lines."""
    draw = random.Random(NOISE_SEED)
    lines = ["# wet clay, f MHz, er, mS/m, u_er, u_s (2 %)"]
    for f in range(2, 31, 2):
        er, s = alipio_visacro(f, CLAY_S0)
        er_measured = er * (1 + draw.gauss(0.0, CLAY_U))
        s_measured = s * (1 + draw.gauss(0.0, CLAY_U))
        lines.append(f"{f} {er_measured:.4g} {s_measured:.4g} {CLAY_U * er:.2g} {CLAY_U * s:.2g}")
    return "\n".join(lines) + "\n"


def main():
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "wet-clay.txt"), "w") as f:
        f.write(clay_measurements())
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
