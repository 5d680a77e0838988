#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""An independent reference of the ground model, the skin depth and the
simplex fit, for exact expected values in the model's tests.

Written from the description of the arithmetic alone, not from the C++
model: every intermediate is carried in numpy.longdouble, which is the x87
80-bit extended format on x86 Linux, and every value is rounded to single
or double exactly where the program stores it.  A single or double is
widened to longdouble before any arithmetic with it, so that a product of a
single and a double is formed in extended precision too.

  reference_fit.py tables
      prints the worked examples' exact values as C++ hex-float literals
  reference_fit.py compare TRACE_TOOL INPUT COUNT
      fits the first COUNT measurements of a batch input file one after
      another (the simplex indexes carry from fit to fit) and compares every
      counter, index, point bit and band value with what TRACE_TOOL prints
      for the same measurements; exit status 0 when all agree, 1 when not,
      77 (skipped) where longdouble is not the x87 format
"""

import re
import subprocess
import sys

import numpy as np

L = np.longdouble
np.seterr(all="ignore")  # NaN and infinities propagate, nothing traps

# The model's constants, each the double written here.
PI = 3.14159265358979
TWO_PI = 6.28318530717958
FOUR_PI = 12.56637061435916
EPS0 = 8.854187812800387e-12
INV_EPS0 = 112940906737.29698
HALF_MU0_EPS0 = 5.563250280268093e-18
FEET_PER_METRE = 3.2808398950131235
MS_TO_S = 0.001
S_TO_MS = 1000.0
MHZ_TO_HZ = 1000000.0
START_CONDUCTIVITY_FACTOR = 0.0002
START_PERMITTIVITY_FACTOR = 4.427093906400193e-12
BANDS_MHZ = ["1.8", "3.7", "5.3", "7.1", "10.1", "14.2", "18.1", "21.2", "24.9", "28.5"]


def is_x87_longdouble():
    info = np.finfo(L)
    return info.nmant == 63 and info.nexp == 15


def ext(v):
    """A single, double or Python float widened exactly to extended."""
    return L(v)


def to_double(v):
    """An extended value rounded once to double."""
    return np.array([v], dtype=L).astype(np.float64)[0]


def to_single(v):
    """An extended value rounded once to single (not through double)."""
    return np.array([v], dtype=L).astype(np.float32)[0]


def single_of_double(d):
    return np.array([d], dtype=np.float64).astype(np.float32)[0]


def square(d):
    """pow(d, 2.0) on a double: the exact square rounded to double."""
    d = np.float64(d)
    return np.float64(d * d)


def nan_or_equal(a, b):
    """The stop test's equality: a NaN on either side counts as equal."""
    return bool(np.isnan(a) or np.isnan(b) or a == b)


