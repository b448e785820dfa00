#!/usr/bin/env python3
"""Works out the expected curve points of the standard families for curves_test.cpp.

Written apart from the C++ code, straight from the formulas and tables of the families, so
that the test compares the program with numbers it did not make. Run it and paste its output
into the table kCases of curves_test.cpp:  python3 tests/families/expected_curves.py
"""
import math

# The test profile (the same as kProfile in curves_test.cpp).
UNITS = [
    dict(top=0.0, bottom=4.0, soil="clay", gamma=6.0, su_top=10.0, su_bottom=30.0,
         eps50=0.02, J=0.5, t_res=0.8),
    dict(top=4.0, bottom=10.0, soil="sand", gamma=9.0, phi=33.0, k=16000.0, beta=0.29,
         f_lim=15.0, Nq=12.0, q_lim=600.0),
    dict(top=10.0, bottom=20.0, soil="clay", gamma=8.0, su_top=15.0, su_bottom=120.0,
         eps50=0.005, J=0.25, t_res=0.9),
]

# (case name, curve, loading, X, D)
CASES = [
    ("soft clay P-y static, pu from depth", "PY", "static", 1.5, 2.0),
    ("soft clay P-y cyclic, reduced near the mudline", "PY", "cyclic", 1.5, 2.0),
    ("stiff clay P-y static, pu = 9 su", "PY", "static", 19.5, 0.5),
    ("stiff clay P-y cyclic, below the reduced zone", "PY", "cyclic", 19.5, 0.5),
    ("sand P-y static, A above 0.9, wedge pu", "PY", "static", 5.0, 2.0),
    ("sand P-y cyclic, wedge pu", "PY", "cyclic", 5.0, 2.0),
    ("sand P-y static, A = 0.9, flow-around pu", "PY", "static", 9.5, 0.5),
    ("soft clay T-z, psi above 1", "TZ", "static", 1.5, 2.0),
    ("stiff clay T-z, psi below 1", "TZ", "static", 19.5, 0.5),
    ("stiff clay T-z, alpha at most 1", "TZ", "static", 10.5, 0.5),
    ("sand T-z, beta s", "TZ", "static", 5.0, 2.0),
    ("sand T-z, f_lim", "TZ", "static", 9.5, 0.5),
    ("clay Q-z", "QZ", "static", 19.5, 0.5),
    ("sand Q-z, Nq s", "QZ", "static", 5.0, 2.0),
    ("sand Q-z, q_lim", "QZ", "static", 9.5, 0.5),
]

CLAY_PY = [0.1, 0.3, 1, 2, 3, 5, 8, 10, 12, 15, 20]
SAND_PY = [0.05, 0.1, 0.2, 0.35, 0.5, 0.75, 1, 1.5, 2, 3, 5]
CLAY_TZ = [0.0016, 0.0031, 0.0057, 0.0080, 0.0100, 0.0150, 0.0200, 0.0300, 0.0500, 0.0750,
           0.1000]
SAND_TZ = [0.25, 0.5, 0.75, 1, 2, 4, 8, 12, 16, 24, 40]
QZ = [0.002, 0.005, 0.013, 0.025, 0.042, 0.060, 0.073, 0.100, 0.150, 0.200, 0.300]


def polyline(table, u):
    """Linear between the table's points, its last value beyond them."""
    for (u0, f0), (u1, f1) in zip(table, table[1:]):
        if u0 <= u <= u1:
            return f0 + (f1 - f0) * (u - u0) / (u1 - u0)
    return table[-1][1]


def at_depth(x):
    s = 0.0
    for u in UNITS:
        if x <= u["bottom"]:
            s += u["gamma"] * (x - u["top"])
            su = 0.0
            if u["soil"] == "clay":
                su = u["su_top"] + (u["su_bottom"] - u["su_top"]) * (x - u["top"]) / (
                    u["bottom"] - u["top"])
            return u, s, su
        s += u["gamma"] * (u["bottom"] - u["top"])
    raise ValueError("below the profile")


