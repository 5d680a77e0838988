# SPDX-License-Identifier: MIT
"""The forward model of gndfit's probes, written apart from the program's
inverse: from a model ground to the admittance an analyser sees at the
probe's terminals, and that sweep written in every file form gndfit reads.

The model ground, frequency f in Hz, x in S/m, e relative:
    conductivity(f) = x (1 + sqrt(4 pi f eps0 e / x))
    permittivity(f) = e (1 + sqrt(x / (pi f eps0 e)))
and its complex relative permittivity eps* = eps_r - j sigma / (omega eps0).

Short probe: Y = j omega C0 eps*; behind its fixture, leads of series
inductance L in front of a stray capacitance Cs beside the probe,
Z = j omega L + 1 / (j omega (C0 eps* + Cs)).
Line probe, open at its end: Zin = Zc coth(gamma l), Zc = Z0 / sqrt(eps*),
gamma = j omega sqrt(eps*) / c.

Only the standard library (cmath): numbers are written with repr, which
reads back to the same double.
"""
import cmath
import math

EPS0 = 8.8541878128e-12
C = 299792458.0


def model_ground(f_hz, x, e):
    """(relative permittivity, conductivity in S/m) of the model ground."""
    sigma = x * (1.0 + math.sqrt(4.0 * math.pi * f_hz * EPS0 * e / x))
    eps_r = e * (1.0 + math.sqrt(x / (math.pi * f_hz * EPS0 * e)))
    return eps_r, sigma


def complex_permittivity(f_hz, eps_r, sigma):
    return complex(eps_r, -sigma / (2.0 * math.pi * f_hz * EPS0))


def short_probe_admittance(f_hz, eps, c0):
    return 1j * 2.0 * math.pi * f_hz * c0 * eps


def short_probe_fixture_admittance(f_hz, eps, c0, lead_h, stray_f):
    omega = 2.0 * math.pi * f_hz
    z = 1j * omega * lead_h + 1.0 / (1j * omega * (c0 * eps + stray_f))
    return 1.0 / z


def line_probe_admittance(f_hz, eps, length, z0):
    root = cmath.sqrt(eps)
    zc = z0 / root
    gamma_l = 1j * 2.0 * math.pi * f_hz * root / C * length
    zin = zc * cmath.cosh(gamma_l) / cmath.sinh(gamma_l)
    return 1.0 / zin


# --- the file forms -------------------------------------------------------

UNITS = {"Hz": 1.0, "kHz": 1e3, "MHz": 1e6, "GHz": 1e9}


def _pair(value, fmt):
    if fmt == "RI":
        return value.real, value.imag
    magnitude, angle = abs(value), math.degrees(cmath.phase(value))
    if fmt == "MA":
        return magnitude, angle
    return 20.0 * math.log10(magnitude), angle


def _parameter(y, param, r, normalised):
    """The value a file holds for admittance y."""
    if param == "S":
        return (1.0 - r * y) / (1.0 + r * y)
    if param == "Z":
        return (1.0 / y) / r if normalised else 1.0 / y
    return y * r if normalised else y


def touchstone_1(points, unit="MHz", param="S", fmt="MA", r=50.0, option_line=None,
                 line_end="\n"):
    """points: [(f_hz, admittance)].  option_line overrides the one written
    (the values are still made with unit, param, fmt and r)."""
    lines = ["! made by probe_forward_model.py", option_line or f"# {unit} {param} {fmt} R {r!r}"]
    for f_hz, y in points:
        a, b = _pair(_parameter(y, param, r, True), fmt)
        lines.append(f"{f_hz / UNITS[unit]!r} {a!r} {b!r}")
    return line_end.join(lines) + line_end


def touchstone_2(points, unit="MHz", param="S", fmt="RI", r=50.0, reference=None, line_end="\n"):
    """Version 2.0: Z and Y in ohms and siemens; S to `reference` (from
    [Reference]) when given, otherwise to the option line's R."""
    lines = ["[Version] 2.0", f"# {unit} {param} {fmt} R {r!r}", "[Number of Ports] 1",
             f"[Number of Frequencies] {len(points)}"]
    if reference is not None:
        lines.append(f"[Reference] {reference!r}")
    lines.append("[Network Data]")
    for f_hz, y in points:
        a, b = _pair(_parameter(y, param, reference or r, False), fmt)
        lines.append(f"{f_hz / UNITS[unit]!r} {a!r} {b!r}")
    lines.append("[End]")
    return line_end.join(lines) + line_end


def rx_csv(points, separator=",", header=True, decimal_comma=False, line_end="\n"):
    def number(v):
        text = repr(v)
        return text.replace(".", ",") if decimal_comma else text

    lines = [separator.join(["Frequency (MHz)", "R (ohm)", "X (ohm)"])] if header else []
    for f_hz, y in points:
        z = 1.0 / y
        lines.append(separator.join(number(v) for v in (f_hz / 1e6, z.real, z.imag)))
    return line_end.join(lines) + line_end


# Every form, by a file name's ending: (suffix, function of points).
def all_forms(points):
    return {
        "s-ma.s1p": touchstone_1(points, "MHz", "S", "MA"),
        "s-db-ghz.s1p": touchstone_1(points, "GHz", "S", "DB"),
        "s-ri-hz.s1p": touchstone_1(points, "Hz", "S", "RI", 75.0),
        "z-ri-khz.s1p": touchstone_1(points, "kHz", "Z", "RI", 50.0),
        "z-ma.s1p": touchstone_1(points, "MHz", "Z", "MA", 1.0, option_line="# mhz ma z r 1"),
        "y-ri.s1p": touchstone_1(points, "MHz", "Y", "RI", 75.0, line_end="\r\n"),
        "default-options.s1p": touchstone_1(points, "GHz", "S", "MA", 50.0, option_line="#"),
        "v2-s-ri.ts": touchstone_2(points, "MHz", "S", "RI", 50.0, reference=75.0),
        "v2-z-ri.ts": touchstone_2(points, "kHz", "Z", "RI", 50.0, line_end="\r\n"),
        "v2-y-ma.ts": touchstone_2(points, "GHz", "Y", "MA", 50.0),
        "rx-comma.csv": rx_csv(points, ","),
        "rx-comma-no-header.csv": rx_csv(points, ",", header=False),
        "rx-semicolon.csv": rx_csv(points, ";", decimal_comma=True, line_end="\r\n"),
        "rx-tab.csv": rx_csv(points, "\t"),
    }