class Fit:
    """The fit state: measurement, frequency, point, model outputs and the
    simplex, whose three indexes persist from one fit to the next."""

    def __init__(self):
        self.frequency_mhz = np.float64(0.0)
        self.permittivity = np.float32(0.0)
        self.conductivity_ms = np.float32(0.0)
        self.eval_hz = np.float64(0.0)
        self.x = np.float64(0.0)
        self.y = np.float64(0.0)
        self.model_permittivity = np.float32(0.0)
        self.model_conductivity = np.float32(0.0)
        self.vertices = [(np.float64(0.0), np.float64(0.0))] * 3
        self.values = [np.float64(0.0)] * 3
        self.best, self.middle, self.worst = 0, 1, 2
        self.last_trial = np.float64(0.0)
        self.reset_counters()

    def reset_counters(self):
        self.passes = self.evaluations = 0
        self.expansions = self.contractions = self.shrinks = 0

    # The main loop's conversions of one measurement.
    def start(self, frequency_mhz, permittivity, conductivity_ms):
        self.frequency_mhz = np.float64(frequency_mhz)
        self.permittivity = np.float32(permittivity)
        self.conductivity_ms = np.float32(conductivity_ms)
        self.eval_hz = to_double(ext(MHZ_TO_HZ) * ext(self.frequency_mhz))
        self.x = to_double(ext(self.conductivity_ms) * ext(START_CONDUCTIVITY_FACTOR))
        self.y = to_double(ext(self.permittivity) * ext(START_PERMITTIVITY_FACTOR))

    def set_band(self, band_single):
        self.eval_hz = to_double(ext(band_single) * ext(MHZ_TO_HZ))

    def evaluate(self):
        f, x, y = ext(self.eval_hz), ext(self.x), ext(self.y)
        s = np.sqrt(y * f * ext(FOUR_PI) / x)
        self.model_conductivity = to_single((s + L(1.0)) * x * ext(S_TO_MS))
        a = y / ext(EPS0)
        s = np.sqrt(x / (y * f * ext(PI)))
        self.model_permittivity = to_single((s + L(1.0)) * a)
        dp = to_double(ext(self.model_permittivity) - ext(self.permittivity))
        permittivity_term = square(dp)
        dc = to_double(ext(self.model_conductivity) - ext(self.conductivity_ms))
        conductivity_term = square(dc)
        return to_double(ext(permittivity_term) + ext(conductivity_term))

    def skin_depth_ft(self, permittivity, conductivity_ms):
        er = ext(np.float32(permittivity))
        w = to_single(ext(TWO_PI) * ext(self.eval_hz))
        c = to_single(ext(np.float32(conductivity_ms)) * ext(MS_TO_S))
        t = to_single(ext(c) * ext(INV_EPS0) / (er * ext(w)))
        s = np.sqrt(ext(t) * ext(t) + L(1.0)) - L(1.0)
        r = np.sqrt(er * s * ext(HALF_MU0_EPS0))
        return to_single(ext(FEET_PER_METRE) / (ext(w) * r))

    def counted_evaluation(self):
        self.evaluations += 1
        return self.evaluate()

    def try_step(self, a, b):
        a, b = ext(np.float32(a)), ext(np.float32(b))
        vb, vm, vw = (self.vertices[i] for i in (self.best, self.middle, self.worst))
        self.x = to_double(b * (ext(vm[0]) + ext(vb[0])) + a * ext(vw[0]))
        self.y = to_double(b * (ext(vm[1]) + ext(vb[1])) + a * ext(vw[1]))
        t = self.counted_evaluation()
        self.last_trial = t
        if self.values[self.worst] > t:
            self.vertices[self.worst] = (self.x, self.y)
            self.values[self.worst] = t
            return 0
        return -1

    def order(self):
        v = self.values
        if not v[self.middle] >= v[self.best]:
            self.best, self.middle = self.middle, self.best
        if not v[self.worst] >= v[self.middle]:
            self.middle, self.worst = self.worst, self.middle
        if not v[self.middle] >= v[self.best]:
            self.best, self.middle = self.middle, self.best

    def fit(self):
        self.reset_counters()
        self.y = to_double(ext(1.01) * ext(self.y))
        self.vertices[0] = (self.x, self.y)
        self.values[0] = self.counted_evaluation()
        self.x = to_double(ext(0.99) * ext(self.x))
        self.y = to_double(ext(0.9801980198019802) * ext(self.y))
        self.vertices[1] = (self.x, self.y)
        self.values[1] = self.counted_evaluation()
        self.x = to_double(ext(1.02020202020202) * ext(self.x))
        self.vertices[2] = (self.x, self.y)
        self.values[2] = self.counted_evaluation()
        prev_best = prev_worst = np.float64(0.0)
        while True:
            self.order()
            if nan_or_equal(self.values[self.worst], prev_worst) and nan_or_equal(
                self.values[self.best], prev_best
            ):
                break
            prev_worst = self.values[self.worst]
            prev_best = self.values[self.best]
            self.passes += 1
            self.try_step(-1.0, 1.0)
            if self.values[self.best] >= self.last_trial:
                self.expansions += 1
                self.try_step(2.0, -0.5)
                continue
            if self.values[self.middle] > self.last_trial:
                continue
            self.contractions += 1
            if self.try_step(0.5, 0.25) == 0:
                continue
            self.shrinks += 1
            bx, by = self.vertices[self.best]
            for i in (0, 1, 2):
                if i == self.best:
                    continue
                ix, iy = self.vertices[i]
                self.x = to_double((ext(bx) + ext(ix)) * ext(0.5))
                self.y = to_double((ext(by) + ext(iy)) * ext(0.5))
                self.vertices[i] = (self.x, self.y)
                self.values[i] = self.counted_evaluation()
        self.x, self.y = self.vertices[self.best]


def band_singles():
    return [single_of_double(float(b)) for b in BANDS_MHZ]


