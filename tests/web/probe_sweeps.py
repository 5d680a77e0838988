#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Sweep files for the probe view's browser test, made with the probes'
forward model (examples/probe_forward_model.py, written apart from the
program's inverse), and the truth they were made from as truth.json:
  line-left-out.s1p  a 2 m line probe over a model ground, its points
                     from 1 to 4 MHz close together, then from 20 to 30
                     MHz, where the branch cannot be followed any more;
  fixture-*.s1p      a short probe of C0 = 8 pF behind 20 nH of leads and
                     3 pF of stray capacitance, swept in air, in distilled
                     water and in a model ground.
    probe_sweeps.py EXAMPLES_DIR OUT_DIR"""
import json
import os
import sys

sys.path.insert(0, sys.argv[1])
import probe_forward_model as fm  # noqa: E402

OUT = sys.argv[2]
LINE = {"length_m": 2.0, "z0_ohms": 300.0, "x": 0.005, "e": 13.0,
        "mhz": [1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 20.0, 22.0, 24.0, 26.0, 28.0, 30.0]}
FIXTURE = {"c0_pf": 8.0, "l_nh": 20.0, "cs_pf": 3.0, "x": 0.01, "e": 15.0, "water_er": 78.4,
           "water_sigma": 0.05, "mhz": [1.0 + i for i in range(30)]}


def ground(f_hz, x, e):
    eps_r, sigma = fm.model_ground(f_hz, x, e)
    return {"frequency_mhz": f_hz / 1e6, "permittivity": eps_r, "conductivity_ms_per_m": 1e3 * sigma}


def write(name, text):
    with open(os.path.join(OUT, name), "w", newline="") as f:
        f.write(text)


def line_sweep():
    points, truth = [], []
    for mhz in LINE["mhz"]:
        f = mhz * 1e6
        eps = fm.complex_permittivity(f, *fm.model_ground(f, LINE["x"], LINE["e"]))
        points.append((f, fm.line_probe_admittance(f, eps, LINE["length_m"], LINE["z0_ohms"])))
        truth.append(ground(f, LINE["x"], LINE["e"]))
    write("line-left-out.s1p", fm.touchstone_1(points, "MHz", "S", "RI"))
    return {"setting": "line,length=2,z0=300", "points": truth}


def fixture_sweeps():
    c0, lead, stray = FIXTURE["c0_pf"] * 1e-12, FIXTURE["l_nh"] * 1e-9, FIXTURE["cs_pf"] * 1e-12

    def sweep(eps_of):
        return [(m * 1e6, fm.short_probe_fixture_admittance(m * 1e6, eps_of(m * 1e6), c0, lead, stray))
                for m in FIXTURE["mhz"]]

    def water(f):
        return fm.complex_permittivity(f, FIXTURE["water_er"], FIXTURE["water_sigma"])

    def soil(f):
        return fm.complex_permittivity(f, *fm.model_ground(f, FIXTURE["x"], FIXTURE["e"]))

    write("fixture-air.s1p", fm.touchstone_1(sweep(lambda f: 1.0), "MHz", "S", "RI"))
    write("fixture-water.s1p", fm.touchstone_1(sweep(water), "MHz", "S", "RI"))
    write("fixture-ground.s1p", fm.touchstone_1(sweep(soil), "MHz", "S", "RI"))
    truth = [ground(m * 1e6, FIXTURE["x"], FIXTURE["e"]) for m in FIXTURE["mhz"]]
    return {"c0_pf": FIXTURE["c0_pf"], "l_nh": FIXTURE["l_nh"], "cs_pf": FIXTURE["cs_pf"],
            "water_er": FIXTURE["water_er"], "points": truth}


os.makedirs(OUT, exist_ok=True)
with open(os.path.join(OUT, "truth.json"), "w") as f:
    json.dump({"line": line_sweep(), "fixture": fixture_sweeps()}, f, indent=1)
