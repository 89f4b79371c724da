#!/usr/bin/env python3
"""Prints converged/sat_temperature_fit.h, the table of the converged
saturation temperature: the temperature [K] on the saturation line as a
polynomial of degree 8 in u on [-1, 1], interpolated at the Chebyshev nodes,
on each eighth q = 0 ... 7 of each binary octave p = m 2^e, 0.5 <= m < 1,
e = 10 ... 25 (m from 0.5 + q/16, u = 32 (m - 0.5) - 2 q - 1), below
18.9 MPa (e = 25, q = 1); from there each eighth is cut into 32 (m from
0.5625 + k/512, u = 1024 (m - 0.5625) - 2 k - 1), up to the part that holds
the critical point. The root of the K function is found by bisection
in plain floats. Each row is evaluated as the program does (Horner in
doubles) at 81 points against the root: the rows within `trusted` K of it
need no Newton step; the first row that is not (near the critical point,
where the K function bends within 0.05 K of it) is printed on stderr, with
each row's deviation."""
import math
import sys

K = [-7.691234564, -26.08023696, -168.1706546, 64.23285504, -118.9646225,
     4.16711732, 20.9750676, 1e9, 6.0]
CRITICAL_P = 2.212e7
DEGREE = 8
EIGHTHS = 8
SUBROWS = 64  # two eighths' parts, as far as the critical point
# A start within 2e-12 K meets p within 1e-12 relative where the saturation
# pressure is steepest (d ln p / dT = 0.073 / K at 0 degC), with room.
trusted = 2e-12


def sat_pressure(T):
    theta = T / 647.3
    tau = 1 - theta
    poly = tau * (K[0] + tau * (K[1] + tau * (K[2] + tau * (K[3] + tau * K[4]))))
    E = poly / (theta * (1 + K[5] * tau + K[6] * tau * tau)) - tau / (K[7] * tau * tau + K[8])
    return CRITICAL_P * math.exp(E)


def sat_temperature(p):
    lo, hi = 250.0, 647.3
    for _ in range(64):  # below the spacing of doubles from a 400 K bracket
        mid = 0.5 * (lo + hi)
        lo, hi = (mid, hi) if sat_pressure(mid) < p else (lo, mid)
    return 0.5 * (lo + hi)


def fit(pressure):
    """Monomial coefficients in u of the interpolant at the Chebyshev nodes."""
    n = DEGREE + 1
    cheb = [[1.0], [0.0, 1.0]]  # Chebyshev polynomials as monomial coefficients
    for i in range(2, n):
        a = [0.0] + [2 * x for x in cheb[i - 1]]
        b = cheb[i - 2] + [0.0] * (len(a) - len(cheb[i - 2]))
        cheb.append([x - y for x, y in zip(a, b)])
    nodes = [math.cos(math.pi * (j + 0.5) / n) for j in range(n)]
    values = [sat_temperature(pressure(u)) for u in nodes]
    c = [2.0 / n * sum(values[j] * math.cos(math.pi * i * (j + 0.5) / n) for j in range(n))
         for i in range(n)]
    c[0] /= 2
    mono = [0.0] * n
    for i in range(n):
        for j, t in enumerate(cheb[i]):
            mono[j] += c[i] * t
    return mono


def deviation(mono, pressure):
    worst = 0.0
    for i in range(81):
        u = -1 + i / 40
        p = pressure(u)
        if 611 <= p <= CRITICAL_P:
            T = 0.0
            for cm in reversed(mono):
                T = T * u + cm
            worst = max(worst, abs(T - sat_temperature(p)))
    return worst

HEAD = f"""// The saturation temperature's table, as scripts/fit-sat-temperature.py
// prints it (its text says how each row is fitted and checked): T [K] as a
// polynomial of degree {DEGREE} in u, the coefficients from u^0 up. Rows from
// sat_fit_newton_row on lie within 0.38 K of the critical point and are
// starts for Newton's method; the others are within {trusted:g} K of the root.
#pragma once

// clang-format off
constexpr int sat_fit_degree = {DEGREE};
constexpr int sat_fit_first_octave = 10;  // 512 Pa
constexpr int sat_fit_eighths = {EIGHTHS};
// From here on the rows are the 512ths of m from 0.5625 (at 2^25 Pa).
constexpr int sat_fit_parts_row = (25 - sat_fit_first_octave) * sat_fit_eighths + 1;
constexpr double sat_fit[][sat_fit_degree + 1] = {{"""


def main():
    rows = []
    for e in range(10, 26):
        for q in range(EIGHTHS):
            if (e, q) == (25, 1):
                break
            rows.append((f"octave {e} eighth {q}",
                         lambda u, e=e, q=q: (0.5 + (q + (u + 1) / 2) / (2 * EIGHTHS)) * 2 ** e))
    for k in range(SUBROWS):
        pressure = lambda u, k=k: (0.5625 + (k + (u + 1) / 2) / 512) * 2 ** 25
        rows.append((f"top eighths part {k}", pressure))
        if pressure(1) > CRITICAL_P:
            break
    first_untrusted = None
    print(HEAD)
    for i, (name, pressure) in enumerate(rows):
        mono = fit(pressure)
        worst = deviation(mono, pressure)
        if worst > trusted and first_untrusted is None:
            first_untrusted = i
        print(f"row {i} ({name}): within {worst:.2e} K", file=sys.stderr)
        print("    {" + ", ".join(f"{x:.17g}" for x in mono) + "},")
    print("};")
    print(f"constexpr int sat_fit_newton_row = {first_untrusted};")
    print("// clang-format on")
    print(f"{len(rows)} rows, the first beyond {trusted:g} K: {first_untrusted}", file=sys.stderr)


main()