def fit_and_bands(fit, measurement):
    """One measurement as the main loop handles it: the fit, the outputs at
    the measured frequency, the reference depth and, per band, the outputs,
    the objective and the relative skin depth."""
    fit.start(*measurement)
    fit.fit()
    fit.evaluate()
    result = {
        "counts": (fit.passes, fit.evaluations, fit.expansions, fit.contractions, fit.shrinks),
        "indexes": (fit.best, fit.middle, fit.worst),
        "point": (fit.x, fit.y),
        "outputs": (fit.model_permittivity, fit.model_conductivity),
    }
    reference = fit.skin_depth_ft(fit.model_permittivity, fit.model_conductivity)
    result["reference_depth"] = reference
    bands = []
    for band in band_singles():
        fit.set_band(band)
        objective = fit.evaluate()
        depth = fit.skin_depth_ft(fit.model_permittivity, fit.model_conductivity)
        relative = to_single(ext(depth) / ext(reference))
        bands.append((fit.model_permittivity, fit.model_conductivity, objective, depth, relative))
    result["bands"] = bands
    return result


# ---- C++ literals -------------------------------------------------------


def hex_double(d):
    return float(np.float64(d)).hex()


def hex_single(f):
    text = float(np.float32(f)).hex()  # exact: a single widens to double without loss
    mantissa, exponent = text.split("p")
    if "." in mantissa:
        mantissa = mantissa.rstrip("0").rstrip(".")
    return mantissa + "p" + exponent + "f"


def print_tables():
    fit = Fit()
    examples = [(10.0, 15.0, 5.0), (28.5, 13.0, 10.0), (7.0, 80.0, 30.0)]
    for m in examples:
        fit = Fit()  # each the first fit of a run
        fit.start(*m)
        print(f"// {m[0]:g} MHz, {m[1]:g}, {m[2]:g} mS/m, first fit of a run")
        print(f"start point: {{{hex_double(fit.x)}, {hex_double(fit.y)}}}")
        print(f"eval_frequency_hz: {hex_double(fit.eval_hz)}")
        r = fit_and_bands(fit, m)
        print("counts passes/evaluations/expansions/contractions/shrinks:", r["counts"])
        print("indexes best/middle/worst:", r["indexes"])
        print(f"point: {{{hex_double(r['point'][0])}, {hex_double(r['point'][1])}}}")
        print(f"outputs: {hex_single(r['outputs'][0])}, {hex_single(r['outputs'][1])}")
        fit.start(*m)
        fit.x, fit.y = r["point"]
        print(f"objective at the measured frequency: {hex_double(fit.evaluate())}")
        print(f"skin depth at the measured frequency: {hex_single(r['reference_depth'])}")
        print("bands {permittivity, conductivity, relative depth} (objective, depth):")
        for b in r["bands"]:
            print(
                f"  {{{hex_single(b[0])}, {hex_single(b[1])}, {hex_single(b[4])}}},"
                f"  // {hex_double(b[2])} {hex_single(b[3])}"
                f"  = {float(b[0]):.9g} {float(b[1]):.9g} {float(b[4]):.9g}"
            )
        if m == examples[0]:
            second = fit_and_bands(fit, m)
            print("second fit of the same measurement right after the first:")
            print("  counts:", second["counts"], "indexes:", second["indexes"])
            print(f"  point: {{{hex_double(second['point'][0])}, {hex_double(second['point'][1])}}}")
            print(f"  outputs: {hex_single(second['outputs'][0])}, {hex_single(second['outputs'][1])}")
        print()


# ---- comparison with the trace tool --------------------------------------


def batch_fields(data):
    """The fields of a batch input as the field reader takes them from a
    redirected stream: blanks end a field and are absorbed together with a
    comma or line end that follows them; a comma, LF or CR LF ends a field,
    so an empty line or two adjacent commas give an empty field.  Quotes and
    the 67-byte field limit are not needed for the inputs compared here."""
    fields, i, n = [], 0, len(data)
    while True:
        while i < n and data[i] in " \t":
            i += 1
        if i >= n:
            return fields
        start = i
        while i < n and data[i] not in " \t,\n\r":
            i += 1
        fields.append(data[start:i])
        while i < n and data[i] in " \t":
            i += 1
        if i < n and data[i] in ",\n":
            i += 1
        elif i < n and data[i] == "\r":
            i += 2 if data[i + 1 : i + 2] == "\n" else 1


