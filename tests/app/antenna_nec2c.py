#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""gndfit --antenna against nec2c run here, apart from the program.

1. For each example deck and a single measurement, this script writes its
   own deck for each frequency with the ground gndfit reports there, runs
   nec2c on it and reads nec2c's printed output with its own reader: the
   feed impedance, the peak gain and its direction, the best gain at each
   elevation and the hemisphere share must be the printed values exactly.
2. With a joint fit, the standard deviations gndfit propagates are checked
   against a Monte Carlo of the ground: grounds drawn from the normal
   distribution of its permittivity and conductivity at one frequency
   (gndfit's values, standard deviations and correlation), nec2c run on
   each, the spread of each result taken; they must agree to a tenth.
3. Refusals: a deck below the ground, a failing nec2c run, nec2c missing
   from the PATH, and the usage errors of --antenna and --elevation.

  antenna_nec2c.py EXAMPLES_DIR [EMULATOR...] PROGRAM
Exit status 77 (skipped) where nec2c or numpy is not installed.
"""
import concurrent.futures
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

try:
    import numpy as np
except ImportError:
    print("antenna_nec2c: SKIPPED, python3-numpy is not installed")
    sys.exit(77)
NEC2C = shutil.which("nec2c")
if NEC2C is None:
    print("antenna_nec2c: SKIPPED, nec2c is not installed (scripts/install-deps.sh installs it)")
    sys.exit(77)

EXAMPLES = sys.argv[1]
# The program (or its emulator) by its full name: one check runs it with a
# PATH that holds no nec2c, and no emulator either.
PROGRAM = [shutil.which(sys.argv[2]) or sys.argv[2]] + sys.argv[3:]
DECKS = [os.path.join(EXAMPLES, "antennas", name) for name in ("dipole-40m.nec", "vertical-40m.nec")]
ELEVATIONS = [5, 10, 20, 30]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def gndfit(args, text, env=None):
    return subprocess.run(PROGRAM + args, input=text.encode(), capture_output=True, env=env)


def own_deck(deck_path, permittivity_text, conductivity_s_text, mhz_text):
    """The run's deck, written here from the user's deck."""
    lines = []
    with open(deck_path) as f:
        for line in f.read().splitlines():
            if not line.strip():
                continue
            card = line[:2].upper()
            if card == "GE":
                lines.append("GE 1")
            elif card in ("GN", "FR", "RP", "XQ", "EN"):
                continue
            else:
                lines.append(line)
    lines += ["GN 2 0 0 0 %s %s" % (permittivity_text, conductivity_s_text),
              "FR 0 1 0 0 %s 0" % mhz_text, "RP 0 91 73 1001 0 0 1 5", "EN"]
    return "\n".join(lines) + "\n"


def run_nec2c(deck_text, folder, name):
    deck = os.path.join(folder, name + ".nec")
    out = os.path.join(folder, name + ".out")
    with open(deck, "w") as f:
        f.write(deck_text)
    subprocess.run([NEC2C, "-i" + deck, "-o" + out], check=True, capture_output=True)
    with open(out) as f:
        return f.read()


NUMBER = r"[-+]?\d+\.\d+(?:E[-+]\d+)?"


def read_nec2c(text):
    """The printed values, read with regular expressions."""
    feed = re.search(r"ANTENNA INPUT PARAMETERS.*?\n.*?\n.*?\n(.*?)\n", text, re.S).group(1).split()
    r, x, power = float(feed[6]), float(feed[7]), float(feed[10])
    block = text[text.index("RADIATION PATTERNS"):text.index("AVERAGE POWER GAIN")]
    rows = []
    for line in block.splitlines():
        m = re.match(r"\s+(%s)\s+(%s)\s+%s\s+%s\s+(%s)\s" % ((NUMBER,) * 5), line)
        if m:
            fields = line.split()
            e2 = float(fields[-4]) ** 2 + float(fields[-2]) ** 2
            rows.append((float(m.group(1)), float(m.group(2)), float(m.group(3)), e2))
    average = float(re.search(r"AVERAGE POWER GAIN:\s+(%s)" % NUMBER, text).group(1))
    return {"r": r, "x": x, "power": power, "rows": rows, "average": average}


def best(rows, keep):
    """The first row, in nec2c's order, within 0.005 dB of the largest."""
    chosen = [row for row in rows if keep(row)]
    top = max(row[2] for row in chosen)
    return next(row for row in chosen if row[2] >= top - 0.005)


def shortest(value):
    return repr(float(value))


def exact_runs(folder):
    """Part 1: the single fit's ground, each frequency's run by hand."""
    for deck in DECKS:
        done = gndfit(["--antenna", deck, "--freq", "1.8,7.1,14.2,28.5", "--json"], "7.1 13 5\n")
        check(done.returncode == 0, "%s: status %d: %s" % (deck, done.returncode, done.stderr))
        if done.returncode != 0:
            continue
        for band in json.loads(done.stdout)["frequencies"]:
            g = band["ground"]
            text = run_nec2c(own_deck(deck, shortest(g["permittivity"]),
                                      shortest(g["conductivity_ms_per_m"] / 1000.0),
                                      shortest(band["frequency_mhz"])), folder, "exact")
            nec = read_nec2c(text)
            where = "%s at %s MHz" % (os.path.basename(deck), band["frequency_mhz"])
            check(band["feed_r_ohms"] == nec["r"] and band["feed_x_ohms"] == nec["x"],
                  "%s: feed %s %s, nec2c %s %s" % (where, band["feed_r_ohms"], band["feed_x_ohms"],
                                                   nec["r"], nec["x"]))
            peak = best(nec["rows"], lambda row: True)
            check((band["peak_gain_dbi"], band["peak_elevation_deg"], band["peak_azimuth_deg"]) ==
                  (peak[2], 90 - peak[0], peak[1]), "%s: peak %s, nec2c %s" % (where, band, peak))
            for gain in band["gains"]:
                row = best(nec["rows"], lambda row: row[0] == 90 - gain["elevation_deg"])
                check((gain["gain_dbi"], gain["azimuth_deg"]) == (row[2], row[1]),
                      "%s: at %s deg %s, nec2c %s" % (where, gain["elevation_deg"], gain, row))
            check(band["hemisphere_efficiency"] == nec["average"] / 2,
                  "%s: share %s, nec2c's average %s" % (where, band["hemisphere_efficiency"],
                                                        nec["average"]))
            check(band["feed_r_ohms_sd"] is None and band["ground"]["permittivity_sd"] is None,
                  "%s: a single measurement has no standard deviation" % where)


def monte_carlo(folder):
    """Part 2: linear propagation against the spread of nec2c's results."""
    deck = DECKS[1]  # the vertical: the ground matters most to it
    lines = "".join("%s %s %s %s %s\n" % m for m in [
        (1.8, 24, 3.1, 1.2, 0.3), (3.6, 19, 3.9, 1.0, 0.3), (7.1, 15.5, 4.6, 0.8, 0.3),
        (14.2, 12.8, 5.8, 0.7, 0.4), (21.2, 11.9, 6.4, 0.7, 0.5), (28.5, 11.2, 7.1, 0.6, 0.5)])
    done = gndfit(["--joint", "--antenna", deck, "--freq", "7.1", "--elevation", "10,30",
                   "--json"], lines)
    check(done.returncode == 0, "joint: status %d: %s" % (done.returncode, done.stderr))
    if done.returncode != 0:
        return
    band = json.loads(done.stdout)["frequencies"][0]
    g = band["ground"]
    sd_e, sd_s, rho = g["permittivity_sd"], g["conductivity_sd_ms_per_m"], g["correlation"]
    covariance = [[sd_e ** 2, rho * sd_e * sd_s], [rho * sd_e * sd_s, sd_s ** 2]]
    draws = np.random.default_rng(20261210).multivariate_normal(
        [g["permittivity"], g["conductivity_ms_per_m"]], covariance, size=400)

    def run(i):
        e, s = draws[i]
        nec = read_nec2c(run_nec2c(own_deck(deck, shortest(e), shortest(s / 1000.0), "7.1"),
                                   folder, "draw-%d" % i))
        gain = {}
        for gains in band["gains"]:
            theta, phi = 90 - gains["elevation_deg"], gains["azimuth_deg"]
            row = next(row for row in nec["rows"] if row[0] == theta and row[1] == phi)
            # The fields' gain, for the digits the printed dB lacks.
            eta0 = 1 / (8.8541878128e-12 * 299792458.0)
            gain[gains["elevation_deg"]] = 10 * math.log10(2 * math.pi * row[3] / (eta0 * nec["power"]))
        return nec["r"], nec["x"], nec["average"] / 2, gain

    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
        results = list(pool.map(run, range(len(draws))))
    spreads = {
        "feed_r_ohms": np.std([r[0] for r in results], ddof=1),
        "feed_x_ohms": np.std([r[1] for r in results], ddof=1),
        "hemisphere_efficiency": np.std([r[2] for r in results], ddof=1),
    }
    for name, spread in spreads.items():
        ratio = band[name + "_sd"] / spread
        print("antenna_nec2c: %s: sd %.4g, Monte Carlo %.4g (ratio %.3f)" %
              (name, band[name + "_sd"], spread, ratio))
        check(abs(ratio - 1) < 0.1, "%s: propagated sd %s against Monte Carlo %s" %
              (name, band[name + "_sd"], spread))
    for gains in band["gains"]:
        spread = np.std([r[3][gains["elevation_deg"]] for r in results], ddof=1)
        ratio = gains["gain_dbi_sd"] / spread
        print("antenna_nec2c: gain at %s deg: sd %.4g, Monte Carlo %.4g (ratio %.3f)" %
              (gains["elevation_deg"], gains["gain_dbi_sd"], spread, ratio))
        check(abs(ratio - 1) < 0.1, "gain at %s deg: propagated sd %s against Monte Carlo %s" %
              (gains["elevation_deg"], gains["gain_dbi_sd"], spread))


def refusals(folder):
    """Part 3."""
    below = os.path.join(folder, "below.nec")
    with open(below, "w") as f:
        f.write("CM sloping wire\nCE\nGW 1 9 0 0 5 0 9 -0.5 0.001\nGE 0\nEX 0 1 1 0 1\nEN\n")
    done = gndfit(["--antenna", below], "7.1 13 5\n")
    check(done.returncode == 1 and done.stdout == b"" and
          done.stderr.decode().startswith("gndfit: %s:line 3: the wire's end at z = -0.5 m" % below),
          "wire below ground: %d %r" % (done.returncode, done.stderr))
    wrong_tag = os.path.join(folder, "wrong-tag.nec")
    with open(wrong_tag, "w") as f:
        f.write("CE\nGW 1 9 0 -10 10 0 10 10 0.001\nGE 0\nEX 0 2 5 0 1\nEN\n")
    done = gndfit(["--antenna", wrong_tag, "--freq", "7.1,14.2"], "7.1 13 5\n")
    check(done.returncode == 1 and done.stdout == b"" and
          done.stderr == b"gndfit: at 7.1 MHz: nec2c: NO SEGMENT HAS AN ITAG OF 2\n",
          "failing nec2c run: %d %r" % (done.returncode, done.stderr))
    env = dict(os.environ, PATH=folder)
    done = gndfit(["--antenna", DECKS[0]], "7.1 13 5\n", env)
    check(done.returncode == 1 and done.stdout == b"" and b"needs nec2c" in done.stderr,
          "nec2c missing: %d %r" % (done.returncode, done.stderr))
    for args, message in [
        (["--antenna", DECKS[0], "--elevation", "0"], "invalid elevation list '0'"),
        (["--antenna", DECKS[0], "--elevation", "5,12.5"], "invalid elevation list '5,12.5'"),
        (["--elevation", "10"], "option '--elevation' needs '--antenna'"),
        (["--antenna", DECKS[0], "--nec", "7.1"], "'--nec' does not go with it"),
    ]:
        done = gndfit(args, "7.1 13 5\n")
        check(done.returncode == 2 and message.encode() in done.stderr,
              "%s: %d %r" % (args, done.returncode, done.stderr))
    done = gndfit(["--antenna", DECKS[0]], "7.1 13 5\n3.6 15 4\n")
    check(done.returncode == 1 and b"line 2: --antenna without --joint takes one measurement"
          in done.stderr, "two measurements: %d %r" % (done.returncode, done.stderr))


with tempfile.TemporaryDirectory() as folder:
    exact_runs(folder)
    refusals(folder)
    monte_carlo(folder)
if failures:
    print("antenna_nec2c: %d FAILED" % len(failures))
    sys.exit(1)
print("antenna_nec2c: every check passed")