def sand_c(phi_deg):
    phi = math.radians(phi_deg)
    alpha = math.radians(phi_deg / 2)
    b = math.radians(45 + phi_deg / 2)
    K0 = 0.4
    Ka = (1 - math.sin(phi)) / (1 + math.sin(phi))
    C1 = (math.tan(b) ** 2 * math.tan(alpha) / math.tan(b - phi)
          + K0 * (math.tan(phi) * math.sin(b) / (math.cos(alpha) * math.tan(b - phi))
                  + math.tan(b) * (math.tan(phi) * math.sin(b) - math.tan(alpha))))
    C2 = math.tan(b) / math.tan(b - phi) - Ka
    C3 = Ka * (math.tan(b) ** 8 - 1) + K0 * math.tan(phi) * math.tan(b) ** 4
    return C1, C2, C3


def py(u, s, su, X, D, loading):
    if u["soil"] == "clay":
        pu = min(3 * su + s + u["J"] * su * X / D, 9 * su)
        yc = 2.5 * u["eps50"] * D
        if loading == "static":
            table = [(0, 0), (0.1, 0.23), (0.3, 0.33), (1.0, 0.50), (3.0, 0.72), (8.0, 1.00)]
        else:
            XR = max(6 * D / (s * D / (X * su) + u["J"]), 2.5 * D)
            r = min(1.0, X / XR)
            table = [(0, 0), (0.1, 0.23), (0.3, 0.33), (1.0, 0.50), (3.0, 0.72),
                     (15.0, 0.72 * r)]
        pts = [(q * yc, polyline(table, q) * pu) for q in CLAY_PY]
        return pu, pts, pu
    C1, C2, C3 = sand_c(u["phi"])
    pu = min((C1 * X + C2 * D) * s, C3 * D * s)
    A = 0.9 if loading == "cyclic" else max(3.0 - 0.8 * X / D, 0.9)
    yr = A * pu / (u["k"] * X)
    pts = []
    for q in SAND_PY:
        y = q * yr
        p = A * pu * math.tanh(u["k"] * X * y / (A * pu))
        pts.append((y, p / D))
    return A * pu / D, pts, A * pu / D


def tz(u, s, su, X, D):
    if u["soil"] == "clay":
        psi = su / s
        alpha = 0.5 * psi ** -0.5 if psi <= 1 else 0.5 * psi ** -0.25
        alpha = min(alpha, 1.0)
        tmax = alpha * su
        table = [(0, 0), (0.0016, 0.30), (0.0031, 0.50), (0.0057, 0.75), (0.0080, 0.90),
                 (0.0100, 1.00), (0.0200, u["t_res"])]
        pts = [(q * D, polyline(table, q) * tmax) for q in CLAY_TZ]
        return tmax, pts, tmax
    tmax = min(u["beta"] * s, u["f_lim"])
    pts = []
    for m in SAND_TZ:
        z = 0.00254 * m
        pts.append((z, tmax * min(1.0, z / 0.00254)))
    return tmax, pts, tmax


def qz(u, s, su, X, D):
    qmax = 9 * su if u["soil"] == "clay" else min(u["Nq"] * s, u["q_lim"])
    table = [(0, 0), (0.002, 0.25), (0.013, 0.50), (0.042, 0.75), (0.073, 0.90),
             (0.100, 1.00)]
    return qmax, [(q * D, polyline(table, q) * qmax) for q in QZ], 0.0


def main():
    C1, C2, C3 = sand_c(30.0)
    print(f"// C1, C2, C3 at phi 30: {C1!r}, {C2!r}, {C3!r}")
    for name, kind, loading, X, D in CASES:
        u, s, su = at_depth(X)
        if kind == "PY":
            par1, pts, par3 = py(u, s, su, X, D, loading)
        elif kind == "TZ":
            par1, pts, par3 = tz(u, s, su, X, D)
        else:
            par1, pts, par3 = qz(u, s, su, X, D)
        par2 = pts[0][1] / pts[0][0]
        loading_name = "Loading::Static" if loading == "static" else "Loading::Cyclic"
        print(f'    {{"{name}", CurveKind::{kind}, {loading_name}, {X!r}, {D!r},')
        print(f"     {{{par1!r}, {par2!r}, {par3!r}}},")
        print("     {{" + ", ".join(f"{{{y!r}, {p!r}}}" for y, p in pts) + "}}},")


if __name__ == "__main__":
    main()