def real_or_integer(field):
    """The value of one field as a double: a real (a point, an E or a D
    makes it one; a D exponent is an E) or a decimal or &H/&O/&B integer."""
    if not field.startswith("&") and any(c in field for c in ".EeDd"):
        match = re.match(r"[+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d+)?", field)
        return float(match.group(0).replace("D", "E").replace("d", "e")) if match else 0.0
    if field.startswith("&") and len(field) >= 2:
        radix, digits = {"H": (16, field[2:]), "O": (8, field[2:]), "B": (2, field[2:])}.get(
            field[1].upper(), (8, field[1:])
        )
        value = 0
        for c in digits:
            if not c.isdigit() and c.upper() not in "ABCDEF"[: max(0, radix - 10)]:
                break
            if int(c, 16) >= radix:
                break
            value = value * radix + int(c, 16)
        bits = 32 if len(field) <= 9 else 64
        value &= (1 << bits) - 1
        return float(value - (1 << bits) if value >> (bits - 1) else value)
    match = re.match(r"[+-]?\d+", field)
    return float(int(match.group(0))) if match else 0.0


def read_measurements(path, count):
    fields = batch_fields(open(path, encoding="latin-1").read())
    measurements = []
    for i in range(0, len(fields) - 2, 3):
        frequency = real_or_integer(fields[i])
        # A real is rounded to double and then to single; the integers here
        # are exact as doubles, so both take one path.
        permittivity = single_of_double(real_or_integer(fields[i + 1]))
        conductivity = single_of_double(real_or_integer(fields[i + 2]))
        if frequency > 0.0 and permittivity > 0.0 and conductivity > 0.0:
            measurements.append((np.float64(frequency), permittivity, conductivity))
        if len(measurements) == count:
            break
    return measurements


def bits_double(d):
    return f"{int(np.array([d], dtype=np.float64).view(np.uint64)[0]):016x}"


def bits_single(f):
    return f"{int(np.array([f], dtype=np.float32).view(np.uint32)[0]):08x}"


def trace_line(r):
    """One line as the trace tool prints it."""
    p, e, x, c, s = r["counts"]
    b, m, w = r["indexes"]
    line = (
        f"{p} {e} {x} {c} {s} 0 {b}{m}{w} {bits_double(r['point'][0])} {bits_double(r['point'][1])}"
        f" {bits_single(r['outputs'][0])} {bits_single(r['outputs'][1])}"
    )
    for perm, cond, objective, _, relative in r["bands"]:
        line += f" {bits_single(perm)}{bits_single(cond)}{bits_double(objective)}{bits_single(relative)}"
    return line


def compare(tool, path, count):
    measurements = read_measurements(path, count)
    stdin = "".join(
        f"{bits_double(f)} {bits_single(p)} {bits_single(c)}\n" for f, p, c in measurements
    )
    ours = subprocess.run(
        [tool, "--measurements"], input=stdin, capture_output=True, text=True, check=True
    ).stdout.splitlines()
    fit = Fit()
    expected = [trace_line(fit_and_bands(fit, m)) for m in measurements]
    if len(ours) != len(expected):
        print(f"trace tool printed {len(ours)} lines for {len(expected)} measurements")
        return 1
    differing = [i for i in range(len(expected)) if ours[i] != expected[i]]
    for i in differing[:3]:
        print(f"measurement {i + 1} {measurements[i]} differs:")
        print(f"  reference: {expected[i]}")
        print(f"  model:     {ours[i]}")
    if differing:
        print(f"{len(differing)} of {len(expected)} fits differ from the reference")
        return 1
    print(
        f"{len(expected)} fits of {path}: counters, indexes, points and band values"
        " identical to the reference bit for bit"
    )
    return 0


def main(argv):
    if not is_x87_longdouble():
        info = np.finfo(L)
        print(
            f"skipped: numpy.longdouble here has {info.nmant + 1} significand bits and"
            f" {info.nexp} exponent bits, not the x87 80-bit extended format the reference needs"
        )
        return 77
    if len(argv) == 2 and argv[1] == "tables":
        print_tables()
        return 0
    if len(argv) == 5 and argv[1] == "compare":
        return compare(argv[2], argv[3], int(argv[4]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
